#pragma once

// The text side of the private-profile files: finding a value in INI text and
// producing the text after a write. Nothing here touches the file system; the
// text is UTF-8 without a byte-order mark.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavrik {

enum class IniLineKind {
  Blank,    // nothing but blanks
  Comment,  // first non-blank character is ';' or '#'
  Section,  // first non-blank character is '['
  Key,      // any other line with an '='
  Other,    // any other line without an '='
};

// One line of INI text. The views point into the text that was split.
struct IniLine {
  std::string_view content;  // the line's bytes without its line ending
  std::string_view ending;   // "\r\n", "\n", or empty for a last line without one
  IniLineKind kind = IniLineKind::Blank;
  std::string_view name;   // section name inside the brackets, or key name; blanks trimmed
  std::string_view value;  // a key's value, blanks trimmed, quotes kept
};

// Splits `text` into lines; joining content + ending of every line gives
// `text` back byte for byte.
std::vector<IniLine> SplitIniLines(std::string_view text);

// A section or key name as passed by a caller: leading bytes <= 0x20 and
// trailing spaces and tabs are dropped.
std::string_view TrimSettingName(std::string_view name);

// A file name as passed by a caller: leading bytes <= 0x20 are dropped.
std::string_view TrimSettingFileName(std::string_view name);

// Whether a trimmed section name, trimmed key name or value can be written
// without changing the meaning of other lines of the file.
bool IsWritableSectionName(std::string_view section);
bool IsWritableKeyName(std::string_view key);
bool IsWritableValue(std::string_view value);

// The value of `key` in the first section named `section` (both trimmed
// names), with a pair of enclosing quotes removed; nullopt when the section or
// the key is missing. The result is not shortened.
std::optional<std::string> FindIniValue(std::string_view text, std::string_view section,
                                        std::string_view key);

// The text after setting `key` of `section` to `value` (names trimmed and
// checked with the IsWritable functions). Every line that is not the key's own
// line stays byte for byte as it was.
std::string SetIniValue(std::string_view text, std::string_view section, std::string_view key,
                        std::string_view value);

// The longest prefix of the UTF-8 text `text` of at most `limit` bytes that
// does not end inside a character.
std::string_view CutAtCharBoundary(std::string_view text, std::size_t limit);

}  // namespace tavrik
