#include "audio/PlayDevice.h"

#include <strings.h>

#include <cstring>

#include "audio/CaptureOutputUnit.h"
#include "audio/SystemOutputUnit.h"
#include "store/Settings.h"

const char kDefaultPlaybackDeviceName[] = "Default Playback Device";

namespace {

LSoundPlayDeviceQuery* g_testQuery = nullptr;

// An older spelling of the default device found in stored settings.
constexpr char kLegacyDefaultName[] = "[Default Sound Out]";

// The device's own name in a list name such as "ALSA: hw:0,0".
const char* WithoutSystem(const std::string& listName) {
  for (const char* prefix : {"ALSA: ", "JACK: ", "OSS: "})
    if (listName.rfind(prefix, 0) == 0) return listName.c_str() + std::strlen(prefix);
  return listName.c_str();
}

}  // namespace

LSoundPlayDeviceQuery& LSoundPlayDeviceCurrentQuery() {
  if (g_testQuery) return *g_testQuery;
  if (LCaptureOutputUnit::IsSelected()) return LCaptureOutputUnit::DeviceQuery();
  return LSystemDeviceQuery();
}

void LSoundPlayDeviceSetQuery(LSoundPlayDeviceQuery* query) { g_testQuery = query; }

void LSoundPlayDeviceRescan() { LSoundPlayDeviceCurrentQuery().Rescan(); }

LSoundPlayDeviceList::LSoundPlayDeviceList(bool leadingOnly) {
  std::vector<LSoundPlayDeviceQuery::Device> devices;
  if (leadingOnly)
    LSoundPlayDeviceCurrentQuery().EnumerateLeading(devices);
  else
    LSoundPlayDeviceCurrentQuery().Enumerate(devices);
  for (const auto& d : devices) {
    if (d.outputChannels < 1) continue;
    const size_t n = LUtf8PrefixLength(d.name.c_str(), kSettingTextSize - 1);
    m_items.push_back({d.id, d.name.substr(0, n)});
  }
}

const LSoundPlayDeviceListItem* LSoundPlayDeviceList::At(int position) const {
  if (position < 1) return nullptr;
  int named = 0;
  for (const auto& item : m_items) {
    if (item.name.empty()) continue;
    if (++named == position) return &item;
  }
  return nullptr;
}

int LSoundPlayDeviceList::Count() const {
  int named = 0;
  for (const auto& item : m_items) named += item.name.empty() ? 0 : 1;
  return named;
}

LSoundPlayDevice::LSoundPlayDevice() {
  const unsigned int id = LSoundPlayDeviceCurrentQuery().DefaultOutputDevice();
  m_index = id == kNoPlayDevice ? 0 : GetDeviceIndexById(id);
}

unsigned int LSoundPlayDevice::GetListDeviceIDAtIndex(int index) {
  if (index == 0) return LSoundPlayDeviceCurrentQuery().DefaultOutputDevice();
  // A PipeWire or JACK device is found without asking PortAudio.
  LSoundPlayDeviceList leading(true);
  if (const LSoundPlayDeviceListItem* item = leading.At(index)) return item->id;
  LSoundPlayDeviceList list;
  const LSoundPlayDeviceListItem* item = list.At(index);
  return item ? item->id : kNoPlayDevice;
}

int LSoundPlayDevice::GetListDeviceIndex(const char* name) {
  if (!name) return 0;
  if (std::strcmp(name, kDefaultPlaybackDeviceName) == 0) return 0;
  LSoundPlayDeviceList leading(true);
  for (int position = 1; position <= leading.Count(); ++position)
    if (::strcasecmp(leading.At(position)->name.c_str(), name) == 0) return position;
  LSoundPlayDeviceList list;
  for (int position = 1; position <= list.Count(); ++position)
    if (::strcasecmp(list.At(position)->name.c_str(), name) == 0) return position;
  // Names stored before the list named each device's system ("ALSA: ").
  for (int position = 1; position <= list.Count(); ++position)
    if (::strcasecmp(WithoutSystem(list.At(position)->name), name) == 0) return position;
  return 0;
}

void LSoundPlayDevice::GetListDeviceName(int index, char* name) {
  if (index == 0) {
    LUtf8Copy(name, kSettingTextSize, kDefaultPlaybackDeviceName);
    return;
  }
  LSoundPlayDeviceList list;
  const LSoundPlayDeviceListItem* item = list.At(index);
  LUtf8Copy(name, kSettingTextSize, item ? item->name.c_str() : "");
}

int LSoundPlayDevice::GetDeviceIndexById(unsigned long id) {
  LSoundPlayDeviceList list;
  for (int position = 1; position <= list.Count(); ++position)
    if (list.At(position)->id == id) return position;
  return 0;
}

std::vector<std::string> LSoundPlayDevice::GetChoices() {
  std::vector<std::string> choices{kDefaultPlaybackDeviceName};
  LSoundPlayDeviceList list;
  for (int position = 1; position <= list.Count(); ++position) choices.push_back(list.At(position)->name);
  return choices;
}

LSoundPlayDevice LSettingGetSoundPlayDevice(const char* section, const char* key) {
  char name[kSettingTextSize];
  _LUserSettingGetString(section, key, "", name);
  if (std::strcmp(name, kLegacyDefaultName) == 0) LUtf8Copy(name, sizeof name, kDefaultPlaybackDeviceName);
  return LSoundPlayDevice(name[0] ? LSoundPlayDevice::GetListDeviceIndex(name) : 0, 0, 0);
}

std::string LSettingGetMissingSoundPlayDevice(const char* section, const char* key) {
  char name[kSettingTextSize];
  _LUserSettingGetString(section, key, "", name);
  if (!name[0] || std::strcmp(name, kLegacyDefaultName) == 0 || std::strcmp(name, kDefaultPlaybackDeviceName) == 0)
    return {};
  return LSoundPlayDevice::GetListDeviceIndex(name) == 0 ? name : std::string();
}

void LSettingSetSoundPlayDevice(const char* section, const char* key, const LSoundPlayDevice& device) {
  char name[kSettingTextSize];
  LSoundPlayDevice::GetListDeviceName(device.m_index, name);
  LUserSettingSetString(section, key, name);
}

void LSettingSetSoundPlayDeviceName(const char* section, const char* key, const std::string& name) {
  char stored[kSettingTextSize];
  LUtf8Copy(stored, sizeof stored, name.c_str());
  LUserSettingSetString(section, key, stored);
}
