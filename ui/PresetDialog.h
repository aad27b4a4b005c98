// Adds a preset or changes one: its name, tempo, measure and subdivision.
#pragma once

#include <QCoreApplication>
#include <QDialog>
#include <optional>
#include <string>

#include "model/Rhythm.h"

class LProfile;
class QComboBox;
class QLineEdit;

class LPresetDialog : public QDialog {
  Q_DECLARE_TR_FUNCTIONS(LPresetDialog)

 public:
  enum ControlId {
    kIdName = 101,
    kIdNameLabel = 102,
    kIdTempo = 103,
    kIdTempoLabel = 104,
    kIdMeasure = 105,
    kIdMeasureLabel = 106,
    kIdSubDiv = 107,
    kIdSubDivLabel = 108,
  };
  static constexpr const char* kNameMissing = QT_TRANSLATE_NOOP("LPresetDialog", "Please enter the preset name.");
  static constexpr const char* kTempoInvalid =
      QT_TRANSLATE_NOOP("LPresetDialog", "Please enter a tempo from 10 to 280.");

  // oldName null or empty: a new preset.
  LPresetDialog(LProfile& profile, const char* oldName, int tempo, int measure, int subdiv, QWidget* parent = nullptr);

  // Changes the record of this key rather than the first one found by the
  // old name, so that of two presets sharing a name the one the user
  // picked is the one changed.
  void SetRecordKey(const std::string& key) { m_key = key; }
  // The window's bar, which a new preset keeps: a custom measure or an
  // edited pattern is listed by its name ("9(2+2+2+3)", "4*") after today's
  // measures, and chosen.
  void SetRhythm(const LRhythm& rhythm);

  // Runs the dialog modally; true when it closed with OK.
  bool Open(QWidget* parent);

  // OK: checks the fields, writes the preset and closes; false (dialog
  // left open, a message at the field) when a field is not acceptable.
  bool CmOk();
  void CmHelp();

  QLineEdit* NameField() const { return m_name; }
  QLineEdit* TempoField() const { return m_tempo; }
  QComboBox* MeasureList() const { return m_measure; }
  QComboBox* SubDivList() const { return m_subdiv; }
  int Tempo() const { return m_tempoValue; }
  int Measure() const { return m_measureIndex; }
  int SubDiv() const { return m_subdivIndex; }

  // The leading decimal digits of text as a number; no digits give 0, an
  // endless run of digits gives a number past any tempo.
  static int ParseTempo(const QString& text);

 private:
  void InitDialog();

  LProfile& m_profile;
  std::string m_oldName;
  std::string m_key;
  int m_tempoValue;
  int m_measureIndex;
  std::optional<LRhythm> m_rhythm;
  int m_rhythmItem = -1;  // the list's item naming m_rhythm, if any
  int m_subdivIndex;
  QLineEdit* m_name = nullptr;
  QLineEdit* m_tempo = nullptr;
  QComboBox* m_measure = nullptr;
  QComboBox* m_subdiv = nullptr;
};
