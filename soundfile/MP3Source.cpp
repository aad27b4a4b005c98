#include "soundfile/MP3Source.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "soundfile/MP3Huffman.h"
#include "soundfile/MP3LookupTables.h"
#include "soundfile/MP3StreamTags.h"

namespace {

constexpr int kPeak = 0x200000;
constexpr int kScanFrames = 50;
constexpr int kMaxMismatches = 11;
// Frames decoded before a seek target: they refill the reservoir, the IMDCT
// overlap and the synthesis filter, so audio from the target on equals a
// continuous decode.
constexpr int kPreRollFrames = 9;
constexpr int kRefineInterval = 115200;
constexpr int kRefineNearEnd = 8192;

int BytesPerFrameFactor(const LMP3Header& h) { return h.version != 0 ? 72 : 144; }

}  // namespace

LMP3Source::LMP3Source(const char* path, bool scanToEnd) : LSoundSourceBase(44100, 1, kPeak), m_file(path) {
  LMP3LookupTables::Get();
  LMP3PrepareHuffmanTrees();
  if (!m_file.IsOpen()) {
    m_error = kSourceOpenFailed;
    return;
  }
  if (!Open(scanToEnd)) {
    m_error = kSourceInvalid;
    m_total = 0;
  }
}

bool LMP3Source::Open(bool scanToEnd) {
  LMP3Header first;
  if (!first.ReadHeader(m_file)) return false;
  if (first.version > 2 || first.freqIndex > 2) return false;
  m_initial = first;
  m_sampleRate = first.GetSampleRate();
  m_channels = first.IsMono() ? 1 : 2;
  m_samplesPerFrame = first.GetSamplesPerFrame();
  m_frameBuffer.assign(static_cast<size_t>(m_samplesPerFrame) * m_channels, 0);
  m_frameIndex = m_samplesPerFrame;
  m_file.SetAudioStart(first.offset);
  ApplyTag(first);
  if (!m_exactCount || !m_vbr) ScanFrames(first);

  const double bytes = static_cast<double>(m_file.GetAudioEnd() - m_file.GetAudioStart());
  if (!m_vbr) {
    m_frameLength = double(m_initial.bitRate) * BytesPerFrameFactor(first) / m_sampleRate;
    if (!m_padded) m_frameLength = std::floor(m_frameLength);
    if (!m_exactCount) m_frameCount = m_frameLength > 0 ? static_cast<int>(std::lround(bytes / m_frameLength)) : -1;
  }
  m_total = static_cast<int>(std::clamp<int64_t>(int64_t(m_frameCount) * m_samplesPerFrame, 0, INT32_MAX / 2));
  if (m_vbr) m_cache.Create(m_exactCount ? m_total : int64_t(m_total) * 2, m_samplesPerFrame);
  m_decoder.Init(first);
  m_file.Seek(m_file.GetAudioStart());
  if (scanToEnd && m_vbr) {
    WalkAllFrames();
    Seek(0);
  }
  return true;
}

// Passes over every frame by its header, recording each in the frame cache;
// an estimated length becomes the counted one, longer or shorter.
void LMP3Source::WalkAllFrames() {
  m_file.Seek(m_file.GetAudioStart());
  m_raw = 0;
  SkipFramesTo(INT32_MAX);
  if (!m_exactCount && m_raw > 0) {
    m_total = static_cast<int>(std::min<int64_t>(m_raw, INT32_MAX / 2));
    m_frameCount = m_total / m_samplesPerFrame;
  }
  m_raw = 0;
  m_file.Seek(m_file.GetAudioStart());
}

void LMP3Source::ApplyTag(const LMP3Header& first) {
  const LMP3StreamTag tag = LMP3ReadStreamTag(m_file, first);
  m_encoderDelay = tag.encoderDelay;
  m_endPadding = tag.endPadding;
  if (tag.kind == LMP3StreamTag::kNone) return;
  // The tag's frame holds no audio and is counted neither by the tag nor by
  // the LAME delay: audio starts with the next frame.
  m_file.SetAudioStart(first.offset + std::max(first.GetFrameLength(), 1));
  m_vbr = tag.kind != LMP3StreamTag::kInfo;  // "Info" marks a constant bit rate
  if (tag.hasFrameCount) {
    m_exactCount = true;
    m_frameCount = static_cast<int>(std::min<uint32_t>(tag.frameCount, INT32_MAX / 2 / 1152));
  }
}

