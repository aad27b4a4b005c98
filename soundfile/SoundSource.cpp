#include "soundfile/SoundSource.h"

#include <cstring>
#include <utility>

const char* LSoundSourceErrorText(int code) {
  switch (code) {
    case kSourceOk: return "no error";
    case kSourceNone: return "no sound source";
    case kSourceInputError: return "the input of a processing stage has an error";
    case kSourceInvalid: return "not a valid sound file, or invalid format values";
    case kSourceOpenFailed: return "the file could not be opened";
    case kSourceUnsupportedFormat: return "unsupported format";
    case kSourceUnsupportedEncoding: return "unsupported encoding";
    case kSourceNotRegularFile: return "not a regular file (a folder, FIFO, socket or device)";
    default: return "unknown error";
  }
}

void LSoundTime::SetSamples(int samples, int rate) {
  if (rate <= 0) {
    m_ms = 0;
    return;
  }
  // Split so that samples * 1000 cannot overflow for long sounds.
  m_ms = (samples / rate) * 1000 + ((samples % rate) * 1000) / rate;
}

LSoundSourceBase::LSoundSourceBase(int sampleRate, unsigned char channels, int peak)
    : m_sampleRate(sampleRate), m_channels(channels), m_peak(peak) {
  if (m_sampleRate < 1) {
    m_sampleRate = 44100;
    m_error = kSourceInvalid;
  }
  if (m_channels == 0) {
    m_channels = 1;
    m_error = kSourceInvalid;
  }
}

LSoundSourceBase::~LSoundSourceBase() = default;

void LSoundSourceBase::Seek(int) {}

bool LSoundSourceBase::ControlMessage(int, long*) { return false; }

LSoundSourceError::LSoundSourceError(unsigned char code) : LSoundSourceBase(11025, 1, 0x200000) { m_error = code; }

void LSoundSourceError::Read(int* buffer, int samples) {
  if (samples > 0) std::memset(buffer, 0, sizeof(int) * static_cast<size_t>(samples));
}

void LSoundSource::AddRef(LSoundSourceBase* source) { ++source->m_refCount; }

void LSoundSource::Release(LSoundSourceBase* source) {
  if (--source->m_refCount == 0) delete source;
}

LSoundSource::LSoundSource() : LSoundSource(kSourceNone) {}

LSoundSource::LSoundSource(int errorCode) : m_source(new LSoundSourceError(static_cast<unsigned char>(errorCode))) {
  AddRef(m_source);
}

LSoundSource::LSoundSource(LSoundSourceBase* source) : m_source(source ? source : new LSoundSourceError(kSourceNone)) {
  AddRef(m_source);
}

LSoundSource::LSoundSource(const LSoundSource& other) : m_source(other.m_source) { AddRef(m_source); }

LSoundSource& LSoundSource::operator=(const LSoundSource& other) {
  // Copy, then swap: the copy references the new source before it releases
  // the old one, so self-assignment is safe.
  LSoundSource copy(other);
  std::swap(m_source, copy.m_source);
  return *this;
}

LSoundSource::~LSoundSource() { Release(m_source); }

void LSoundSource::Close() {
  LSoundSourceBase* old = m_source;
  m_source = new LSoundSourceError(kSourceNone);
  AddRef(m_source);
  Release(old);
}

LSoundTime LSoundSource::GetEnd() const {
  LSoundTime t;
  t.SetSamples(m_source->GetEndSample(), m_source->GetSampleRate());
  return t;
}
