// Plays one sound file once, as the track would play it: through the chosen
// output, at the sound's level and the main volume. It has a player of its
// own, so a preview sounds over a running metronome instead of stopping it.
#pragma once

#include <memory>
#include <string>

#include "audio/SoundPlayer.h"

class LSoundPreview : public LSoundPlayerNotify {
 public:
  // unit: the output to play through; the system's (or the capture file
  // MORVANE_AUDIO_CAPTURE names) when null.
  explicit LSoundPreview(std::unique_ptr<LAudioOutputUnit> unit = nullptr);
  ~LSoundPreview() override;
  LSoundPreview(const LSoundPreview&) = delete;
  LSoundPreview& operator=(const LSoundPreview&) = delete;

  // Ends a preview still sounding, then plays the file at path at levelDb;
  // false when the file does not open or the output cannot be started.
  bool Play(const std::string& path, int levelDb);
  void Stop();
  bool IsPlaying() const { return m_player.IsPlaying(); }

 private:
  LSoundPlayer m_player;
};
