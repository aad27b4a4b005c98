#include "tools/RenderOutput.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

// Data bytes a plain WAV header can describe: the RIFF size (data + 36, and
// the pad byte) must fit 32 bits. Longer tracks are refused rather than
// written as RF64, which few of the programs a click track is made for read.
constexpr uint64_t kMaxWaveDataBytes = 0xFFFFFFFFull - 36 - 8;

int BytesPerSample(LWaveWriter::Format f) {
  switch (f) {
    case LWaveWriter::Format::S16: return 2;
    case LWaveWriter::Format::S24: return 3;
    default: return 4;
  }
}

const char* KindOf(mode_t mode) {
  if (S_ISDIR(mode)) return "a folder";
  if (S_ISLNK(mode)) return "a symbolic link";
  if (S_ISFIFO(mode)) return "a FIFO";
  if (S_ISSOCK(mode)) return "a socket";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
  return "not a regular file";
}

}  // namespace

std::string LRenderTargetProblem(const std::string& path, const std::vector<std::string>& inputs) {
  struct stat target {};
  if (lstat(path.c_str(), &target) != 0) return {};  // a new name
  if (!S_ISREG(target.st_mode))
    return "'" + path + "' is " + KindOf(target.st_mode) + "; -o takes a regular file or a new name";
  for (const std::string& input : inputs) {
    struct stat in {};
    if (stat(input.c_str(), &in) == 0 && in.st_dev == target.st_dev && in.st_ino == target.st_ino)
      return "'" + path + "' is the input sound '" + input + "' itself; choose another output file";
  }
  return {};
}

LRenderOutput::~LRenderOutput() {
  m_writer.Abandon();
  if (m_stream && m_stream != stdout) std::fclose(m_stream);
}

bool LRenderOutput::Open(const std::string& path, const std::vector<std::string>& inputs, int sampleRate, int channels,
                         LWaveWriter::Format format, uint64_t frames, std::string& error) {
  m_path = path;
  const uint64_t bytes = frames * static_cast<uint64_t>(channels > 0 ? channels : 1) * BytesPerSample(format);
  if (frames > kMaxWaveDataBytes || bytes > kMaxWaveDataBytes) {
    error = "the track would need " + std::to_string(bytes >> 20) +
            " MiB of samples; a WAV file holds at most 4095 MiB (fewer seconds or bars, or --format s16)";
    return false;
  }
  if (path == "-") {
    m_stream = stdout;
  } else {
    error = LRenderTargetProblem(path, inputs);
    if (!error.empty()) return false;
    int err = m_file.Create(LFolderOf(path));
    const int fd = err ? -1 : dup(m_file.Fd());
    if (!err && fd < 0) err = errno;
    if (!err && !(m_stream = fdopen(fd, "wb"))) err = errno, close(fd);
    if (err) {
      error = "cannot create " + path + ": " + std::strerror(err);
      return false;
    }
  }
  if (!m_writer.OpenStream(m_stream, sampleRate, channels, format, frames)) {
    error = m_writer.Error();
    return false;
  }
  return true;
}

bool LRenderOutput::Finish(std::string& error) {
  if (!m_writer.Finish()) {
    error = m_writer.Error() + " (" + (m_path == "-" ? std::string("standard output") : m_path) + ")";
    return false;
  }
  if (m_stream == stdout) return true;
  const bool closed = std::fclose(m_stream) == 0;
  m_stream = nullptr;
  const int err = closed ? m_file.Commit(m_path, true) : (errno ? errno : EIO);
  if (err) {
    error = "cannot write " + m_path + ": " + std::strerror(err);
    return false;
  }
  return true;
}
