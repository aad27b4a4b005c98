// A wake-up flag any thread can set and any thread can wait for, built on a
// non-blocking pipe so that setting it is one write() that never blocks: the
// only primitive the audio device thread is allowed to touch.
#pragma once

// Milliseconds meaning "wait without limit".
constexpr unsigned int kWaitForever = 0xFFFFFFFFu;

// A non-owning view of a signal's two pipe ends.
class LSignalObjectRef {
 public:
  LSignalObjectRef() = default;
  LSignalObjectRef(int readFd, int writeFd) : m_read(readFd), m_write(writeFd) {}

  // Safe from any thread, including the device thread: one non-blocking write.
  void Set() const;
  // Drains every pending set, so any number of sets make one wake-up.
  void Reset() const;
  bool IsSignaled() const;
  // True when set (or the wait was interrupted), false after ms milliseconds.
  // Waiting does not clear the signal.
  bool WaitSignal(unsigned int ms) const;
  bool WaitSignalDual(const LSignalObjectRef& other, unsigned int ms) const;

  int ReadFd() const { return m_read; }
  int WriteFd() const { return m_write; }
  bool IsValid() const { return m_read >= 0 && m_write >= 0; }

 protected:
  int m_read = -1;
  int m_write = -1;
};

// Owns its pipe: created non-blocking and close-on-exec, closed at destruction.
class LSignalObject : public LSignalObjectRef {
 public:
  LSignalObject();
  ~LSignalObject();
  LSignalObject(const LSignalObject&) = delete;
  LSignalObject& operator=(const LSignalObject&) = delete;

  LSignalObjectRef Ref() const { return LSignalObjectRef(m_read, m_write); }
};

// A small fixed set of signals waited for together.
class LSignalObjectGroup {
 public:
  static constexpr int kMaxSignals = 8;
  // False when the group is full.
  bool Add(const LSignalObjectRef& signal);
  int Count() const { return m_count; }
  const LSignalObjectRef& At(int i) const { return m_signals[i]; }
  // Index of a set signal, -1 after ms milliseconds.
  int Wait(unsigned int ms) const;

 private:
  LSignalObjectRef m_signals[kMaxSignals];
  int m_count = 0;
};

// poll() timeout for a wait in milliseconds (kWaitForever: none).
int PollTimeout(unsigned int ms);
