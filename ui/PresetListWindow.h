// The list of saved presets: name, tempo, measure and subdivision.
#pragma once

#include "model/Rhythm.h"
#include "store/Presets.h"
#include "ui/PresetListWindowBase.h"

class LPresetListWindow : public LPresetListWindowBase {
 public:
  enum { kColName, kColTempo, kColMeasure, kColSubdiv, kColPractice, kColId };
  explicit LPresetListWindow(LProfile& profile);
  void FillList() override;
  // The Measure column: a custom measure by its name, an edited pattern
  // marked ("9(2+2+2+3)", "4*").
  static QString MeasureText(const LRecord& rec, int index);

 protected:
  void InitDialog() override;
  void CmProperties() override;
  bool DeleteRecord(const std::string& key) override;
  // Runs the preset dialog on a preset; a test replaces it.
  virtual void EditPreset(const std::string& key, const std::string& name, const LPresetValues& values);

  // A name from a model table, or the number itself for an index the table
  // does not have (a record edited by hand).
  static QString TableName(const char* const* names, int index);

  LUserPresetList m_records;
  LRhythm m_editedRhythm;  // of the preset CmProperties opened
};
