// The output-volume control: a horizontal track bar from -45 dB to 0 dB
// between a quiet and a loud speaker, built inside a host pane. The track
// bar's position is the level in decibels. Moving it shows the level as a
// percentage beside the thumb and sends the pane's id as a command.
#pragma once

#include <QObject>
#include <QString>

#include "soundfile/DB.h"

class QLabel;
class QSlider;
class QWidget;
class LCommandTarget;

class LVolumeSlider : public QObject {
 public:
  LVolumeSlider() = default;

  // Builds the icons and the track bar inside pane; commands go to target
  // under id.
  void Init(LCommandTarget& target, QWidget* pane, int id);
  void RelayoutControls();

  // Moves the track bar; sends no command.
  void SetLevel(const LdBLevel& level);
  LdBLevel GetLevel() const { return m_level; }
  LdBLevel GetMinimum() const { return m_minimum; }
  LdBLevel GetMaximum() const { return m_maximum; }

  QSlider* TrackBar() const { return m_trackBar; }
  QLabel* QuietIcon() const { return m_quiet; }
  QLabel* LoudIcon() const { return m_loud; }
  // "55%": where a level lies between minimum and maximum.
  static QString PercentText(int level, int minimum, int maximum);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ValueChanged(int position);

  LdBLevel m_level = 0;
  LdBLevel m_maximum = 0;
  LdBLevel m_minimum = -45;
  LCommandTarget* m_target = nullptr;
  int m_id = 0;
  QWidget* m_pane = nullptr;
  QLabel* m_quiet = nullptr;
  QSlider* m_trackBar = nullptr;
  QLabel* m_loud = nullptr;
};
