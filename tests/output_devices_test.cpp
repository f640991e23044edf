// Choosing the output device: the list, the stored choice and the position
// shown for it.
#include "audio/output_devices.h"
#include "settings/data_files.h"
#include "settings/ini_file.h"
#include "tests/support/recording_audio_library.h"
#include "tests/support/sound_fixtures.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

namespace tavrik {
namespace {

TEST(OutputDevicesTest, ListHoldsEveryDeviceInNumberOrder) {
  test::RecordingAudioLibrary library;
  library.devices = {"Speakers", "Headset", "Virtual mic"};
  const auto devices = ListOutputDevices(library);
  ASSERT_EQ(devices.size(), 3u);
  EXPECT_EQ(devices[0].name, "Speakers");
  EXPECT_EQ(devices[2].number, 3);
}

TEST(OutputDevicesTest, StoredChoiceOpensItsDeviceAndPicksItsPosition) {
  struct Case {
    const char* stored;  // nullptr: no key
    const char* init;    // the library call made
    int position;        // what is shown, after clamping to three devices
  };
  const Case cases[] = {
      {nullptr, "Init -1 44100", 0},  // first start: default device, first item shown
      {"", "Init -1 44100", 0},
      {"2", "Init 2 44100", 1},
      {"5", "Init 5 44100", 2},     // gone: the open fails, the last item is shown
      {"0", "Init 0 44100", -1},    // no item
      {"abc", "Init 0 44100", -1},  // not a number reads as 0
      {"-1", "Init -1 44100", -1},
      {" 3x", "Init 3 44100", 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored ? c.stored : "(none)");
    const std::string run = test::MakeTempFolder("device");
    ASSERT_EQ(mkdir((run + "/data").c_str(), 0755), 0);
    if (c.stored != nullptr) {
      WriteSetting(run + std::string(kConfigFile), kDeviceSection, kDeviceKey, c.stored);
    }
    test::RecordingAudioLibrary library;
    const int position = OpenStoredDevice(library, run);
    EXPECT_EQ(library.calls, (std::vector<std::string>{c.init}));
    EXPECT_EQ(ClampListPosition(position, 3), c.position);
  }
}

TEST(OutputDevicesTest, ListPositionIsClamped) {
  struct Case {
    int position;
    int count;
    int shown;
  };
  for (const Case c : {Case{0, 3, 0}, Case{2, 3, 2}, Case{3, 3, 2}, Case{127, 3, 2}, Case{-1, 3, -1},
                       Case{-2, 3, -1}, Case{0, 0, -1}}) {
    EXPECT_EQ(ClampListPosition(c.position, c.count), c.shown) << c.position << " of " << c.count;
  }
}

TEST(OutputDevicesTest, ChangeReopensAndStoresTheChoice) {
  const std::string run = test::MakeTempFolder("change");
  ASSERT_EQ(mkdir((run + "/data").c_str(), 0755), 0);
  test::RecordingAudioLibrary library;
  ChangeOutputDevice(library, run, 2);
  EXPECT_EQ(library.calls, (std::vector<std::string>{"Free", "Init 2 44100"}));
  EXPECT_EQ(ReadSetting(run + std::string(kConfigFile), "设置", "通道"), "2");
}

}  // namespace
}  // namespace tavrik
