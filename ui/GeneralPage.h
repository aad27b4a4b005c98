// The "General" options page: the sound output device, its list kept current.
#pragma once

#include <atomic>
#include <memory>
#include <string>

#include "ui/PropertySheet.h"

class LOutputDeviceWatch;
class QComboBox;
class QTimer;

class LGeneralPage : public LPropertyPage {
  Q_DECLARE_TR_FUNCTIONS(LGeneralPage)

 public:
  enum ControlId { kIdDevice = 8602, kIdDeviceLabel = 8603, kIdNote = 8604 };
  LGeneralPage();
  ~LGeneralPage() override;
  void InitDialog() override;
  bool CmOk() override;
  void CmHelp() override;
  QComboBox* DeviceList() const { return m_devices; }
  // Reads the device list afresh and shows it if it changed, keeping the
  // chosen device by name (the default output when it is gone). While the
  // page is shown it runs as PipeWire announces a device coming or going,
  // and when a timer finds ALSA's sound cards changed (nothing announces
  // those), so a device plugged in or pulled out meanwhile shows up at once.
  void RefreshDevices();

 private:
  // The timer's cheap look: ALSA's cards, a PipeWire daemon started since,
  // a change heard while the list was open.
  void CheckDevices();

  static constexpr int kRefreshMs = 2000;
  QComboBox* m_devices;
  QTimer* m_refresh;
  std::string m_cards;
  bool m_changePending = false;
  std::atomic<bool> m_posted{false};
  // Last: stopped before anything its thread reaches is gone.
  std::unique_ptr<LOutputDeviceWatch> m_watch;
};
