// The audio output through a PipeWire daemon: one playback stream of its own
// (application "Morvane", media role Music, a node of its own in mixers),
// about 10 ms of latency asked for, rate and channel conversion left to
// PipeWire. The stream is connected inactive when it is made and activated
// at Start, so the first frame rendered is the first frame heard; stopped,
// it is inactive and PipeWire does not schedule it at all.
#pragma once

#include <atomic>
#include <memory>

#include "audio/OutputUnit.h"

class LPipeWireOutputUnit : public LAudioOutputUnit {
 public:
  // Open()'s node for the session manager's default sink.
  static constexpr unsigned int kDefaultSink = 0xFFFFFFFFu;

  LPipeWireOutputUnit();
  ~LPipeWireOutputUnit() override;

  // Connects to the daemon; node is a sink's object.serial or kDefaultSink.
  // False when no daemon answers.
  bool Open(unsigned int node) override;
  void Close() override;
  // False once the daemon went away: the next Open connects afresh.
  bool IsOpen() const override;
  // A mono stream is written to both front channels by RenderDevice itself;
  // PipeWire maps the stereo pair onto the sink.
  int DeviceChannels() const override { return 2; }
  int NativeRate() const override {
    const int graph = m_graphRate.load(std::memory_order_relaxed);
    return graph > 0 ? graph : m_rate;
  }
  int LatencyFrames() const override { return m_rate / 100; }
  bool Initialize() override;
  void Uninitialize() override;
  bool Start() override;
  void Stop() override;

  struct Pw;  // the PipeWire objects and their listeners

  // PipeWire's threads.
  void OnProcess();
  void OnStreamState(int state);
  void OnDaemonLost();
  void OnGraphRate(int rate) { m_graphRate = rate; }

 private:
  std::unique_ptr<Pw> m_pw;
  unsigned int m_node = kDefaultSink;
  int m_streamState = 0;
  std::atomic<int> m_graphRate{0};
  std::atomic<bool> m_running{false};
  std::atomic<bool> m_lost{false};
  std::atomic<int> m_inProcess{0};
};
