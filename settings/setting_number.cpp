#include "settings/setting_number.h"

#include <charconv>
#include <cstddef>
#include <limits>
#include <system_error>

namespace tavrik {
namespace {

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

}  // namespace

std::int32_t ReadSettingNumber(std::string_view text) {
  constexpr auto kMax = std::numeric_limits<std::int32_t>::max();
  constexpr auto kMin = std::numeric_limits<std::int32_t>::min();

  std::size_t pos = 0;
  const auto skipDigits = [&] {
    const std::size_t from = pos;
    while (pos < text.size() && IsDigit(text[pos])) {
      ++pos;
    }
    return pos - from;
  };

  while (pos < text.size() && IsSpace(text[pos])) {
    ++pos;
  }
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
    negative = text[pos] == '-';
    ++pos;
  }
  const std::size_t numberStart = pos;
  const std::size_t integerDigits = skipDigits();
  std::size_t fractionDigits = 0;
  if (pos < text.size() && text[pos] == '.') {
    ++pos;
    fractionDigits = skipDigits();
  }
  if (integerDigits + fractionDigits == 0) {
    return 0;
  }
  const std::size_t mantissaEnd = pos;

  // The exponent counts only when at least one digit follows the 'e' and its sign.
  long long exponent = 0;
  if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
    ++pos;
    bool negativeExponent = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
      negativeExponent = text[pos] == '-';
      ++pos;
    }
    const std::size_t exponentStart = pos;
    if (skipDigits() == 0) {
      pos = mantissaEnd;
    } else {
      for (std::size_t i = exponentStart; i < pos && exponent < 1'000'000'000; ++i) {
        exponent = exponent * 10 + (text[i] - '0');
      }
      if (negativeExponent) {
        exponent = -exponent;
      }
    }
  }

  const char* first = text.data() + numberStart;
  const char* last = text.data() + pos;
  double value = 0.0;
  const auto [end, error] = std::from_chars(first, last, value, std::chars_format::general);
  if (error == std::errc::result_out_of_range) {
    // Beyond what a double holds: huge when the leading significant digit sits
    // left of the decimal point, otherwise too small to be anything but 0.
    const std::string_view digits = text.substr(numberStart, mantissaEnd - numberStart);
    std::size_t leading = 0;
    for (const char c : digits) {
      if (c == '.') {
        continue;
      }
      if (c != '0') {
        break;
      }
      ++leading;
    }
    const long long magnitude =
        static_cast<long long>(integerDigits) - static_cast<long long>(leading) + exponent;
    if (magnitude <= 0) {
      return 0;
    }
    return negative ? kMin : kMax;
  }
  if (error != std::errc() || end != last) {
    return 0;
  }
  if (negative) {
    value = -value;
  }
  if (!(value < 2147483648.0)) {
    return kMax;
  }
  if (!(value > -2147483649.0)) {
    return kMin;
  }
  return static_cast<std::int32_t>(value);  // the conversion cuts toward zero
}

}  // namespace tavrik
