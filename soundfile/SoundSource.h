// Pull interface shared by every piece of audio: decoded files, the click
// track and processing stages.
//
// Samples are interleaved 32-bit ints with nominal full scale +-524288 (2^19,
// a 16-bit value v is v*16). Positions, lengths and counts are in frames
// ("samples" in the operation names); a request for n samples fills
// n * channels ints. A request never exceeds 8192 frames.
#pragma once

#include <cstdint>

// Error codes carried by a source; callers test for zero.
enum LSoundSourceErrorCode : unsigned char {
  kSourceOk = 0,
  kSourceNone = 1,                 // handle closed or never opened
  kSourceInputError = 2,           // a processing stage's input has an error
  kSourceInvalid = 3,              // not a valid sound file / invalid format values
  kSourceOpenFailed = 4,           // the file could not be opened
  kSourceUnsupportedFormat = 5,    // unknown format tag
  kSourceUnsupportedEncoding = 7,  // A-law, mu-law, tag 0x22, multi-channel IMA, 64-bit samples
  kSourceNotRegularFile = 8,       // a folder, FIFO, socket or device
};

// Words for an error code, for messages shown to a person.
const char* LSoundSourceErrorText(int code);

// Largest request any consumer makes, in frames.
constexpr int kMaxReadFrames = 8192;

// Milliseconds in one 32-bit signed integer.
class LSoundTime {
 public:
  LSoundTime() = default;
  explicit LSoundTime(int ms) : m_ms(ms) {}
  // (samples / rate) * 1000 + ((samples % rate) * 1000) / rate; 0 for rate <= 0.
  void SetSamples(int samples, int rate);
  int GetMilliseconds() const { return m_ms; }

 private:
  int m_ms = 0;
};

class LSoundSource;

class LSoundSourceBase {
 public:
  // A rate below 1 becomes 44100 and 0 channels become 1; either sets code 3.
  LSoundSourceBase(int sampleRate, unsigned char channels, int peak);
  virtual ~LSoundSourceBase();
  LSoundSourceBase(const LSoundSourceBase&) = delete;
  LSoundSourceBase& operator=(const LSoundSourceBase&) = delete;

  // Writes samples * channels ints; before the start or past the end zeros.
  virtual void Read(int* buffer, int samples) = 0;
  virtual int GetPositionSample() const = 0;
  virtual int GetEndSample() const = 0;
  virtual void Seek(int sample);
  // Message numbers travelling down a chain of sources.
  // kMsgReadPeak: the largest magnitude among the samples the last Read
  // wrote, answered only by a source that knows it without looking at them
  // (a sound in memory, the click track made of such sounds); it never
  // travels down a chain, as a process changes what it reads.
  enum { kMsgLimiterLookAhead = 1, kMsgBufferedFrames = 4, kMsgAdjustPosition = 6, kMsgReadPeak = 8 };
  virtual bool ControlMessage(int message, long* value);

  int GetSampleRate() const { return m_sampleRate; }
  unsigned char GetChannels() const { return m_channels; }
  int GetPeak() const { return m_peak; }
  unsigned char GetError() const { return m_error; }
  unsigned short GetRefCount() const { return m_refCount; }

 protected:
  int m_sampleRate;
  unsigned char m_channels;
  int m_peak;
  unsigned char m_error = kSourceOk;

 private:
  friend class LSoundSource;
  unsigned short m_refCount = 0;
};

// Stands in for anything that could not be opened: 11025 Hz mono silence of
// length 0.
class LSoundSourceError : public LSoundSourceBase {
 public:
  explicit LSoundSourceError(unsigned char code);
  void Read(int* buffer, int samples) override;
  int GetPositionSample() const override { return 0; }
  int GetEndSample() const override { return 0; }
};

// Reference-counted handle; never empty. The count is a plain 16-bit counter:
// handles of one source are copied and released on one thread at a time.
class LSoundSource {
 public:
  // An error source with code 1 (no source yet).
  LSoundSource();
  // An error source carrying the given code.
  explicit LSoundSource(int errorCode);
  // Takes a reference to a source; null gives an error source with code 1.
  explicit LSoundSource(LSoundSourceBase* source);
  LSoundSource(const LSoundSource& other);
  LSoundSource& operator=(const LSoundSource& other);
  ~LSoundSource();

  // Releases the source and holds a fresh error source with code 1.
  void Close();
  // Length as time at the source's own rate.
  LSoundTime GetEnd() const;

  LSoundSourceBase* operator->() const { return m_source; }
  LSoundSourceBase& operator*() const { return *m_source; }
  LSoundSourceBase* Get() const { return m_source; }

 private:
  static void AddRef(LSoundSourceBase* source);
  static void Release(LSoundSourceBase* source);
  LSoundSourceBase* m_source;
};
