// The "General" options page: the sound output device, its list kept current.
#pragma once

#include "ui/PropertySheet.h"

class QComboBox;
class QTimer;

class LGeneralPage : public LPropertyPage {
  Q_DECLARE_TR_FUNCTIONS(LGeneralPage)

 public:
  enum ControlId { kIdDevice = 8602, kIdDeviceLabel = 8603, kIdNote = 8604 };
  LGeneralPage();
  void InitDialog() override;
  bool CmOk() override;
  void CmHelp() override;
  QComboBox* DeviceList() const { return m_devices; }
  // Reads the device list afresh and shows it if it changed, keeping the
  // chosen device by name (the default output when it is gone). A timer
  // calls it while the page is shown, so a device plugged in or pulled out
  // meanwhile shows up at once.
  void RefreshDevices();

 private:
  static constexpr int kRefreshMs = 2000;
  QComboBox* m_devices;
  QTimer* m_refresh;
};
