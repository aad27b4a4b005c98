#include "ui/ExportJob.h"

#include "tools/ClickTrackRender.h"

LExportJob::~LExportJob() {
  Cancel();
  Wait();
}

void LExportJob::Start(const RenderOptions& options, const std::string& soundFolder, Continue keepGoing) {
  Wait();
  m_cancel = false;
  m_finished = false;
  m_share = 0.0;
  m_worker = std::thread([this, options, soundFolder, keepGoing = std::move(keepGoing)] {
    RenderSummary summary;
    std::string error;
    const bool written =
        RenderClickTrack(options, soundFolder, summary, error, [this, &keepGoing](long long done, long long total) {
          m_share = total > 0 ? static_cast<double>(done) / static_cast<double>(total) : 1.0;
          if (m_cancel) return false;
          return !keepGoing || keepGoing(done, total);
        });
    m_written = written;
    m_cancelled = summary.cancelled;
    m_error = written ? std::string() : error;
    m_finished = true;
  });
}

void LExportJob::Wait() {
  if (m_worker.joinable()) m_worker.join();
}
