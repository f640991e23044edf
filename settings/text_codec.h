#pragma once

#include <string>
#include <string_view>

namespace tavrik {

// True when `bytes` is well-formed UTF-8 (no overlongs, no surrogates).
bool IsValidUtf8(std::string_view bytes);

// Converts text in the Chinese ANSI code page (GBK, read as GB18030) to UTF-8.
// Bytes that cannot be converted become U+FFFD.
std::string GbkToUtf8(std::string_view bytes);

// How a settings file's bytes were encoded on disk.
enum class SettingsEncoding { Utf8, Utf8WithBom, Gbk };

struct DecodedSettingsText {
  std::string utf8;  // the file's text as UTF-8, without a byte-order mark
  SettingsEncoding encoding = SettingsEncoding::Utf8;
};

// Decodes a settings file: UTF-8 (with or without a BOM) when it is valid
// UTF-8, otherwise GBK as written by the Windows version.
DecodedSettingsText DecodeSettingsText(std::string_view bytes);

}  // namespace tavrik
