#include "settings/data_files.h"

#include <climits>
#include <unistd.h>

namespace tavrik {

std::string RunDirectory() {
  char buffer[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer);
  if (length <= 0) {
    return ".";
  }
  std::string path(buffer, static_cast<std::size_t>(length));
  const auto slash = path.find_last_of('/');
  if (slash == std::string::npos) {
    return ".";
  }
  if (slash == 0) {
    return "";  // the root folder; suffixes begin with their own slash
  }
  return path.substr(0, slash);
}

}  // namespace tavrik
