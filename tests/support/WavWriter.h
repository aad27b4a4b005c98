// Builds WAV files byte by byte for tests: any format chunk, any chunk order,
// truncation, so that the opener can be fed good and malformed files alike.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace test {

using Bytes = std::vector<uint8_t>;

void PutLE(Bytes& b, uint64_t v, int bytes);

// A "fmt " chunk body of 16 bytes (18 with cbSize when withExtra).
Bytes FormatBody(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits, uint16_t blockAlign = 0,
                 bool withExtra = false, uint16_t extra = 0);
// A WAVE_FORMAT_EXTENSIBLE body (40 bytes) with the given sub-format tag.
Bytes ExtensibleBody(uint32_t subTag, uint16_t channels, uint32_t rate, uint16_t bits);
// One chunk: id, size (declared, defaults to the body's), body, pad byte when odd.
Bytes Chunk(const char* id, const Bytes& body, int64_t declaredSize = -1);
// RIFF/WAVE around the given chunks.
Bytes Riff(const std::vector<Bytes>& chunks);

// Interleaved full-scale sine samples of bits (8-bit offset to
// unsigned), channel c at (c + 1) times the step in radians per frame.
std::vector<int32_t> PcmSine(int frames, int channels, int bits, double step);

// Integer PCM samples (8, 16, 24 or 32 bits, little-endian, 8-bit unsigned).
Bytes PcmData(const std::vector<int32_t>& samples, int bits);
Bytes FloatData(const std::vector<float>& samples);

// A plain PCM WAV file image.
Bytes PcmWav(const std::vector<int32_t>& interleaved, int channels, int rate, int bits);

bool WriteFile(const std::string& path, const Bytes& bytes);

}  // namespace test
