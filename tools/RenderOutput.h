// Where morvane-render's WAV goes: a new file put in place only when it is
// complete (see store/AtomicFile.h), or standard output for "-o -". Every
// refusal comes before any rendering and names the cause.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "soundfile/WaveWriter.h"
#include "store/AtomicFile.h"

class LRenderOutput {
 public:
  LRenderOutput() = default;
  ~LRenderOutput();
  LRenderOutput(const LRenderOutput&) = delete;
  LRenderOutput& operator=(const LRenderOutput&) = delete;

  // Refuses a target that is not a regular file or a new name, one that is
  // one of the inputs, and a length a WAV file cannot describe (32-bit
  // sizes: at most 4 GiB of samples); then opens the writer on a new
  // temporary file beside path, or on standard output when path is "-".
  bool Open(const std::string& path, const std::vector<std::string>& inputs, int sampleRate, int channels,
            LWaveWriter::Format format, uint64_t frames, std::string& error);
  LWaveWriter& Writer() { return m_writer; }
  // Completes the header and puts the file in place under its name.
  bool Finish(std::string& error);

 private:
  std::string m_path;
  LWaveWriter m_writer;
  LAtomicFile m_file;
  std::FILE* m_stream = nullptr;
};

// Why path cannot be written by a render, or empty: "a folder", "a symbolic
// link", "a FIFO", "a socket", "a device", or the same file as an input.
std::string LRenderTargetProblem(const std::string& path, const std::vector<std::string>& inputs);
