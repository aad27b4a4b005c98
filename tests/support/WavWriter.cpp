#include "tests/support/WavWriter.h"

#include <cmath>
#include <cstring>
#include <fstream>

namespace test {

void PutLE(Bytes& b, uint64_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

Bytes FormatBody(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits, uint16_t blockAlign, bool withExtra,
                 uint16_t extra) {
  Bytes b;
  if (blockAlign == 0) blockAlign = static_cast<uint16_t>(channels * ((bits + 7) / 8));
  PutLE(b, tag, 2);
  PutLE(b, channels, 2);
  PutLE(b, rate, 4);
  PutLE(b, uint64_t(rate) * blockAlign, 4);
  PutLE(b, blockAlign, 2);
  PutLE(b, bits, 2);
  if (withExtra) PutLE(b, extra, 2);
  return b;
}

Bytes ExtensibleBody(uint32_t subTag, uint16_t channels, uint32_t rate, uint16_t bits) {
  Bytes b = FormatBody(0xFFFE, channels, rate, bits, 0, true, 22);
  PutLE(b, bits, 2);  // valid bits
  PutLE(b, 0, 4);     // channel mask
  PutLE(b, subTag, 4);
  const uint8_t tail[12] = {0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
  b.insert(b.end(), tail, tail + 12);
  return b;
}

Bytes Chunk(const char* id, const Bytes& body, int64_t declaredSize) {
  Bytes b(id, id + 4);
  PutLE(b, declaredSize < 0 ? body.size() : static_cast<uint64_t>(declaredSize), 4);
  b.insert(b.end(), body.begin(), body.end());
  if (body.size() & 1) b.push_back(0);
  return b;
}

Bytes Riff(const std::vector<Bytes>& chunks) {
  Bytes inner = {'W', 'A', 'V', 'E'};
  for (const Bytes& c : chunks) inner.insert(inner.end(), c.begin(), c.end());
  Bytes b = {'R', 'I', 'F', 'F'};
  PutLE(b, inner.size(), 4);
  b.insert(b.end(), inner.begin(), inner.end());
  return b;
}

Bytes PcmData(const std::vector<int32_t>& samples, int bits) {
  Bytes b;
  for (int32_t s : samples) {
    if (bits == 8)
      b.push_back(static_cast<uint8_t>(s));
    else
      PutLE(b, static_cast<uint32_t>(s), bits / 8);
  }
  return b;
}

Bytes FloatData(const std::vector<float>& samples) {
  Bytes b;
  for (float f : samples) {
    uint32_t u;
    std::memcpy(&u, &f, 4);
    PutLE(b, u, 4);
  }
  return b;
}

std::vector<int32_t> PcmSine(int frames, int channels, int bits, double step) {
  std::vector<int32_t> s;
  const double full = std::ldexp(1.0, bits - 1) - 1;
  for (int f = 0; f < frames; ++f)
    for (int c = 0; c < channels; ++c) {
      const double v = std::sin(step * f * (c + 1)) * full;
      s.push_back(bits == 8 ? static_cast<int32_t>(v) + 128 : static_cast<int32_t>(v));
    }
  return s;
}

Bytes PcmWav(const std::vector<int32_t>& interleaved, int channels, int rate, int bits) {
  return Riff({Chunk("fmt ", FormatBody(1, static_cast<uint16_t>(channels), static_cast<uint32_t>(rate),
                                        static_cast<uint16_t>(bits))),
               Chunk("data", PcmData(interleaved, bits))});
}

bool WriteFile(const std::string& path, const Bytes& bytes) {
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(f);
}

}  // namespace test
