#include "soundfile/MP3FrameCache.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "soundfile/MP3Header.h"

void LMP3FrameCache::Create(int64_t samples, int samplesPerFrame) {
  m_entries.clear();
  m_step = 1;
  m_highest = -1;
  if (samples <= 0 || samplesPerFrame <= 0) return;
  int64_t count = samples / samplesPerFrame + 1;
  int64_t step = samplesPerFrame;
  if (count > kMaxEntries) {
    count = kMaxEntries;
    step = samples / kMaxEntries + 1;
  }
  try {
    m_entries.resize(static_cast<size_t>(count));
    m_step = static_cast<int>(step);
  } catch (const std::bad_alloc&) {
    m_entries.clear();
  }
}

bool LMP3FrameCache::Add(int sample, uint32_t offset) {
  if (sample < 0 || m_entries.empty()) return false;
  const int64_t index = sample / m_step;
  if (index >= GetSize()) return false;
  LMP3FramePosition& entry = m_entries[static_cast<size_t>(index)];
  if (entry.sample >= 0) return false;
  entry.sample = sample;
  entry.offset = offset;
  m_highest = std::max(m_highest, static_cast<int>(index));
  return true;
}

bool LMP3FrameCache::Find(int sample, LMP3FramePosition& found) const {
  if (m_entries.empty() || m_highest < 0 || sample < 0) return false;
  for (int i = std::min({sample / m_step, GetSize() - 1, m_highest}); i >= 0; --i) {
    if (m_entries[static_cast<size_t>(i)].sample >= 0) {
      found = m_entries[static_cast<size_t>(i)];
      return true;
    }
  }
  return false;
}

bool LMP3MainData::Load(LMP3ReadFile& file, int mainDataBegin, int length) {
  if (mainDataBegin < 0 || mainDataBegin > kMaxBegin || length < 0 || length > kMaxFrameBytes) return false;
  const int kept = std::min<int>(mainDataBegin, m_count);
  std::memmove(m_buffer, m_buffer + m_count - kept, static_cast<size_t>(kept));
  const int got = file.Read(m_buffer + kept, length);
  // A truncated frame decodes from zeros where its bytes are missing.
  std::memset(m_buffer + kept + got, 0, static_cast<size_t>(length - got) + kPadBytes);
  m_count = static_cast<int16_t>(kept + length);
  return kept >= mainDataBegin;
}
