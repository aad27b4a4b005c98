#include "ui/GeneralPage.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "audio/DeviceWatch.h"
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
  m_refresh = new QTimer(this);
  m_refresh->setInterval(kRefreshMs);
  connect(m_refresh, &QTimer::timeout, this, &LGeneralPage::CheckDevices);
}

LGeneralPage::~LGeneralPage() = default;

void LGeneralPage::InitDialog() {
  // Heard on the watch's thread, shown on this one.
  if (!m_watch)
    m_watch = std::make_unique<LOutputDeviceWatch>([this] {
      if (m_posted.exchange(true)) return;  // a burst of changes is one look
      QMetaObject::invokeMethod(
          this,
          [this] {
            m_posted = false;
            m_changePending = true;
            CheckDevices();
          },
          Qt::QueuedConnection);
    });
  m_cards = LAlsaCardsSignature();
  LSoundPlayDeviceRescan();  // PortAudio's ALSA list is read when it starts only
  const LSoundPlayDevice device = LSettingGetSoundPlayDevice(kSection, kKey);
  m_devices->clear();
  for (const std::string& name : LSoundPlayDevice::GetChoices()) m_devices->addItem(QString::fromStdString(name));
  m_devices->setCurrentIndex(device.m_index >= 0 && device.m_index < m_devices->count() ? device.m_index : 0);
  m_devices->setMinimumWidth(m_devices->sizeHint().width());  // every device name whole
  m_refresh->start();
}

void LGeneralPage::CheckDevices() {
  if (!isVisible() || m_devices->view()->isVisible()) return;  // never under an open list
  const bool reconnected = !m_watch->Connected() && m_watch->Connect();
  std::string cards = LAlsaCardsSignature();
  if (cards != m_cards) {
    m_cards = std::move(cards);
    LSoundPlayDeviceRescan();
    m_changePending = true;
  }
  if (!m_changePending && !reconnected) return;
  m_changePending = false;
  RefreshDevices();
}

void LGeneralPage::RefreshDevices() {
  QStringList names;
  for (const std::string& name : LSoundPlayDevice::GetChoices()) names << QString::fromStdString(name);
  QStringList shown;
  for (int i = 0; i < m_devices->count(); ++i) shown << m_devices->itemText(i);
  if (names == shown) return;
  const QString current = m_devices->currentText();
  m_devices->clear();
  m_devices->addItems(names);
  m_devices->setCurrentIndex(std::max(0, static_cast<int>(names.indexOf(current))));
  m_devices->setMinimumWidth(m_devices->sizeHint().width());
}

bool LGeneralPage::CmOk() {
  // By the name shown: the list may have changed since the page was filled.
  LSettingSetSoundPlayDeviceName(kSection, kKey, m_devices->currentText().toStdString());
  return true;
}

void LGeneralPage::CmHelp() { LShowHelp(this, QStringLiteral("general")); }
