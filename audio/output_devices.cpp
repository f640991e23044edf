#include "audio/output_devices.h"

#include "audio/audio_library.h"
#include "settings/data_files.h"
#include "settings/ini_file.h"
#include "settings/setting_number.h"

namespace tavrik {

namespace {
constexpr int kMaxDevices = 128;
}

std::vector<OutputDevice> ListOutputDevices(AudioLibrary& library) {
  std::vector<OutputDevice> devices;
  for (int number = 1; number <= kMaxDevices; ++number) {
    AudioDeviceInfo info;
    if (library.GetDeviceInfo(number, &info)) {
      devices.push_back({info.name, number});
    }
  }
  return devices;
}

int OpenStoredDevice(AudioLibrary& library, const std::string& runDirectory) {
  const std::string stored = ReadSetting(runDirectory + std::string(kConfigFile), kDeviceSection, kDeviceKey);
  if (stored.empty()) {
    library.Init(kDefaultDevice, kOutputFrequency);
    return 0;
  }
  const int device = ReadSettingNumber(stored);
  library.Init(device, kOutputFrequency);
  return device - 1;
}

void ChangeOutputDevice(AudioLibrary& library, const std::string& runDirectory, int deviceNumber) {
  library.Free();
  library.Init(deviceNumber, kOutputFrequency);
  WriteSetting(runDirectory + std::string(kConfigFile), kDeviceSection, kDeviceKey, std::to_string(deviceNumber));
}

int ClampListPosition(int position, int itemCount) {
  if (position < 0 || itemCount <= 0) {
    return -1;
  }
  return position >= itemCount ? itemCount - 1 : position;
}

}  // namespace tavrik
