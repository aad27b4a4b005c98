#include "audio/PortAudioOutputUnit.h"

#include <portaudio.h>

namespace {
int PaCallback(const void*, void* output, unsigned long frames, const PaStreamCallbackTimeInfo*, PaStreamCallbackFlags,
               void* self) {
  static_cast<LPortAudioOutputUnit*>(self)->OnDeviceCallback(static_cast<int*>(output), static_cast<int>(frames));
  return paContinue;
}

// PortAudio's own thread, once the stream has ended for whatever reason.
void PaFinished(void* self) { static_cast<LPortAudioOutputUnit*>(self)->OnStreamFinished(); }
}  // namespace

LPortAudioOutputUnit::~LPortAudioOutputUnit() { Close(); }

bool LPortAudioOutputUnit::Open(unsigned int deviceId) {
  Close();
  auto session = std::make_unique<LPortAudioSession>();
  if (!session->IsOk() || deviceId == kNoPlayDevice) return false;
  if (deviceId >= static_cast<unsigned int>(Pa_GetDeviceCount())) return false;
  const PaDeviceInfo* info = Pa_GetDeviceInfo(static_cast<PaDeviceIndex>(deviceId));
  if (!info || info->maxOutputChannels < 1) return false;
  m_device = static_cast<int>(deviceId);
  m_deviceChannels = info->maxOutputChannels;
  m_latency = info->defaultLowOutputLatency;
  m_session = std::move(session);
  return true;
}

void LPortAudioOutputUnit::Close() {
  Uninitialize();
  m_session.reset();
  m_device = -1;
  m_deviceChannels = 0;
}

bool LPortAudioOutputUnit::Initialize() {
  Uninitialize();
  if (!m_session) return false;
  PrepareStaging();
  PaStreamParameters out{};
  out.device = m_device;
  out.channelCount = OpenedChannels();
  out.sampleFormat = paInt32;
  out.suggestedLatency = m_latency;
  PaStream* stream = nullptr;
  if (Pa_OpenStream(&stream, nullptr, &out, m_rate, kPeriodFrames, paNoFlag, &PaCallback, this) != paNoError)
    return false;
  m_stream = stream;
  Pa_SetStreamFinishedCallback(stream, &PaFinished);
  return true;
}

void LPortAudioOutputUnit::Uninitialize() {
  if (!m_stream) return;
  m_stopping.store(true, std::memory_order_release);
  Pa_AbortStream(m_stream);
  Pa_CloseStream(m_stream);
  m_stream = nullptr;
}

bool LPortAudioOutputUnit::Start() {
  if (!m_stream) return false;
  if (Pa_IsStreamActive(m_stream) == 1) return true;
  m_stopping.store(false, std::memory_order_release);
  return Pa_StartStream(m_stream) == paNoError;
}

void LPortAudioOutputUnit::Stop() {
  // Abort rather than drain: what is left is discarded by the caller anyway.
  m_stopping.store(true, std::memory_order_release);
  if (m_stream && Pa_IsStreamStopped(m_stream) == 0) Pa_AbortStream(m_stream);
}

// A stream that ends while nobody stopped it lost its device.
void LPortAudioOutputUnit::OnStreamFinished() {
  if (!m_stopping.load(std::memory_order_acquire)) ReportFailure();
}

// Real-time: device thread; allocates nothing, never blocks.
void LPortAudioOutputUnit::OnDeviceCallback(int* out, int frames) {
  // PortAudio cannot take a short buffer: RenderDevice zero-fills the rest.
  int delivered = 0;
  RenderDevice(out, frames, &delivered);
}
