#include "soundfile/MP3Huffman.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "soundfile/MP3HuffmanTables.h"

uint64_t LMP3BitReader::PeekLongNear(int64_t byte) const {
  uint64_t word = 0;
  for (int i = 0; i < 8; ++i) {
    word <<= 8;
    if ((byte + i) * 8 < m_bits) word |= m_data[byte + i];
  }
  return word << (m_pos & 7);
}

namespace {

// A decoding tree: node n has children tree[n].next[bit]; a child below zero
// is the leaf ~value, a child of 0 (the root) an unused code.
struct LHuffNode {
  int16_t next[2];
};

std::vector<LHuffNode> BuildTree(const uint16_t* codes, const uint8_t* lengths, int count) {
  std::vector<LHuffNode> nodes{{{0, 0}}};
  for (int v = 0; v < count; ++v) {
    int node = 0;
    for (int i = lengths[v] - 1; i >= 0; --i) {
      const int bit = (codes[v] >> i) & 1;
      int16_t& child = nodes[static_cast<size_t>(node)].next[bit];
      if (i == 0) {
        child = static_cast<int16_t>(~v);
        break;
      }
      if (child <= 0) {
        child = static_cast<int16_t>(nodes.size());
        nodes.push_back({{0, 0}});
      }
      node = nodes[static_cast<size_t>(node)].next[bit];
    }
  }
  return nodes;
}

// One step of a table decode. A leaf: the value and the code bits used at
// this level. A link: the bits of this level, and the next table at value
// indexed by the following `next` bits.
struct LHuffEntry {
  uint16_t value;
  uint8_t bits;
  uint8_t next;  // 0 for a leaf
};

// Multi-level lookup tables made from a tree: a code is read up to eight
// bits at a time instead of one. A walk ends where the tree walk would: at a
// leaf, or at an unused code (value 0, its bits consumed).
class LHuffTable {
 public:
  static constexpr int kLevelBits = 8;

  LHuffTable() = default;
  LHuffTable(const uint16_t* codes, const uint8_t* lengths, int count, int size) {
    const std::vector<LHuffNode> tree = BuildTree(codes, lengths, count);
    m_rootBits = std::min(Depth(tree, 0), kLevelBits);
    m_entries.resize(size_t{1} << m_rootBits);
    Fill(tree, 0, m_rootBits, 0, size);
  }
  // Decodes the code at the top of word; used gets its length.
  int Decode(uint32_t word, int& used) const {
    const LHuffEntry* e = &m_entries[word >> (32 - m_rootBits)];
    used = 0;
    while (e->next != 0) {
      used += e->bits;
      word <<= e->bits;
      e = &m_entries[e->value + (word >> (32 - e->next))];
    }
    used += e->bits;
    return e->value;
  }

 private:
  static int Depth(const std::vector<LHuffNode>& tree, int node) {
    int deepest = 0;
    for (const int16_t child : tree[static_cast<size_t>(node)].next)
      deepest = std::max(deepest, 1 + (child > 0 ? Depth(tree, child) : 0));
    return deepest;
  }
  // The table of the subtree at node, indexed by its next indexBits bits. A
  // pair's value (x * size + y) is stored as x * 16 + y.
  void Fill(const std::vector<LHuffNode>& tree, int node, int indexBits, size_t start, int size) {
    for (uint32_t index = 0; index < (1u << indexBits); ++index) {
      int n = node;
      LHuffEntry entry{0, 0, 0};
      for (int depth = 1; depth <= indexBits; ++depth) {
        const int child = tree[static_cast<size_t>(n)].next[(index >> (indexBits - depth)) & 1];
        if (child <= 0) {
          const int v = child < 0 ? ~child : 0;
          entry = {static_cast<uint16_t>(size > 0 ? v / size * 16 + v % size : v), static_cast<uint8_t>(depth), 0};
          break;
        }
        n = child;
      }
      if (entry.bits == 0) {
        const int bits = std::min(Depth(tree, n), kLevelBits);
        const size_t sub = m_entries.size();
        m_entries.resize(sub + (size_t{1} << bits));
        Fill(tree, n, bits, sub, size);
        entry = {static_cast<uint16_t>(sub), static_cast<uint8_t>(indexBits), static_cast<uint8_t>(bits)};
      }
      m_entries[start + index] = entry;
    }
  }

