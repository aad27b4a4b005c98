#include "tests/soundfile/MP3TestSupport.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

#include "soundfile/MP3Header.h"

namespace test {

Bytes WrapMp3InWav(const Bytes& mp3, int rate, int channels, int bitRate, int samples) {
  // WAVEFORMATEX followed by MPEGLAYER3WAVEFORMAT's wID, fdwFlags,
  // nBlockSize, nFramesPerBlock and nCodecDelay.
  Bytes format;
  PutLE(format, 0x55, 2);
  PutLE(format, static_cast<uint64_t>(channels), 2);
  PutLE(format, static_cast<uint64_t>(rate), 4);
  PutLE(format, static_cast<uint64_t>(bitRate / 8), 4);
  PutLE(format, 1, 2);   // block align
  PutLE(format, 0, 2);   // bits per sample
  PutLE(format, 12, 2);  // extra bytes
  PutLE(format, 1, 2);   // MPEGLAYER3_ID_MPEG
  PutLE(format, 2, 4);   // MPEGLAYER3_FLAG_PADDING_OFF
  PutLE(format, static_cast<uint64_t>(144 * bitRate / std::max(rate, 1)), 2);
  PutLE(format, 1, 2);
  PutLE(format, 1393, 2);
  Bytes fact;
  PutLE(fact, static_cast<uint64_t>(samples), 4);
  return Riff({Chunk("fmt ", format), Chunk("fact", fact), Chunk("data", mp3)});
}

bool HaveTools() {
  return std::system("command -v sox >/dev/null && command -v lame >/dev/null && command -v mpg123 >/dev/null") == 0;
}

bool Run(const std::string& command) { return std::system(command.c_str()) == 0; }

Bytes ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool EncodeSignal(const std::string& dir, const std::string& kind, int rate, int channels, const std::string& lameArgs,
                  const std::string& mp3Path) {
  const std::string wav = dir + "/signal.wav";
  const std::string format = " -r " + std::to_string(rate) + " -c " + std::to_string(channels) + " -b 16 ";
  // Repeatable (-R): the same dither every run, so the same streams.
  std::string make;
  if (kind == "clicks") {
    // Bursts with silence between them: attacks force short blocks.
    const std::string burst = dir + "/burst.wav";
    make = "sox -R -n" + format + burst + " synth 0.03 sine 2000 fade 0 0.03 0.025 gain -3 pad 0.15 0.15";
    make += " && sox -R " + burst + " " + burst + " " + burst + " " + burst + " " + wav;
  } else {
    // Left and right differ so that joint stereo has work to do.
    make = "sox -R -n" + format + wav + " synth 1.5 sine 300-3000 sine 777 gain -4";
  }
  return Run(make + " 2>/dev/null") && Run("lame --quiet " + lameArgs + " " + wav + " " + mp3Path);
}

std::vector<float> ReferenceDecode(const std::string& mp3Path, const std::string& dir) {
  const std::string out = dir + "/reference.f32";
  if (!Run("mpg123 -q --no-gapless -e f32 -s " + mp3Path + " > " + out + " 2>/dev/null")) return {};
  const Bytes b = ReadBytes(out);
  std::vector<float> v(b.size() / 4);
  if (!v.empty()) std::memcpy(v.data(), b.data(), v.size() * 4);
  return v;
}

Accuracy Compare(const std::vector<int>& ours, const std::vector<float>& reference) {
  Accuracy a;
  const size_t n = std::min(ours.size(), reference.size());
  double sum = 0.0, signal = 0.0;
  for (size_t i = 0; i < n; ++i) {
    const double d = ours[i] / 524288.0 - reference[i];
    a.maxAbs = std::max(a.maxAbs, std::fabs(d));
    sum += d * d;
    signal += double(reference[i]) * reference[i];
  }
  if (n > 0) a.rms = std::sqrt(sum / double(n)), a.signalRms = std::sqrt(signal / double(n));
  return a;
}

Bytes FrameHeader(int bitRateIndex, int freqIndex, bool padding, int channelMode, int versionId) {
  return {0xFF, static_cast<uint8_t>(0xE0 | versionId << 3 | 1 << 1 | 1),
          static_cast<uint8_t>(bitRateIndex << 4 | freqIndex << 2 | (padding ? 2 : 0)),
          static_cast<uint8_t>(channelMode << 6)};
}

Bytes SilentFrame(int bitRateIndex, int freqIndex, bool padding, int channelMode, int versionId) {
  Bytes frame = FrameHeader(bitRateIndex, freqIndex, padding, channelMode, versionId);
  LMP3Header h;
  h.Parse(frame.data());
  frame.resize(static_cast<size_t>(h.GetFrameLength()), 0);
  return frame;
}

Bytes XingFrame(int frames, int delay, int padding) {
  Bytes frame = SilentFrame(9, 0, false, 0);  // 128 kbit/s, 44100 Hz, stereo: 417 bytes
  const size_t xing = 4 + 32;
  std::memcpy(frame.data() + xing, "Xing", 4);
  frame[xing + 7] = 0x0F;  // frames, bytes, table of contents and quality present
  for (int i = 0; i < 4; ++i) frame[xing + 8 + i] = static_cast<uint8_t>(frames >> (24 - 8 * i));
  const size_t lame = xing + 120;
  std::memcpy(frame.data() + lame, "LAME3.100", 9);
  frame[lame + 21] = static_cast<uint8_t>(delay >> 4);
  frame[lame + 22] = static_cast<uint8_t>((delay & 15) << 4 | padding >> 8);
  frame[lame + 23] = static_cast<uint8_t>(padding & 255);
  return frame;
}

}  // namespace test
