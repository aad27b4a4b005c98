#include "audio/OutputUnit.h"

#include <algorithm>
#include <cstring>

#include "audio/CaptureOutputUnit.h"
#include "audio/SystemOutputUnit.h"

void LAudioOutputUnit::SetFormat(int sampleRate, int channels) {
  m_rate = sampleRate;
  m_channels = std::max(1, channels);
}

void LAudioOutputUnit::SetChannelMap(int left, int right) {
  m_left = std::max(0, left);
  m_right = std::max(0, right);
}

int LAudioOutputUnit::OpenedChannels() const {
  // A mono stream mapped to two channels is written to both.
  const int wanted = std::max(m_left, m_right) + 1;
  return std::max(1, std::min(wanted, DeviceChannels()));
}

void LAudioOutputUnit::PrepareStaging() {
  // Devices that ask for more than a period are served in several pieces.
  const size_t entries = static_cast<size_t>(kPeriodFrames) * m_channels;
  if (m_stagingEntries < entries) {
    m_staging = std::make_unique<int[]>(entries);
    m_stagingEntries = entries;
  }
  m_stagingFrames = kPeriodFrames;
}

// Real-time: device thread; allocates nothing, never blocks.
int LAudioOutputUnit::RenderDevice(int* out, int frames, int* deliveredFrames) {
  const int outChannels = OpenedChannels();
  std::memset(out, 0, sizeof(int) * static_cast<size_t>(frames) * outChannels);
  *deliveredFrames = 0;
  if (!m_renderer || !m_staging) return 0;
  int taken = 0;
  for (int done = 0; done < frames;) {
    const int n = std::min(frames - done, m_stagingFrames);
    unsigned long bytes = sizeof(int) * static_cast<unsigned long>(n) * m_channels;
    taken += m_renderer->Render(m_staging.get(), n, &bytes, done > 0);
    const int got = static_cast<int>(bytes / (sizeof(int) * m_channels));
    // Stream channel 0 to the left device channel, 1 to the right; for a
    // mono stream both name the same channel.
    const int second = m_channels > 1 ? 1 : 0;
    for (int f = 0; f < got; ++f) {
      int* frame = out + static_cast<size_t>(done + f) * outChannels;
      const int* in = m_staging.get() + static_cast<size_t>(f) * m_channels;
      if (m_left < outChannels) frame[m_left] = in[0];
      if (m_right < outChannels && (m_channels > 1 || m_right != m_left)) frame[m_right] = in[second];
    }
    *deliveredFrames += got;
    done += n;
    // A short buffer leaves the rest silent. A device that plays on through
    // an under-run still has the renderer count the rest, or its clock and
    // what it owes would fall behind the device and the clicks after the
    // under-run would sound late.
    if (got < n && !PlaysThroughUnderRuns()) break;
  }
  return taken;
}

void LAudioOutputUnit::RenderSilence(int* out, int frames) const {
  std::memset(out, 0, sizeof(int) * static_cast<size_t>(frames) * OpenedChannels());
}

std::unique_ptr<LAudioOutputUnit> LAudioOutputUnitCreate() {
  if (LCaptureOutputUnit::IsSelected()) return std::make_unique<LCaptureOutputUnit>("", true);
  return std::make_unique<LSystemOutputUnit>();
}
