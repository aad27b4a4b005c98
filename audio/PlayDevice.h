// The audio output devices the user can choose from, and the choice itself.
// A choice is stored by the device's name and resolved afresh at every use,
// so an unplugged device falls back to the default output and a device that
// moved in the system's order is still found.
#pragma once

#include <string>
#include <vector>

// Identifier that no device has: opening it fails.
constexpr unsigned int kNoPlayDevice = 0xFFFFFFFFu;
// Name of list index 0, shown and stored.
extern const char kDefaultPlaybackDeviceName[];

// What the platform tells about its devices. Production code asks PipeWire and PortAudio
// (or the capture device); tests script their own lists.
class LSoundPlayDeviceQuery {
 public:
  struct Device {
    unsigned int id = kNoPlayDevice;
    std::string name;
    int outputChannels = 0;
  };
  virtual ~LSoundPlayDeviceQuery() = default;
  // All devices in the platform's order, inputs included. A device whose
  // details cannot be read ends the list (returned false; the devices
  // already read stay). False with an empty list: no list at all.
  virtual bool Enumerate(std::vector<Device>& devices) = 0;
  // The devices that lead the list and are cheap to ask for (PipeWire's and
  // JACK's, not PortAudio's, whose first use costs a round of connections
  // to every sound server): the list Enumerate gives, cut short. All of
  // them where a query has no such split.
  virtual void EnumerateLeading(std::vector<Device>& devices) { Enumerate(devices); }
  // The system's current default output device, kNoPlayDevice when none.
  virtual unsigned int DefaultOutputDevice() = 0;
  // Reads again the lists a query keeps (PortAudio's), where it can.
  virtual void Rescan() {}
};

// The query in use: one installed by a test, else the capture device when
// MORVANE_AUDIO_CAPTURE names a file, else PipeWire and PortAudio.
LSoundPlayDeviceQuery& LSoundPlayDeviceCurrentQuery();
// Tests: installs (or with nullptr removes) a scripted query.
void LSoundPlayDeviceSetQuery(LSoundPlayDeviceQuery* query);
// The current query's Rescan(): for a device chooser being shown, or told
// that the sound cards changed; it may take a few hundred milliseconds.
void LSoundPlayDeviceRescan();

struct LSoundPlayDeviceListItem {
  unsigned int id;
  std::string name;  // at most 259 bytes
};

// Devices with at least one output, in platform order; built afresh each time.
class LSoundPlayDeviceList {
 public:
  // leadingOnly: only the devices EnumerateLeading gives (a prefix of the
  // whole list, positions alike).
  explicit LSoundPlayDeviceList(bool leadingOnly = false);
  // Positions are 1-based and count only named items.
  const LSoundPlayDeviceListItem* At(int position) const;
  int Count() const;
  const std::vector<LSoundPlayDeviceListItem>& Items() const { return m_items; }

 private:
  std::vector<LSoundPlayDeviceListItem> m_items;
};

class LSoundPlayDevice {
 public:
  // Index of the system's current default output (0 when it is not listed),
  // channels 0 and 0.
  LSoundPlayDevice();
  LSoundPlayDevice(int index, int left, int right) : m_index(index), m_left(left), m_right(right) {}

  static unsigned int GetListDeviceIDAtIndex(int index);
  static int GetListDeviceIndex(const char* name);
  // Copies at most 259 bytes and a NUL into name (260 bytes).
  static void GetListDeviceName(int index, char* name);
  static int GetDeviceIndexById(unsigned long id);
  // "Default Playback Device" and then every named device: what a device
  // chooser shows, index for index.
  static std::vector<std::string> GetChoices();

  bool operator==(const LSoundPlayDevice&) const = default;

  int m_index = 0;
  int m_left = 0;
  int m_right = 0;
};

LSoundPlayDevice LSettingGetSoundPlayDevice(const char* section, const char* key);
// The device name stored under section/key when no listed device has it any
// more (the default output plays instead); empty when it is listed or is the
// default.
std::string LSettingGetMissingSoundPlayDevice(const char* section, const char* key);
void LSettingSetSoundPlayDevice(const char* section, const char* key, const LSoundPlayDevice& device);
// Stores a device by the name a chooser showed (at most 259 bytes kept).
void LSettingSetSoundPlayDeviceName(const char* section, const char* key, const std::string& name);
