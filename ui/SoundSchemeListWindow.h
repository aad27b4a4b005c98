// The list of saved sound schemes, by name.
#pragma once

#include "store/Presets.h"
#include "ui/PresetListWindowBase.h"

class LSoundSchemeListWindow : public LPresetListWindowBase {
 public:
  explicit LSoundSchemeListWindow(LProfile& profile);
  void FillList() override;

 protected:
  void InitDialog() override;
  void CmProperties() override;
  bool DeleteRecord(const std::string& key) override;
  // Runs the scheme dialog on a scheme; a test replaces it.
  virtual void EditScheme(const std::string& key, const std::string& name);

  LSoundSchemeRecordList m_records;
};
