// The list of saved set lists: name and number of presets. Select makes one
// the window's set list; Edit opens it in the set-list dialog.
#pragma once

#include "model/SetList.h"
#include "ui/PresetListWindowBase.h"

class LSetListWindow : public LPresetListWindowBase {
 public:
  enum { kColName, kColCount, kColId };
  explicit LSetListWindow(LProfile& profile);
  void FillList() override;

 protected:
  void InitDialog() override;
  void CmProperties() override;
  bool DeleteRecord(const std::string& key) override;
  void CmHelp() override;

  LSetListList m_records;
};