void LMP3Source::ScanFrames(const LMP3Header& first) {
  // The first frame counts too, so that a one-frame stream opens.
  int64_t sum = first.bitRate;
  int found = 1;
  int previous = first.bitRate;
  bool variable = false;
  m_padded = first.padding;
  m_file.Seek(first.offset + std::max(first.GetFrameLength(), 1));
  for (int i = 0; i < kScanFrames; ++i) {
    LMP3Header h;
    if (!h.ReadHeader(m_file)) break;
    m_file.Seek(h.offset + std::max(h.GetFrameLength(), 1));
    if (!h.Matches(first)) continue;
    sum += h.bitRate;
    ++found;
    if (h.bitRate != previous && i > 3) variable = true;
    previous = h.bitRate;
    if (h.padding) m_padded = true;
  }
  if (!variable && !m_vbr) return;
  m_vbr = true;
  m_padded = false;
  if (m_exactCount) return;
  m_initial.bitRate = static_cast<int>(sum / found);
  m_frameLength = double(m_initial.bitRate) * BytesPerFrameFactor(first) / m_sampleRate;
  const double bytes = static_cast<double>(m_file.GetAudioEnd() - m_file.GetAudioStart());
  m_frameCount = m_frameLength > 0 ? static_cast<int>(std::min(bytes / m_frameLength, 1e9)) : -1;
}

bool LMP3Source::DecodeFrame(int* out, uint32_t& frameOffset) {
  int mismatches = 0;
  for (;;) {
    LMP3Header h;
    if (!h.ReadHeader(m_file)) return false;
    if (!h.Matches(m_initial)) {
      // A frame of another stream: passed over as a whole.
      if (++mismatches > kMaxMismatches) return false;
      m_file.Seek(h.offset + std::max(h.GetFrameLength(), 4));
      continue;
    }
    frameOffset = static_cast<uint32_t>(h.offset);
    uint8_t sideBytes[32];
    const int sideLength = h.GetSideInfoLength();
    if (m_file.Read(sideBytes, sideLength) != sideLength) return false;
    LMP3SideInfo side;
    side.Parse(sideBytes, sideLength, h);
    const int mainLength = std::max(0, h.GetMainDataLength());
    if (m_reservoir.Load(m_file, side.mainDataBegin, mainLength))
      m_decoder.Decode(h, side, m_reservoir.GetData(), m_reservoir.GetCount(), out);
    else
      m_decoder.DecodeSilence(h, out);
    return true;
  }
}

void LMP3Source::StreamEnded() {
  m_endFound = true;
  m_total = static_cast<int>(m_raw);
  m_frameCount = m_total / m_samplesPerFrame;
}

// Worker code: allocates nothing per block.
void LMP3Source::Read(int* buffer, int samples) {
  const int ch = m_channels;
  int done = 0;
  while (done < samples) {
    int* out = buffer + done * ch;
    const int want = samples - done;
    if (m_raw < 0) {
      const int k = static_cast<int>(std::min<int64_t>(want, -m_raw));
      std::memset(out, 0, sizeof(int) * static_cast<size_t>(k * ch));
      m_raw += k, done += k;
      continue;
    }
    if (m_raw == m_total && m_fileInStep && !m_exactCount && !m_endFound && m_error == kSourceOk) {
      // An estimated length may be short: the stream goes on while frames do.
      uint32_t offset = 0;
      if (DecodeFrame(m_frameBuffer.data(), offset)) {
        FrameFound(static_cast<int>(m_raw), offset, m_file.Tell());
        m_total += m_samplesPerFrame;
        m_frameCount = m_total / m_samplesPerFrame;
        m_frameIndex = 0;
        continue;
      }
      StreamEnded();
    }
    if (m_raw >= m_total || m_error != kSourceOk) {
      std::memset(out, 0, sizeof(int) * static_cast<size_t>(want * ch));
      m_raw += want, done = samples;
      break;
    }
    if (m_frameIndex < m_samplesPerFrame) {
      const int k = std::min({want, m_samplesPerFrame - m_frameIndex, static_cast<int>(m_total - m_raw)});
      std::memcpy(out, m_frameBuffer.data() + m_frameIndex * ch, sizeof(int) * static_cast<size_t>(k * ch));
      m_frameIndex += k, m_raw += k, done += k;
      continue;
    }
    // A whole frame goes straight into the caller's buffer.
    const bool direct = want >= m_samplesPerFrame && m_total - m_raw >= m_samplesPerFrame;
    uint32_t offset = 0;
    if (!DecodeFrame(direct ? out : m_frameBuffer.data(), offset)) {
      StreamEnded();
      continue;
    }
    FrameFound(static_cast<int>(m_raw), offset, m_file.Tell());
    if (direct)
      m_raw += m_samplesPerFrame, done += m_samplesPerFrame;
    else
      m_frameIndex = 0;
  }
}

