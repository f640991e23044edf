#include "settings/text_codec.h"

#include <cstddef>

namespace tavrik {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";

// Length of the well-formed UTF-8 character that starts at `pos`, or 0 when
// the bytes there are not one.
std::size_t CharLengthAt(std::string_view bytes, std::size_t pos) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[pos + i]); };
  const unsigned char lead = byte(0);
  if (lead < 0x80) {
    return 1;
  }
  std::size_t length = 0;
  // Bounds of the second byte; they exclude overlongs, surrogates and values
  // beyond U+10FFFF.
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) {
      low = 0xA0;
    } else if (lead == 0xED) {
      high = 0x9F;
    }
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) {
      low = 0x90;
    } else if (lead == 0xF4) {
      high = 0x8F;
    }
  } else {
    return 0;
  }
  if (bytes.size() - pos < length) {
    return 0;
  }
  if (byte(1) < low || byte(1) > high) {
    return 0;
  }
  for (std::size_t i = 2; i < length; ++i) {
    if (byte(i) < 0x80 || byte(i) > 0xBF) {
      return 0;
    }
  }
  return length;
}

// UTF-8 with every byte that does not belong to a well-formed character
// replaced by U+FFFD.
std::string RepairUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  std::size_t pos = 0;
  while (pos < bytes.size()) {
    const std::size_t length = CharLengthAt(bytes, pos);
    if (length == 0) {
      out.append(kReplacementCharacter);
      ++pos;
    } else {
      out.append(bytes.substr(pos, length));
      pos += length;
    }
  }
  return out;
}

}  // namespace

bool IsValidUtf8(std::string_view bytes) {
  std::size_t pos = 0;
  while (pos < bytes.size()) {
    const std::size_t length = CharLengthAt(bytes, pos);
    if (length == 0) {
      return false;
    }
    pos += length;
  }
  return true;
}

DecodedSettingsText DecodeSettingsText(std::string_view bytes) {
  DecodedSettingsText decoded;
  if (bytes.starts_with(kUtf8Bom)) {
    // The mark declares UTF-8; stray bad bytes after it are damage, not GBK.
    bytes.remove_prefix(kUtf8Bom.size());
    decoded.utf8 = IsValidUtf8(bytes) ? std::string(bytes) : RepairUtf8(bytes);
    decoded.encoding = SettingsEncoding::Utf8WithBom;
  } else if (IsValidUtf8(bytes)) {
    decoded.utf8 = std::string(bytes);
    decoded.encoding = SettingsEncoding::Utf8;
  } else {
    decoded.utf8 = GbkToUtf8(bytes);
    decoded.encoding = SettingsEncoding::Gbk;
  }
  return decoded;
}

}  // namespace tavrik
