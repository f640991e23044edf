#include "settings/ini_file.h"

#include <cerrno>
#include <climits>
#include <mutex>
#include <optional>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "settings/ini_document.h"
#include "settings/text_codec.h"

namespace tavrik {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr int kMaxLinkHops = 40;

// Closes a descriptor when it goes out of scope.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  ~FileDescriptor() {
    if (fd_ >= 0) {
      ::close(fd_);
    }
  }
  int get() const { return fd_; }
  // Closes now and reports whether everything reached the file.
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

// The whole content of the regular file `path`; nullopt when it cannot be read.
std::optional<std::string> ReadWholeFile(const std::string& path) {
  // O_NONBLOCK keeps a FIFO in the way from stalling the caller; it does
  // nothing to a regular file.
  FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (fd.get() < 0) {
    return std::nullopt;
  }
  struct stat info {};
  if (::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
    return std::nullopt;
  }
  std::string content;
  content.reserve(static_cast<std::size_t>(info.st_size));
  char buffer[65536];
  for (;;) {
    const ssize_t count = ::read(fd.get(), buffer, sizeof buffer);
    if (count < 0) {
      if (errno == EINTR) {
        continue;
      }
      return std::nullopt;
    }
    if (count == 0) {
      return content;
    }
    content.append(buffer, static_cast<std::size_t>(count));
  }
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t count = ::write(fd, bytes.data(), bytes.size());
    if (count < 0) {
      if (errno == EINTR) {
        continue;
      }
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(count));
  }
  return true;
}

std::string FolderOf(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) {
    return ".";
  }
  if (slash == 0) {
    return "/";
  }
  return path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Follows symbolic links until the path names something else or nothing;
// nullopt for a loop of links.
std::optional<std::string> ResolveLinks(std::string path) {
  for (int hop = 0; hop < kMaxLinkHops; ++hop) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
      return path;
    }
    char buffer[PATH_MAX];
    const ssize_t length = ::readlink(path.c_str(), buffer, sizeof buffer);
    if (length <= 0 || static_cast<std::size_t>(length) >= sizeof buffer) {
      return std::nullopt;
    }
    std::string target(buffer, static_cast<std::size_t>(length));
    if (target.front() == '/') {
      path = std::move(target);
    } else {
      path = FolderOf(path) + "/" + target;
    }
  }
  return std::nullopt;
}

// Puts `content` in place of `path` in one step: a temporary file in the same
// folder is written, flushed and renamed over it. On failure `path` is as it
// was and the temporary file is gone.
bool ReplaceFile(const std::string& path, std::string_view content, mode_t mode,
                 const struct stat* previous) {
  const std::string folder = FolderOf(path);
  std::string temporary = folder + "/." + NameOf(path) + ".XXXXXX";
  FileDescriptor fd(::mkstemp(temporary.data()));
  if (fd.get() < 0) {
    return false;
  }
  bool written = WriteAll(fd.get(), content) && ::fsync(fd.get()) == 0 &&
                 ::fchmod(fd.get(), mode) == 0;
  if (written && previous != nullptr &&
      (previous->st_uid != ::geteuid() || previous->st_gid != ::getegid())) {
    // Keep the owner of a file someone else made; losing it is no reason to fail.
    if (::fchown(fd.get(), previous->st_uid, previous->st_gid) != 0) {
      ::fchmod(fd.get(), mode & 0777);
    }
  }
  written = fd.Close() && written;
  if (!written || ::rename(temporary.c_str(), path.c_str()) != 0) {
    ::unlink(temporary.c_str());
    return false;
  }
  // Make the rename itself durable; the new content is in place either way.
  FileDescriptor folderFd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (folderFd.get() >= 0) {
    ::fsync(folderFd.get());
  }
  return true;
}

// Writes from this process are serialized so that two of them on one file do
// not lose each other's change.
std::mutex& WriteMutex() {
  static std::mutex mutex;
  return mutex;
}

}  // namespace

std::string ReadSetting(std::string_view file, std::string_view section, std::string_view key,
                        std::string_view defaultValue) {
  file = TrimSettingFileName(file);
  section = TrimSettingName(section);
  key = TrimSettingName(key);
  if (file.empty() || section.empty() || key.empty()) {
    return std::string(defaultValue);
  }
  const std::optional<std::string> bytes = ReadWholeFile(std::string(file));
  if (!bytes) {
    return std::string(defaultValue);
  }
  const DecodedSettingsText text = DecodeSettingsText(*bytes);
  const std::optional<std::string> value = FindIniValue(text.utf8, section, key);
  if (!value) {
    return std::string(defaultValue);
  }
  return std::string(CutAtCharBoundary(*value, kMaxSettingBytes));
}

bool WriteSetting(std::string_view file, std::string_view section, std::string_view key,
                  std::string_view value) {
  file = TrimSettingFileName(file);
  section = TrimSettingName(section);
  key = TrimSettingName(key);
  if (file.empty() || !IsWritableSectionName(section) || !IsWritableKeyName(key) ||
      !IsWritableValue(value)) {
    return false;
  }

  const std::lock_guard lock(WriteMutex());
  const std::optional<std::string> path = ResolveLinks(std::string(file));
  if (!path || NameOf(*path).empty()) {
    return false;
  }
  struct stat folderInfo {};
  if (::stat(FolderOf(*path).c_str(), &folderInfo) != 0 || !S_ISDIR(folderInfo.st_mode)) {
    return false;  // the data folder is never created here
  }

  struct stat info {};
  const bool exists = ::stat(path->c_str(), &info) == 0;
  if (!exists && errno != ENOENT) {
    return false;
  }
  std::string old;
  mode_t mode = 0644;
  if (exists) {
    if (!S_ISREG(info.st_mode) || ::access(path->c_str(), W_OK) != 0) {
      return false;
    }
    std::optional<std::string> bytes = ReadWholeFile(*path);
    if (!bytes) {
      return false;
    }
    old = std::move(*bytes);
    mode = info.st_mode & 07777;
  }

  const DecodedSettingsText text = DecodeSettingsText(old);
  std::string content;
  if (text.encoding == SettingsEncoding::Utf8WithBom) {
    content.append(kUtf8Bom);
  }
  // A GBK file comes back as UTF-8: every line is kept, in the new encoding.
  content.append(SetIniValue(text.utf8, section, key, value));
  if (exists && content == old) {
    return true;  // already so: start-up rewrites every slot path, mostly to the same text
  }
  return ReplaceFile(*path, content, mode, exists ? &info : nullptr);
}

}  // namespace tavrik