void LMP3Source::FrameFound(int samplePosition, uint32_t frameOffset, int64_t nextOffset) {
  if (!m_vbr || !m_cache.Add(samplePosition, frameOffset) || m_exactCount) return;
  if (samplePosition - m_lastRefinement <= kRefineInterval && m_total - samplePosition >= kRefineNearEnd) return;
  m_lastRefinement = samplePosition;
  const int framesSoFar = samplePosition / m_samplesPerFrame;
  if (framesSoFar <= 0) return;
  const double length = double(int64_t(frameOffset) - m_file.GetAudioStart()) / framesSoFar;
  if (length <= 0) return;
  m_frameLength = length;
  const double remaining = std::max(0.0, double(m_file.GetAudioEnd() - nextOffset) / length);
  m_frameCount = static_cast<int>(std::min(framesSoFar + std::trunc(remaining) + 1, 1e9 / m_samplesPerFrame));
  m_total = m_frameCount * m_samplesPerFrame;
}

bool LMP3Source::GetNearestPreviousFrame(int sample, LMP3FramePosition& found) const {
  if (m_vbr) return m_cache.Find(sample, found);
  if (m_frameLength <= 0) return false;
  const int frame = sample / m_samplesPerFrame;
  found.sample = frame * m_samplesPerFrame;
  int64_t offset = static_cast<int64_t>(frame * m_frameLength) + m_file.GetAudioStart();
  // One byte early, so that the header search meets the frame's sync.
  if (frame != 0) --offset;
  found.offset = static_cast<uint32_t>(offset);
  return true;
}

// Passes over frames by their headers alone until one frame before back.
void LMP3Source::SkipFramesTo(int back) {
  int mismatches = 0;
  while (int64_t(back) - m_samplesPerFrame > m_raw) {
    LMP3Header h;
    if (!h.ReadHeader(m_file)) return;
    m_file.Seek(h.offset + std::max(h.GetFrameLength(), 4));
    if (!h.Matches(m_initial)) {
      if (++mismatches > kMaxMismatches) return;
      continue;
    }
    mismatches = 0;
    FrameFound(static_cast<int>(m_raw), static_cast<uint32_t>(h.offset), m_file.Tell());
    m_raw += m_samplesPerFrame;
  }
}

void LMP3Source::Seek(int sample) {
  if (m_total <= 0 || m_error != kSourceOk) return;
  const int64_t target = int64_t(sample) + m_encoderDelay;
  if (target == m_raw) return;
  if (target >= m_total) {
    m_raw = target;
    m_fileInStep = false;
    return;
  }
  m_fileInStep = true;
  m_frameIndex = m_samplesPerFrame;
  m_decoder.Reset();
  m_reservoir.Clear();
  if (target <= 0) {
    m_file.Seek(m_file.GetAudioStart());
    m_raw = target;
    return;
  }
  const int back = static_cast<int>(std::max<int64_t>(0, target - kPreRollFrames * m_samplesPerFrame));
  LMP3FramePosition start;
  if (!GetNearestPreviousFrame(back, start)) start = {0, static_cast<uint32_t>(m_file.GetAudioStart())};
  // A frame the file does not reach (a count larger than the data): the
  // decoding below then meets the end at once.
  if (!m_file.Seek(start.offset)) m_file.Seek(m_file.GetAudioEnd());
  m_raw = start.sample;
  SkipFramesTo(back);
  for (;;) {
    uint32_t offset = 0;
    if (!DecodeFrame(m_frameBuffer.data(), offset)) {
      StreamEnded();
      m_raw = target;
      return;
    }
    FrameFound(static_cast<int>(m_raw), offset, m_file.Tell());
    if (target < m_raw + m_samplesPerFrame) {
      m_frameIndex = static_cast<int>(target - m_raw);
      m_raw = target;
      return;
    }
    m_raw += m_samplesPerFrame;
  }
}
