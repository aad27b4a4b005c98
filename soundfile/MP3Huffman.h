// Bit reading and the Huffman decoding of Layer III spectral values
// (11172-3 2.4.3.4.6 and Annex B Table B.7).
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

// Reads big-endian bit fields from a byte block. Bits past the end read as
// zeros, so corrupt lengths never reach outside the block.
class LMP3BitReader {
 public:
  LMP3BitReader(const uint8_t* data, int bytes) : m_data(data), m_bits(int64_t(bytes) * 8) {}
  // Up to 24 bits.
  unsigned Read(int bits) {
    if (bits <= 0) return 0;
    const unsigned v = Peek32() >> (32 - bits);
    m_pos += bits;
    return v;
  }
  bool ReadBit() { return Read(1) != 0; }
  // The next 32 bits, from the current position on.
  uint32_t Peek32() const { return static_cast<uint32_t>(PeekLong() >> 32); }
  // The next 57 bits (at least), from the current position on, at the top.
  uint64_t PeekLong() const {
    if (m_pos < 0) return 0;
    const int64_t byte = m_pos >> 3;
    if ((byte + 8) * 8 > m_bits) return PeekLongNear(byte);
    uint64_t word;
    std::memcpy(&word, m_data + byte, sizeof word);
    if constexpr (std::endian::native == std::endian::little) word = __builtin_bswap64(word);
    return word << (m_pos & 7);
  }
  void Skip(int bits) { m_pos += bits; }
  int64_t GetPosition() const { return m_pos; }
  void SetPosition(int64_t bit) { m_pos = bit; }

 private:
  // PeekLong within eight bytes of the end, where the bytes past it read as zeros.
  uint64_t PeekLongNear(int64_t byte) const;

  const uint8_t* m_data;
  int64_t m_bits;
  int64_t m_pos = 0;
};

// The side information of one granule and channel that the spectrum
// decoding needs, in lines (not pairs) and bits.
struct LMP3SpectrumLayout {
  int bigValueLines;  // lines coded in pairs, at most 576
  int region1Start;   // first line of region 1
  int region2Start;   // first line of region 2
  int tables[3];      // pair table per region
  bool count1TableB;  // count1table_select
  int64_t endBit;     // first bit after this granule's part2_3 data
};

// Builds the process-wide decoding trees if not yet built; sources call it
// when they open, so that no decoding thread ever allocates them.
void LMP3PrepareHuffmanTrees();

// Decodes the big-values and count-1 regions into quantised values (sign
// included); returns the number of lines decoded, the rest set to zero.
int LMP3DecodeSpectrum(LMP3BitReader& bits, const LMP3SpectrumLayout& layout, int values[576]);
