#include "soundfile/IMASoundSource.h"

#include <algorithm>

namespace {

constexpr int kPeak = 0x7FFF0;  // 32767 x 16
constexpr uint32_t kMaxBlockAlign = 32768;
constexpr int kCodeRunBytes = 512;  // bytes of codes read at a time

}  // namespace

LSoundSource LIMAWaveOpenSource(LReadFile& file, unsigned int dataBytes, int sampleRate, unsigned char channels,
                                unsigned int blockAlign) {
  // Stereo blocks interleave the channels in 4-byte groups; not decoded.
  if (channels != 1) return LSoundSource(kSourceUnsupportedEncoding);
  return LSoundSource(new LIMASoundSource(file, dataBytes, sampleRate, blockAlign));
}

LIMASoundSource::LIMASoundSource(LReadFile& file, unsigned int dataBytes, int sampleRate, unsigned int blockAlign)
    : LMonoFileSource(file, sampleRate, kPeak) {
  if (dataBytes == 0xFFFFFFFFu) dataBytes = BytesToEndOfFile();

  // A block needs its 4-byte header; the bound keeps a block's sample count
  // (at most 65529) well inside an int.
  m_blockAlign = std::clamp<uint32_t>(blockAlign, 4, kMaxBlockAlign);
  m_samplesPerBlock = static_cast<int>((m_blockAlign - 4) * 2 + 1);

  // A partial last block of r bytes still holds its header sample and
  // 2 (r - 4) codes; one shorter than a header holds nothing. In 64 bits:
  // with small blocks a large data size counts more frames than an int holds.
  const uint32_t remainder = dataBytes % m_blockAlign;
  int64_t end = int64_t(dataBytes / m_blockAlign) * m_samplesPerBlock;
  if (remainder > 3) end += 2 * int64_t(remainder) - 7;
  m_end = ClampFrames(end);
}

int LIMASoundSource::Decode(int* out, int frames) {
  int done = 0;
  while (done < frames) {
    if (m_leftInBlock == 0) {
      if (!StartBlock(out + done)) break;
      ++done;
      continue;
    }
    const int k = std::min(frames - done, m_leftInBlock);
    const int got = DecodeCodes(out + done, k);
    done += got;
    m_leftInBlock -= got;
    if (got < k) {
      // Out of data: the next read starts at a block header again, so
      // nothing decodes from stale bytes.
      m_leftInBlock = 0;
      m_highPending = false;
      break;
    }
  }
  return done;
}

bool LIMASoundSource::StartBlock(int* out) {
  uint8_t header[4];
  if (m_file.Read(header, 4) != 4) return false;
  // The header sample is the block's first output sample exactly, so an error
  // never carries over from one block into the next.
  const int first = static_cast<int16_t>(static_cast<uint16_t>(header[0] | header[1] << 8));
  m_decoder.Reset(first, header[2]);
  *out = first * 16;
  m_leftInBlock = m_samplesPerBlock - 1;
  m_highPending = false;
  return true;
}

int LIMASoundSource::DecodeCodes(int* out, int frames) {
  int done = 0;
  if (m_highPending && frames > 0) {
    out[done++] = m_decoder.DecodeSample(m_heldByte >> 4);
    m_highPending = false;
  }
  uint8_t codes[kCodeRunBytes];
  while (frames - done >= 2) {
    const int want = std::min((frames - done) / 2, kCodeRunBytes);
    const int got = m_file.Read(codes, want);
    for (int i = 0; i < got; ++i) {
      out[done++] = m_decoder.DecodeSample(codes[i] & 0x0F);
      out[done++] = m_decoder.DecodeSample(codes[i] >> 4);
    }
    if (got < want) return done;
  }
  if (frames - done == 1) {
    // A read ending on half a byte keeps the byte for the next read.
    if (m_file.Read(&m_heldByte, 1) != 1) return done;
    out[done++] = m_decoder.DecodeSample(m_heldByte & 0x0F);
    m_highPending = true;
  }
  return done;
}

void LIMASoundSource::Seek(int sample) {
  m_leftInBlock = 0;
  m_highPending = false;
  if (sample <= 0 || sample > m_end) {
    m_file.Seek(m_dataStart);
    m_position = sample;
    return;
  }
  const int block = sample / m_samplesPerBlock;
  m_file.Seek(int64_t(m_dataStart) + int64_t(block) * m_blockAlign);
  m_position = block * m_samplesPerBlock;
  // Blocks can hold up to 65529 samples: decode the way in, in pieces, so a
  // target deep inside a large block is reached exactly.
  int scratch[kCodeRunBytes];
  while (m_position < sample) Read(scratch, std::min(sample - m_position, kCodeRunBytes));
}
