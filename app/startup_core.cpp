#include "app/startup_core.h"

#include "settings/data_files.h"
#include "settings/ini_file.h"

#include <algorithm>

namespace tavrik {

namespace {
constexpr int kRerootedKeys = 61;  // one past the last slot, kept as the board always kept it
}

std::string RerootedSlotPath(std::string_view runDirectory, std::string_view stored) {
  // Both separators count: UTF-8 never has either byte inside a character.
  const auto separator = stored.find_last_of("\\/");
  const std::string_view name = separator == std::string_view::npos ? stored : stored.substr(separator + 1);
  std::string path(runDirectory);
  path += kSoundFolder;
  path += name;
  return path;
}

void RerootSlotPaths(const std::string& runDirectory) {
  const std::string file = runDirectory + std::string(kPathsFile);
  for (int key = 1; key <= kRerootedKeys; ++key) {
    const std::string name = SlotKey(key);
    WriteSetting(file, kSlotSection, name, RerootedSlotPath(runDirectory, ReadSetting(file, kSlotSection, name)));
  }
}

bool AnotherInstanceRuns(const std::vector<std::string>& runningNames, std::string_view ownName) {
  return std::count(runningNames.begin(), runningNames.end(), ownName) >= 2;
}

}  // namespace tavrik
