#include "settings/ini_document.h"

namespace tavrik {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) {
    text.remove_prefix(1);
  }
  while (!text.empty() && IsBlank(text.back())) {
    text.remove_suffix(1);
  }
  return text;
}

char AsciiLower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Names compare without regard to ASCII case; every other byte must be equal.
bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) {
    return false;
  }
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) {
      return false;
    }
  }
  return true;
}

std::string_view Unquote(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

bool ContainsAny(std::string_view text, std::string_view bytes) {
  return text.find_first_of(bytes) != std::string_view::npos;
}

// Line breaks and NUL would end a line early or cut the text when read back.
constexpr std::string_view kLineBreaking("\r\n\0", 3);

void Classify(IniLine& line) {
  const std::string_view body = TrimBlanks(line.content);
  if (body.empty()) {
    line.kind = IniLineKind::Blank;
  } else if (body.front() == ';' || body.front() == '#') {
    line.kind = IniLineKind::Comment;
  } else if (body.front() == '[') {
    line.kind = IniLineKind::Section;
    std::string_view name = body.substr(1);
    name = name.substr(0, name.find(']'));
    line.name = TrimBlanks(name);
  } else if (const auto equals = body.find('='); equals != std::string_view::npos) {
    line.kind = IniLineKind::Key;
    line.name = TrimBlanks(body.substr(0, equals));
    line.value = TrimBlanks(body.substr(equals + 1));
  } else {
    line.kind = IniLineKind::Other;
  }
}

// Where a section and one of its keys sit among the lines.
struct KeyPosition {
  std::optional<std::size_t> section;  // header line of the first matching section
  std::optional<std::size_t> key;      // first matching key line in it
  std::size_t lastKeyOrHeader = 0;     // where a new key of that section goes after
};

KeyPosition Locate(const std::vector<IniLine>& lines, std::string_view section,
                   std::string_view key) {
  KeyPosition position;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const IniLine& line = lines[i];
    if (line.kind == IniLineKind::Section) {
      if (position.section) {
        break;  // the first matching section has ended
      }
      if (SameName(line.name, section)) {
        position.section = i;
        position.lastKeyOrHeader = i;
      }
    } else if (position.section && line.kind == IniLineKind::Key) {
      position.lastKeyOrHeader = i;
      if (!position.key && SameName(line.name, key)) {
        position.key = i;
      }
    }
  }
  return position;
}

std::string_view DominantEnding(const std::vector<IniLine>& lines) {
  for (const IniLine& line : lines) {
    if (!line.ending.empty()) {
      return line.ending;
    }
  }
  return "\n";
}

}  // namespace

std::vector<IniLine> SplitIniLines(std::string_view text) {
  std::vector<IniLine> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    IniLine line;
    const std::size_t newline = text.find('\n', start);
    if (newline == std::string_view::npos) {
      line.content = text.substr(start);
      start = text.size();
    } else {
      std::size_t contentEnd = newline;
      if (contentEnd > start && text[contentEnd - 1] == '\r') {
        --contentEnd;
      }
      line.content = text.substr(start, contentEnd - start);
      line.ending = text.substr(contentEnd, newline + 1 - contentEnd);
      start = newline + 1;
    }
    Classify(line);
    lines.push_back(line);
  }
  return lines;
}

std::string_view TrimSettingFileName(std::string_view name) {
  while (!name.empty() && static_cast<unsigned char>(name.front()) <= 0x20) {
    name.remove_prefix(1);
  }
  return name;
}

std::string_view TrimSettingName(std::string_view name) {
  name = TrimSettingFileName(name);
  while (!name.empty() && IsBlank(name.back())) {
    name.remove_suffix(1);
  }
  return name;
}

bool IsWritableSectionName(std::string_view section) {
  return !section.empty() && !ContainsAny(section, kLineBreaking) &&
         section.find(']') == std::string_view::npos;
}

bool IsWritableKeyName(std::string_view key) {
  return !key.empty() && !ContainsAny(key, kLineBreaking) &&
         key.find('=') == std::string_view::npos && key.front() != '[' && key.front() != ';' &&
         key.front() != '#';
}

bool IsWritableValue(std::string_view value) {
  return !ContainsAny(value, kLineBreaking);
}

std::optional<std::string> FindIniValue(std::string_view text, std::string_view section,
                                        std::string_view key) {
  const std::vector<IniLine> lines = SplitIniLines(text);
  const KeyPosition position = Locate(lines, section, key);
  if (!position.key) {
    return std::nullopt;
  }
  return std::string(Unquote(lines[*position.key].value));
}

std::string SetIniValue(std::string_view text, std::string_view section, std::string_view key,
                        std::string_view value) {
  const std::vector<IniLine> lines = SplitIniLines(text);
  const KeyPosition position = Locate(lines, section, key);
  const std::string_view ending = DominantEnding(lines);

  std::string out;
  out.reserve(text.size() + section.size() + key.size() + value.size() + 8);

  if (!position.section) {
    out.append(text);
    if (!out.empty() && out.back() != '\n') {
      out.append(ending);
    }
    out.append("[").append(section).append("]").append(ending);
    out.append(key).append("=").append(value).append(ending);
    return out;
  }

  for (std::size_t i = 0; i < lines.size(); ++i) {
    const IniLine& line = lines[i];
    if (position.key && i == *position.key) {
      out.append(line.name).append("=").append(value).append(line.ending);
      continue;
    }
    out.append(line.content).append(line.ending);
    if (!position.key && i == position.lastKeyOrHeader) {
      if (line.ending.empty()) {
        out.append(ending);
      }
      out.append(key).append("=").append(value).append(ending);
    }
  }
  return out;
}

std::string_view CutAtCharBoundary(std::string_view text, std::size_t limit) {
  if (text.size() <= limit) {
    return text;
  }
  std::size_t length = limit;
  while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80) {
    --length;
  }
  return text.substr(0, length);
}

}  // namespace tavrik
