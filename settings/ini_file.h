#pragma once

#include <string>
#include <string_view>

namespace tavrik {

// Longest value a read returns, in bytes (a 10,240-byte buffer with its terminator).
inline constexpr std::size_t kMaxSettingBytes = 10239;

// Reads `key` of `section` in the INI file `file` (UTF-8 path). Names match
// without regard to ASCII case; leading bytes <= 0x20 of the three names are
// skipped, and an empty name gives `defaultValue` without opening the file.
// A missing file, section or key gives `defaultValue`. Nothing is cached.
std::string ReadSetting(std::string_view file, std::string_view section, std::string_view key,
                        std::string_view defaultValue = {});

// Sets `key` of `section` to `value`, creating the file, section and key as
// needed. The file is replaced atomically and every other line is kept as it
// was. Returns false when nothing could be written; callers may ignore it.
bool WriteSetting(std::string_view file, std::string_view section, std::string_view key,
                  std::string_view value);

}  // namespace tavrik
