// Helpers for the MP3 tests: WAV wrapping of MP3 streams, the command-line
// oracles (sox makes signals, lame encodes, mpg123 decodes the reference),
// synthetic frames and decoding a whole source.
#pragma once

#include <string>
#include <vector>

#include "soundfile/SoundSource.h"
#include "tests/support/SourceReader.h"
#include "tests/support/WavWriter.h"

namespace test {

// A RIFF/WAVE file carrying the MP3 stream in its data chunk: format tag
// 0x55 with the MPEG Layer III extra fields and a fact chunk.
Bytes WrapMp3InWav(const Bytes& mp3, int rate, int channels, int bitRate, int samples);

bool HaveTools();  // sox, lame and mpg123 are all on the PATH
bool Run(const std::string& command);
Bytes ReadBytes(const std::string& path);

// Encodes a test signal: kind "sweep" (tones and a sweep) or "clicks"
// (short bursts that make lame switch to short blocks).
bool EncodeSignal(const std::string& dir, const std::string& kind, int rate, int channels, const std::string& lameArgs,
                  const std::string& mp3Path);
// mpg123's decode of every frame (no gapless trimming) as 32-bit floats.
std::vector<float> ReferenceDecode(const std::string& mp3Path, const std::string& dir);

struct Accuracy {
  double maxAbs = 0.0, rms = 0.0, signalRms = 0.0;  // fractions of full scale
};
// Our samples (full scale 524288) against the reference (full scale 1.0).
Accuracy Compare(const std::vector<int>& ours, const std::vector<float>& reference);

// One MPEG-1 Layer III frame header (no CRC) and a frame of silence: zero
// side information and main data.
Bytes FrameHeader(int bitRateIndex, int freqIndex, bool padding, int channelMode, int versionId = 3);
Bytes SilentFrame(int bitRateIndex, int freqIndex, bool padding, int channelMode, int versionId = 3);
// A silent frame holding a Xing tag with the frame count and a LAME
// extension with the encoder delay and end padding.
Bytes XingFrame(int frames, int delay, int padding);

}  // namespace test
