#include "settings/data_files.h"

namespace tavrik {

std::string SlotKey(int n) {
  return std::to_string(n);
}

std::filesystem::path FsPath(std::string_view utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

}  // namespace tavrik
