// The "General" options page: the sound output device.
#pragma once

#include "ui/PropertySheet.h"

class QComboBox;

class LGeneralPage : public LPropertyPage {
  Q_DECLARE_TR_FUNCTIONS(LGeneralPage)

 public:
  enum ControlId { kIdDevice = 8602, kIdDeviceLabel = 8603, kIdNote = 8604 };
  LGeneralPage();
  void InitDialog() override;
  bool CmOk() override;
  void CmHelp() override;
  QComboBox* DeviceList() const { return m_devices; }

 private:
  QComboBox* m_devices;
};
