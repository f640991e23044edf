#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace tavrik {

// Files and folders under the run directory; each suffix is appended to the
// run directory as it stands.
inline constexpr std::string_view kPathsFile = "/data/路径.ini";
inline constexpr std::string_view kTitlesFile = "/data/标题.ini";
inline constexpr std::string_view kConfigFile = "/data/配置.ini";
inline constexpr std::string_view kHotkeyFile = "/data/热键.ini";
inline constexpr std::string_view kSkinFile = "/data/pf.ini";
inline constexpr std::string_view kAutostartFile = "/data/xzk.ini";
inline constexpr std::string_view kCustomSkinPicture = "/data/zdpf/皮肤.jpg";
inline constexpr std::string_view kCleanupScript = "/data/qllj.bat";
inline constexpr std::string_view kSoundFolder = "/mp3/";
inline constexpr std::string_view kTemporarySoundFile = "/mp3/.mp3";

// Section of the path and title files, and the device setting.
inline constexpr std::string_view kSlotSection = "配置";
inline constexpr std::string_view kDeviceSection = "设置";
inline constexpr std::string_view kDeviceKey = "通道";

inline constexpr int kSlotCount = 60;

// The folder that holds the executable, as UTF-8 without a trailing separator.
std::string RunDirectory();

// Key of slot n in the path and title files: "1" to "60".
std::string SlotKey(int n);

// A UTF-8 path as a filesystem path.
std::filesystem::path FsPath(std::string_view utf8);

}  // namespace tavrik
