#include "ui/GeneralPage.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>
#include <algorithm>

#include "audio/PlayDevice.h"
#include "ui/DialogLayout.h"
#include "ui/HelpWindow.h"

namespace {
constexpr const char* kSection = "Settings";
constexpr const char* kKey = "SoundOutDevice";
}  // namespace

LGeneralPage::LGeneralPage() {
  m_devices = LNamed(new QComboBox, kIdDevice);
  m_devices->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  auto* row = new QHBoxLayout;
  row->addWidget(LLabel(tr("Sound &Output Device:"), kIdDeviceLabel, m_devices));
  row->addWidget(m_devices, 1);
  // Closing the sheet restarts a playing metronome on the chosen output.
  auto* note = LLabel(tr("The chosen output is used as soon as you press OK."), kIdNote);
  note->setWordWrap(true);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(row);
  layout->addWidget(note);
  layout->addStretch(1);
}

void LGeneralPage::InitDialog() {
  const LSoundPlayDevice device = LSettingGetSoundPlayDevice(kSection, kKey);
  m_devices->clear();
  for (const std::string& name : LSoundPlayDevice::GetChoices()) m_devices->addItem(QString::fromStdString(name));
  m_devices->setCurrentIndex(device.m_index >= 0 && device.m_index < m_devices->count() ? device.m_index : 0);
  m_devices->setMinimumWidth(m_devices->sizeHint().width());  // every device name whole
}

bool LGeneralPage::CmOk() {
  // The channels are not chosen here: the stored ones are kept.
  LSoundPlayDevice device = LSettingGetSoundPlayDevice(kSection, kKey);
  device.m_index = std::max(0, m_devices->currentIndex());
  LSettingSetSoundPlayDevice(kSection, kKey, device);
  return true;
}

void LGeneralPage::CmHelp() { LShowHelp(this, QStringLiteral("general")); }
