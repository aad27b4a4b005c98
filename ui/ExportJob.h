// One click-track render on a worker thread, so the window stays alive and a
// long export can show its progress and be cancelled. It runs morvane-render's
// own renderer (tools/ClickTrackRender.h), which writes a temporary file and
// puts it in place only when it is complete: a cancelled or failed render
// leaves nothing behind.
#pragma once

#include <atomic>
#include <functional>
#include <string>
#include <thread>

#include "tools/RenderOptions.h"

class LExportJob {
 public:
  // Asked on the worker thread before each block with the frames done and
  // the total; false cancels. Must only touch what is safe across threads.
  using Continue = std::function<bool(long long done, long long total)>;

  LExportJob() = default;
  // Cancels a running render and waits for it.
  ~LExportJob();
  LExportJob(const LExportJob&) = delete;
  LExportJob& operator=(const LExportJob&) = delete;

  // soundFolder holds the shipped sounds (for options without a sound file).
  void Start(const RenderOptions& options, const std::string& soundFolder, Continue keepGoing = {});
  void Cancel() { m_cancel = true; }
  // Any thread: the share done (0..1) and whether the worker has ended.
  double Share() const { return m_share.load(); }
  bool Finished() const { return m_finished.load(); }
  // Waits for the worker; then the results below hold.
  void Wait();

  bool Written() const { return m_written; }
  bool Cancelled() const { return m_cancelled; }
  const std::string& Error() const { return m_error; }

 private:
  std::thread m_worker;
  std::atomic<bool> m_cancel{false};
  std::atomic<bool> m_finished{false};
  std::atomic<double> m_share{0.0};
  // Written by the worker before m_finished; read after Wait().
  bool m_written = false;
  bool m_cancelled = false;
  std::string m_error;
};
