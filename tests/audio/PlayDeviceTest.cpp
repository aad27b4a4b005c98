#include <gtest/gtest.h>

#include <cstring>

#include "audio/PlayDevice.h"
#include "store/Settings.h"
#include "tests/audio/AudioTestSupport.h"
#include "tests/support/TempDir.h"

namespace {

using Device = LSoundPlayDeviceQuery::Device;

// Two outputs with an input-only device and a nameless one between them.
test::ScriptedDevices TwoOutputs(unsigned int defaultId = 12) {
  return test::ScriptedDevices(
      {{10, "Built-in Output", 2}, {11, "USB Microphone", 0}, {13, "", 2}, {12, "USB Headset", 2}}, defaultId);
}

TEST(PlayDevice, ListsNamedOutputsInPlatformOrder) {
  auto devices = TwoOutputs();
  EXPECT_EQ(LSoundPlayDevice::GetChoices(),
            (std::vector<std::string>{"Default Playback Device", "Built-in Output", "USB Headset"}));
  char name[kSettingTextSize];
  LSoundPlayDevice::GetListDeviceName(3, name);
  EXPECT_STREQ(name, "");
  EXPECT_EQ(LSoundPlayDevice::GetListDeviceIDAtIndex(2), 12u);
  EXPECT_EQ(LSoundPlayDevice::GetListDeviceIDAtIndex(3), kNoPlayDevice);
  EXPECT_EQ(LSoundPlayDevice::GetDeviceIndexById(12), 2);
  EXPECT_EQ(LSoundPlayDevice::GetDeviceIndexById(11), 0);
  // Index 0 follows the system default at each call.
  EXPECT_EQ(LSoundPlayDevice().m_index, 2);
  devices.m_default = 10;
  EXPECT_EQ(LSoundPlayDevice::GetListDeviceIDAtIndex(0), 10u);
  EXPECT_EQ(LSoundPlayDevice().m_index, 1);
  devices.m_default = kNoPlayDevice;
  EXPECT_EQ(LSoundPlayDevice().m_index, 0);
}

// A device among the leading (PipeWire, JACK) ones is found, by name or
// position, without the whole list: PortAudio is not even started for it.
TEST(PlayDevice, LeadingDevicesResolveWithoutTheWholeList) {
  auto devices = TwoOutputs();
  devices.leading = 1;
  EXPECT_EQ(LSoundPlayDevice::GetListDeviceIndex("built-in output"), 1);
  EXPECT_EQ(LSoundPlayDevice::GetListDeviceIDAtIndex(1), 10u);
  EXPECT_EQ(devices.whole, 0);
  EXPECT_EQ(LSoundPlayDevice::GetListDeviceIndex("USB Headset"), 2);
  EXPECT_EQ(LSoundPlayDevice::GetListDeviceIDAtIndex(2), 12u);
  EXPECT_EQ(devices.whole, 2);
}

TEST(PlayDevice, NameLookup) {
  auto devices = TwoOutputs();
  struct Case {
    const char* name;
    int index;
  } cases[] = {
      {"default playback device", 0}, {"usb headset", 2}, {"USB Microphone", 0}, {"", 0}, {"Gone", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(LSoundPlayDevice::GetListDeviceIndex(c.name), c.index) << c.name;
  // A device named like the default entry in other letters is found as itself.
  test::ScriptedDevices odd({{1, "Default playback device", 2}}, 1);
  EXPECT_EQ(LSoundPlayDevice::GetListDeviceIndex("DEFAULT PLAYBACK DEVICE"), 1);
}

TEST(PlayDevice, AFailedQueryKeepsWhatWasFound) {
  test::ScriptedDevices devices({{1, "First", 2}, {2, "Second", 2}}, 1, /*complete=*/false);
  EXPECT_EQ(LSoundPlayDevice::GetChoices().size(), 3u);
  test::ScriptedDevices none({}, kNoPlayDevice, false);
  EXPECT_EQ(LSoundPlayDevice::GetChoices().size(), 1u);
}

TEST(PlayDevice, ChoiceIsStoredByNameAndResolvedAgain) {
  test::IsolatedHome home;
  auto devices = TwoOutputs();
  EXPECT_EQ(LSettingGetSoundPlayDevice("Settings", "SoundOutDevice"), LSoundPlayDevice(0, 0, 0));
  LSettingSetSoundPlayDevice("Settings", "SoundOutDevice", LSoundPlayDevice(2, 3, 4));
  char stored[kSettingTextSize];
  _LUserSettingGetString("Settings", "SoundOutDevice", "", stored);
  EXPECT_STREQ(stored, "USB Headset");
  EXPECT_EQ(LSettingGetSoundPlayDevice("Settings", "SoundOutDevice"), LSoundPlayDevice(2, 0, 0));
  {
    // The device moved in the platform's order: still found by its name.
    test::ScriptedDevices moved({{12, "USB Headset", 2}, {10, "Built-in Output", 2}}, 10);
    EXPECT_EQ(LSettingGetSoundPlayDevice("Settings", "SoundOutDevice").m_index, 1);
  }
  LSettingSetSoundPlayDevice("Settings", "SoundOutDevice", LSoundPlayDevice(5, 0, 0));
  _LUserSettingGetString("Settings", "SoundOutDevice", "x", stored);
  EXPECT_STREQ(stored, "");
  EXPECT_EQ(LSettingGetSoundPlayDevice("Settings", "SoundOutDevice").m_index, 0);
}

// A stored device no longer listed is named, so the user can be told the
// default plays instead; the default and listed devices are not.
TEST(PlayDevice, AStoredDeviceThatIsGoneIsNamed) {
  test::IsolatedHome home;
  auto devices = TwoOutputs();
  const struct {
    const char* stored;
    const char* missing;
  } cases[] = {{"", ""},
               {"Default Playback Device", ""},
               {"[Default Sound Out]", ""},
               {"usb headset", ""},
               {"Bluetooth Speaker", "Bluetooth Speaker"}};
  for (const auto& c : cases) {
    LUserSettingSetString("Settings", "SoundOutDevice", c.stored);
    EXPECT_EQ(LSettingGetMissingSoundPlayDevice("Settings", "SoundOutDevice"), c.missing) << c.stored;
  }
}

}  // namespace
