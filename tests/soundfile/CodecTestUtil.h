// Shared by the compressed-format reader tests: generated test signals, the
// sox reference codec, and reading a whole source in blocks of a given size.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "soundfile/SoundSource.h"
#include "tests/support/TempDir.h"
#include "tests/support/WavWriter.h"

namespace test {

enum class Signal { Sweep, Clicks, Noise, Silence, Square, Speech };
const char* SignalName(Signal s);
// 16-bit mono samples of the given kind; all but Square stay below -6 dBFS.
std::vector<int32_t> MakeSignal(Signal s, int rate, int frames);

// True when the sox command-line tool can be run.
bool HaveSox();
// Runs sox with the arguments (paths quoted by the caller); true on success.
bool RunSox(const std::string& args);
// sox's decode of a file to 16-bit mono, x 16 (internal units); empty on failure.
std::vector<int> SoxDecode(const std::string& path);

// Opens a file through the WAV opener.
LSoundSource OpenWav(const std::string& path);
// Reads frames frames (default: to the source's end) in requests of block
// frames; mono only.
std::vector<int> ReadAll(LSoundSource& source, int block, int frames = -1);

// A WAV image with one format chunk and one data chunk; a negative
// declaredData writes the data size as the data's length.
Bytes CodecWav(const Bytes& format, const Bytes& data, int64_t declaredData = -1);

Bytes RandomBytes(size_t n, unsigned seed);

// A temporary folder for a test's files, and sox-encoded test signals in it.
class CodecFileTest : public ::testing::Test {
 protected:
  std::string Write(const std::string& name, const Bytes& wav);
  // sox's encoding ("ima-adpcm", "gsm-full-rate") of a generated signal, as WAV.
  std::string SoxEncode(Signal s, int rate, int frames, const std::string& encoding);
  TempDir m_dir;
};

}  // namespace test
