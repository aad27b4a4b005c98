// The output-volume control: a horizontal track bar from -45 dB to 0 dB
// between a quiet and a loud speaker, built inside a host pane. The track
// bar's position is the level in decibels. Moving it shows the level as a
// percentage beside the thumb and sends the pane's id as a command.
#pragma once

#include <QCoreApplication>
#include <QObject>
#include <QString>

#include "soundfile/DB.h"

class QLabel;
class QSlider;
class QWidget;
class LCommandTarget;

class LVolumeSlider : public QObject {
  Q_DECLARE_TR_FUNCTIONS(LVolumeSlider)

 public:
  // The track bar's range.
  static constexpr int kMinimumDb = -45;
  static constexpr int kMaximumDb = 0;

  LVolumeSlider() = default;

  // Builds the icons and the track bar in a row inside pane; commands go
  // to target under id.
  void Init(LCommandTarget& target, QWidget* pane, int id);

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

 private:
  void ValueChanged(int position);
  void UpdateText();

  LdBLevel m_level = 0;
  LdBLevel m_maximum = kMaximumDb;
  LdBLevel m_minimum = kMinimumDb;
  LCommandTarget* m_target = nullptr;
  int m_id = 0;
  QWidget* m_pane = nullptr;
  QLabel* m_quiet = nullptr;
  QSlider* m_trackBar = nullptr;
  QLabel* m_loud = nullptr;
};
