#include "ui/GeneralPage.h"

#include <QComboBox>
#include <algorithm>

#include "audio/PlayDevice.h"
#include "ui/DialogLayout.h"
#include "ui/HelpWindow.h"

namespace {
constexpr const char* kSection = "Settings";
constexpr const char* kKey = "SoundOutDevice";
}  // namespace

LGeneralPage::LGeneralPage() : LPropertyPage(504, 88) {
  m_devices = LPlace(this, new QComboBox, kIdDevice, 252, 14, 234);
  LPlaceLabel(this, "Sound Output Device:", kIdDeviceLabel, 18, 16, 233, 18);
  LPlaceLabel(this, "Stop and play Morvane after changing the sound output device.", kIdNote, 18, 44, 468, 32);
}

void LGeneralPage::InitDialog() {
  const LSoundPlayDevice device = LSettingGetSoundPlayDevice(kSection, kKey);
  m_devices->clear();
  for (const std::string& name : LSoundPlayDevice::GetChoices()) m_devices->addItem(QString::fromStdString(name));
  m_devices->setCurrentIndex(device.m_index >= 0 && device.m_index < m_devices->count() ? device.m_index : 0);
}

bool LGeneralPage::CmOk() {
  // The channels are not chosen here: the stored ones are kept.
  LSoundPlayDevice device = LSettingGetSoundPlayDevice(kSection, kKey);
  device.m_index = std::max(0, m_devices->currentIndex());
  LSettingSetSoundPlayDevice(kSection, kKey, device);
  return true;
}

void LGeneralPage::CmHelp() { LShowHelp(this, QStringLiteral("general")); }
