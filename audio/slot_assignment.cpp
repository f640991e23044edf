#include "audio/slot_assignment.h"

#include "settings/data_files.h"
#include "settings/ini_file.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <system_error>
#include <unistd.h>

namespace tavrik {

namespace {

constexpr std::string_view kSoundExtension = ".mp3";
constexpr std::size_t kMaxFileNameBytes = 255;

// Renames `from` to `to` only when `to` does not exist, in one step.
bool MoveWithoutReplacing(const std::string& from, const std::string& to) {
#ifdef RENAME_NOREPLACE
  if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
    return true;
  }
  if (errno != EINVAL && errno != ENOSYS) {
    return false;  // taken, or nothing to move
  }
#endif
  // A file system without that rename: a hard link fails on an existing name.
  if (link(from.c_str(), to.c_str()) != 0) {
    return false;
  }
  unlink(from.c_str());
  return true;
}

}  // namespace

bool CopyToTemporarySoundFile(const std::string& runDirectory, const std::string& chosen) {
  std::error_code error;
  const auto target = FsPath(runDirectory + std::string(kTemporarySoundFile));
  if (std::filesystem::equivalent(FsPath(chosen), target, error)) {
    return true;
  }
  return std::filesystem::copy_file(FsPath(chosen), target, std::filesystem::copy_options::overwrite_existing,
                                    error);
}

NameProblem CheckSoundName(std::string_view name) {
  if (name.empty()) {
    return NameProblem::Empty;
  }
  if (name.find_first_of("/\\") != std::string_view::npos) {
    return NameProblem::Separator;
  }
  if (name == "." || name == "..") {
    return NameProblem::DotName;
  }
  for (const char c : name) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
      return NameProblem::Unusable;
    }
  }
  if (name.size() + kSoundExtension.size() > kMaxFileNameBytes) {
    return NameProblem::Unusable;
  }
  return NameProblem::None;
}

AssignResult ConfirmSoundName(const std::string& runDirectory, int slot, const std::string& name) {
  if (CheckSoundName(name) != NameProblem::None) {
    return AssignResult::Refused;
  }
  const std::string path = runDirectory + std::string(kSoundFolder) + name + std::string(kSoundExtension);
  if (!MoveWithoutReplacing(runDirectory + std::string(kTemporarySoundFile), path)) {
    return AssignResult::NameTaken;
  }
  WriteSetting(runDirectory + std::string(kPathsFile), kSlotSection, SlotKey(slot), path);
  WriteSetting(runDirectory + std::string(kTitlesFile), kSlotSection, SlotKey(slot), name);
  return AssignResult::Assigned;
}

}  // namespace tavrik