  std::vector<LHuffEntry> m_entries;
  int m_rootBits = 0;
};

// A quadruple with its signs: a code of at most six bits and up to four
// sign bits, so ten bits of look-ahead decide all of it.
struct LQuadEntry {
  int16_t values[4];
  uint8_t bits;
};

struct LHuffTables {
  static constexpr int kQuadBits = 10;
  LHuffTable pairs[32];
  LQuadEntry quads[2][1 << kQuadBits];  // count1table_select A, B
  LHuffTables() {
    for (int t = 0; t < 32; ++t) {
      const mp3huff::PairTable& p = mp3huff::kPairTables[t];
      if (p.size > 0) pairs[t] = LHuffTable(p.codes, p.lengths, p.size * p.size, p.size);
    }
    FillQuads(LHuffTable(mp3huff::kCodeQuadA, mp3huff::kLenQuadA, 16, 0), quads[0]);
    FillQuads(LHuffTable(mp3huff::kCodeQuadB, mp3huff::kLenQuadB, 16, 0), quads[1]);
  }
  static void FillQuads(const LHuffTable& table, LQuadEntry* entries) {
    for (uint32_t index = 0; index < (1u << kQuadBits); ++index) {
      uint32_t word = index << (32 - kQuadBits);
      int used = 0;
      const int vwxy = table.Decode(word, used);
      word <<= used;
      LQuadEntry& e = entries[index];
      for (int k = 0; k < 4; ++k) {
        const bool present = (vwxy >> (3 - k)) & 1;
        e.values[k] = static_cast<int16_t>(!present ? 0 : word >> 31 ? -1 : 1);
        if (present) word <<= 1, ++used;
      }
      e.bits = static_cast<uint8_t>(used);
    }
  }
};

// Built once, on first use, and shared by every decoder.
const LHuffTables& Tables() {
  static const LHuffTables tables;
  return tables;
}

int WithSign(LMP3BitReader& bits, int magnitude) { return magnitude != 0 && bits.ReadBit() ? -magnitude : magnitude; }

// One value of a pair: escape to linbits at 15, then the sign.
int PairValue(LMP3BitReader& bits, int v, int linbits) {
  if (v == 15 && linbits > 0) v += static_cast<int>(bits.Read(linbits));
  return WithSign(bits, v);
}

// The sign bit at the top of word applied to a non-zero magnitude, which
// then consumes it; without branches, as signs are random.
int TakeSign(uint64_t& word, int& used, int magnitude) {
  const int present = magnitude != 0;
  const int negative = static_cast<int>(word >> 63) & present;
  word <<= present;
  used += present;
  return (magnitude ^ -negative) + negative;
}

// One pair from the top of word, its code (at most 19 bits) and signs
// consumed; false, with nothing consumed, when the pair has an escape.
[[gnu::always_inline]] inline bool ShortPair(const LHuffTable& table, bool escapes, uint64_t& word, int& used, int* out) {
  int length = 0;
  const int xy = table.Decode(static_cast<uint32_t>(word >> 32), length);
  const int x = xy >> 4, y = xy & 15;
  if (escapes && (x == 15 || y == 15)) return false;
  word <<= length;
  used += length;
  out[0] = TakeSign(word, used, x);
  out[1] = TakeSign(word, used, y);
  return true;
}

// Pairs from line i to end. Two pairs without escapes (at most 42 bits)
// come from one look-ahead of 57 bits.
int DecodePairs(LMP3BitReader& bits, const LHuffTable& table, int linbits, int i, int end, int values[576]) {
  while (i < end) {  // region starts are even
    uint64_t word = bits.PeekLong();
    int used = 0;
    const bool plain = ShortPair(table, linbits > 0, word, used, values + i);
    if (plain && (i += 2) < end && ShortPair(table, linbits > 0, word, used, values + i)) i += 2;
    bits.Skip(used);
    if (plain) continue;
    int length = 0;
    const int xy = table.Decode(bits.Peek32(), length);
    bits.Skip(length);
    values[i] = PairValue(bits, xy >> 4, linbits);
    values[i + 1] = PairValue(bits, xy & 15, linbits);
    i += 2;
  }
  return i;
}

// Count-1 region: quadruples until the part2_3 bits are used up (line 572
// is the last start that fits), five (at most 50 bits) to a look-ahead. A
// quadruple that overran the end was stuffing and is dropped (11172-3
// 2.4.3.4.6). Returns the line after the last quadruple kept.
int DecodeQuads(LMP3BitReader& bits, const LQuadEntry* quads, int64_t endBit, int i, int values[576]) {
  while (i + 4 <= 576 && bits.GetPosition() < endBit) {
    uint64_t word = bits.PeekLong();
    int used = 0;
    bool overran = false;
    for (int q = 0; q < 5 && i + 4 <= 576 && bits.GetPosition() + used < endBit; ++q) {
      const LQuadEntry& e = quads[word >> (64 - LHuffTables::kQuadBits)];
      for (int k = 0; k < 4; ++k) values[i + k] = e.values[k];
      word <<= e.bits;
      used += e.bits;
      overran = bits.GetPosition() + used > endBit;
      if (overran) break;
      i += 4;
    }
    bits.Skip(used);
    if (overran) break;
  }
  return i;
}

}  // namespace

void LMP3PrepareHuffmanTrees() { Tables(); }

int LMP3DecodeSpectrum(LMP3BitReader& bits, const LMP3SpectrumLayout& layout, int values[576]) {
  const LHuffTables& tables = Tables();
  const int bigEnd = std::clamp(layout.bigValueLines & ~1, 0, 576);
  int i = 0;
  for (int region = 0; region < 3; ++region) {
    const int regionEnd = region == 0   ? std::min(layout.region1Start, bigEnd)
                          : region == 1 ? std::min(layout.region2Start, bigEnd)
                                        : bigEnd;
    const int table = layout.tables[region] & 31;
    const mp3huff::PairTable& p = mp3huff::kPairTables[table];
    if (p.size == 0) {
      for (; i < regionEnd; ++i) values[i] = 0;
      continue;
    }
    i = DecodePairs(bits, tables.pairs[table], p.linbits, i, regionEnd, values);
  }
  i = DecodeQuads(bits, tables.quads[layout.count1TableB ? 1 : 0], layout.endBit, i, values);
  std::memset(values + i, 0, sizeof(int) * static_cast<size_t>(576 - i));
  return i;
}
