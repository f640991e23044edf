#pragma once

#include <cstdint>
#include <string_view>

namespace tavrik {

// Reads a stored number: leading blanks are skipped, then an optional sign,
// digits, an optional fraction and an optional exponent are taken up to the
// first other character; the value is cut toward zero. Text without a leading
// number reads as 0; values beyond the 32-bit range are clamped to it.
std::int32_t ReadSettingNumber(std::string_view text);

}  // namespace tavrik
