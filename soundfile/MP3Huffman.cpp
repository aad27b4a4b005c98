#include "soundfile/MP3Huffman.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "soundfile/MP3HuffmanTables.h"

uint32_t LMP3BitReader::Peek32() const {
  if (m_pos < 0) return 0;
  const int64_t byte = m_pos >> 3;
  uint64_t word = 0;
  if ((byte + 5) * 8 <= m_bits) {
    const uint8_t* p = m_data + byte;
    word = uint64_t(p[0]) << 32 | uint64_t(p[1]) << 24 | uint64_t(p[2]) << 16 | uint64_t(p[3]) << 8 | p[4];
  } else {
    for (int i = 0; i < 5; ++i) {
      word <<= 8;
      if ((byte + i) * 8 < m_bits) word |= m_data[byte + i];
    }
  }
  return static_cast<uint32_t>(word >> (8 - (m_pos & 7)));
}

namespace {

// A decoding tree: node n has children tree[n].next[bit]; a child below zero
// is the leaf ~value.
struct LHuffNode {
  int16_t next[2];
};

class LHuffTree {
 public:
  LHuffTree() = default;
  LHuffTree(const uint16_t* codes, const uint8_t* lengths, int count) {
    m_nodes.push_back({{0, 0}});
    for (int v = 0; v < count; ++v) Insert(codes[v], lengths[v], v);
  }
  // Walks the tree with the bits at the reader's position; consumes the code.
  int Decode(LMP3BitReader& bits) const {
    uint32_t word = bits.Peek32();
    int node = 0;
    for (int used = 1; used <= 24; ++used, word <<= 1) {
      const int next = m_nodes[static_cast<size_t>(node)].next[word >> 31];
      if (next <= 0) {
        bits.Skip(used);
        return next < 0 ? ~next : 0;
      }
      node = next;
    }
    return 0;
  }

 private:
  void Insert(unsigned code, int length, int value) {
    int node = 0;
    for (int i = length - 1; i >= 0; --i) {
      const int bit = (code >> i) & 1;
      if (i == 0) {
        m_nodes[static_cast<size_t>(node)].next[bit] = static_cast<int16_t>(~value);
        return;
      }
      if (m_nodes[static_cast<size_t>(node)].next[bit] <= 0) {
        const int16_t added = static_cast<int16_t>(m_nodes.size());
        m_nodes.push_back({{0, 0}});
        m_nodes[static_cast<size_t>(node)].next[bit] = added;
      }
      node = m_nodes[static_cast<size_t>(node)].next[bit];
    }
  }
  // Unused children stay 0 (the root): a code not in the table ends at once.
  std::vector<LHuffNode> m_nodes;
};

struct LHuffTrees {
  LHuffTree pairs[32];
  LHuffTree quadA, quadB;
  LHuffTrees() {
    for (int t = 0; t < 32; ++t) {
      const mp3huff::PairTable& p = mp3huff::kPairTables[t];
      if (p.size > 0) pairs[t] = LHuffTree(p.codes, p.lengths, p.size * p.size);
    }
    quadA = LHuffTree(mp3huff::kCodeQuadA, mp3huff::kLenQuadA, 16);
    quadB = LHuffTree(mp3huff::kCodeQuadB, mp3huff::kLenQuadB, 16);
  }
};

// Built once, on first use, and shared by every decoder.
const LHuffTrees& Trees() {
  static const LHuffTrees trees;
  return trees;
}

int WithSign(LMP3BitReader& bits, int magnitude) { return magnitude != 0 && bits.ReadBit() ? -magnitude : magnitude; }

// One value of a pair: escape to linbits at 15, then the sign.
int PairValue(LMP3BitReader& bits, int v, int linbits) {
  if (v == 15 && linbits > 0) v += static_cast<int>(bits.Read(linbits));
  return WithSign(bits, v);
}

}  // namespace

void LMP3PrepareHuffmanTrees() { Trees(); }

int LMP3DecodeSpectrum(LMP3BitReader& bits, const LMP3SpectrumLayout& layout, int values[576]) {
  const LHuffTrees& trees = Trees();
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
    const LHuffTree& tree = trees.pairs[table];
    for (; i < regionEnd; i += 2) {  // region starts are even
      const int xy = tree.Decode(bits);
      values[i] = PairValue(bits, xy / p.size, p.linbits);
      values[i + 1] = PairValue(bits, xy % p.size, p.linbits);
    }
  }
  // Count-1 region: quadruples until the part2_3 bits are used up (line 572
  // is the last start that fits). A quadruple that overran the end was
  // stuffing and is dropped (11172-3 2.4.3.4.6).
  const LHuffTree& quad = layout.count1TableB ? trees.quadB : trees.quadA;
  while (i + 4 <= 576 && bits.GetPosition() < layout.endBit) {
    const int vwxy = quad.Decode(bits);
    values[i] = WithSign(bits, (vwxy >> 3) & 1);
    values[i + 1] = WithSign(bits, (vwxy >> 2) & 1);
    values[i + 2] = WithSign(bits, (vwxy >> 1) & 1);
    values[i + 3] = WithSign(bits, vwxy & 1);
    if (bits.GetPosition() > layout.endBit) break;
    i += 4;
  }
  std::memset(values + i, 0, sizeof(int) * static_cast<size_t>(576 - i));
  return i;
}
