// The process list from /proc: the file name of each process's executable.
#include "app/startup_core.h"

#include <dirent.h>
#include <unistd.h>

#include <climits>
#include <cstring>

namespace tavrik {

namespace {

constexpr std::string_view kDeleted = " (deleted)";

// The executable's file name of process `pid`, empty when it cannot be read
// (a process of another user, or one that just ended).
std::string ExecutableName(const std::string& exeLink) {
  char buffer[PATH_MAX];
  const ssize_t length = readlink(exeLink.c_str(), buffer, sizeof buffer);
  if (length <= 0) {
    return {};
  }
  std::string path(buffer, static_cast<std::size_t>(length));
  // An executable replaced by a new install while it runs keeps its name.
  if (path.size() > kDeleted.size() && path.compare(path.size() - kDeleted.size(), kDeleted.size(), kDeleted) == 0) {
    path.resize(path.size() - kDeleted.size());
  }
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::vector<std::string> RunningExecutableNames() {
  std::vector<std::string> names;
  DIR* proc = opendir("/proc");
  if (proc == nullptr) {
    return names;
  }
  while (const dirent* entry = readdir(proc)) {
    if (entry->d_name[0] < '0' || entry->d_name[0] > '9') {
      continue;
    }
    std::string name = ExecutableName(std::string("/proc/") + entry->d_name + "/exe");
    if (!name.empty()) {
      names.push_back(std::move(name));
    }
  }
  closedir(proc);
  return names;
}

std::string OwnExecutableName() {
  return ExecutableName("/proc/self/exe");
}

}  // namespace tavrik
