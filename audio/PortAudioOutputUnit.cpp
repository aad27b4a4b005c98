#include "audio/PortAudioOutputUnit.h"

#include <portaudio.h>

#include <algorithm>
#include <cmath>

#include "audio/PortAudioSession.h"

namespace {
int PaCallback(const void*, void* output, unsigned long frames, const PaStreamCallbackTimeInfo*, PaStreamCallbackFlags,
               void* context) {
  auto* unit = static_cast<LPortAudioOutputUnit::Context*>(context)->unit.load(std::memory_order_acquire);
  if (!unit) return paAbort;
  return unit->OnDeviceCallback(static_cast<int*>(output), static_cast<int>(frames)) ? paContinue : paAbort;
}

// PortAudio's own thread, once the stream has ended for whatever reason, or
// once its ALSA device failed.
void PaFinished(void* context) {
  if (auto* unit = static_cast<LPortAudioOutputUnit::Context*>(context)->unit.load(std::memory_order_acquire))
    unit->OnStreamFinished();
}
}  // namespace

LPortAudioOutputUnit::LPortAudioOutputUnit() : m_context(new Context{this}) {}

LPortAudioOutputUnit::~LPortAudioOutputUnit() {
  Close();
  if (m_context) m_context->unit.store(nullptr, std::memory_order_release);
  delete m_context;
}

bool LPortAudioOutputUnit::Open(unsigned int deviceId) {
  Close();
  if (!LPortAudioReady() || deviceId == kNoPlayDevice) return false;
  if (deviceId >= static_cast<unsigned int>(Pa_GetDeviceCount())) return false;
  const PaDeviceInfo* info = Pa_GetDeviceInfo(static_cast<PaDeviceIndex>(deviceId));
  if (!info || info->maxOutputChannels < 1) return false;
  m_device = static_cast<int>(deviceId);
  LPortAudioHold(true);
  m_deviceChannels = info->maxOutputChannels;
  m_deviceRate = static_cast<int>(std::lround(info->defaultSampleRate));
  m_latency = info->defaultLowOutputLatency;
  return true;
}

int LPortAudioOutputUnit::PlayableRate(int wanted) const {
  if (m_device < 0) return wanted;
  PaStreamParameters out{};
  out.device = m_device;
  out.channelCount = std::min(2, m_deviceChannels);
  out.sampleFormat = paInt32;
  out.suggestedLatency = m_latency;
  if (Pa_IsFormatSupported(nullptr, &out, wanted) == paFormatIsSupported) return wanted;
  return m_deviceRate > 0 ? m_deviceRate : wanted;
}

void LPortAudioOutputUnit::Close() {
  Uninitialize();
  if (m_device >= 0) LPortAudioHold(false);
  m_device = -1;
  m_deviceChannels = 0;
  m_deviceRate = 0;
}

bool LPortAudioOutputUnit::Initialize() {
  Uninitialize();
  if (m_device < 0 || !m_context) return false;
  PrepareStaging();
  PaStreamParameters out{};
  out.device = m_device;
  out.channelCount = OpenedChannels();
  out.sampleFormat = paInt32;
  out.suggestedLatency = m_latency;
  PaStream* stream = nullptr;
  if (Pa_OpenStream(&stream, nullptr, &out, m_rate, kPeriodFrames, paNoFlag, &PaCallback, m_context) != paNoError)
    return false;
  m_stream = stream;
  Pa_SetStreamFinishedCallback(stream, &PaFinished);
  return true;
}

void LPortAudioOutputUnit::Uninitialize() {
  if (!m_stream) return;
  m_stopping.store(true, std::memory_order_release);
  PaStream* stream = m_stream;
  m_stream = nullptr;
  if (!m_teardown.Run([stream] {
        Pa_AbortStream(stream);
        Pa_CloseStream(stream);
      }))
    Abandon();
}

bool LPortAudioOutputUnit::Start() {
  if (!m_stream) return false;
  if (Pa_IsStreamActive(m_stream) == 1) return true;
  m_stopping.store(false, std::memory_order_release);
  if (Pa_StartStream(m_stream) == paNoError) return true;
  m_stopping.store(true, std::memory_order_release);
  return false;
}

void LPortAudioOutputUnit::Stop() {
  // Abort rather than drain: what is left is discarded by the caller anyway.
  m_stopping.store(true, std::memory_order_release);
  if (!m_stream || Pa_IsStreamStopped(m_stream) != 0) return;
  PaStream* stream = m_stream;
  if (!m_teardown.Run([stream] { Pa_AbortStream(stream); })) {
    m_stream = nullptr;
    Abandon();
  }
}

void LPortAudioOutputUnit::Abandon() {
  // The stream's threads may still call in: they find no unit. The context
  // and the stream are left behind on purpose.
  m_context->unit.store(nullptr, std::memory_order_release);
  m_context = new Context{this};
  m_device = -1;  // still held: never released
  ReportFailure();
}

// A stream that ends while nobody stopped it lost its device.
void LPortAudioOutputUnit::OnStreamFinished() {
  if (!m_stopping.load(std::memory_order_acquire)) ReportFailure();
}

// Real-time: device thread; allocates nothing, never blocks.
bool LPortAudioOutputUnit::OnDeviceCallback(int* out, int frames) {
  // PortAudio cannot take a short buffer: RenderDevice zero-fills the rest.
  int delivered = 0;
  LAlsaWatchThisThread(&PaFinished, m_context);
  if (m_stopping.load(std::memory_order_acquire)) {
    RenderSilence(out, frames);
    return false;
  }
  RenderDevice(out, frames, &delivered);
  return true;
}
