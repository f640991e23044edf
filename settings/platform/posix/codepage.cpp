#include "settings/text_codec.h"

#include <cerrno>
#include <cstddef>

#include <iconv.h>

namespace tavrik {
namespace {

constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";

// Without the converter, ASCII is still ASCII; everything else is lost.
std::string AsciiOnly(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (const char c : bytes) {
    if (static_cast<unsigned char>(c) < 0x80) {
      out.push_back(c);
    } else {
      out.append(kReplacementCharacter);
    }
  }
  return out;
}

}  // namespace

std::string GbkToUtf8(std::string_view bytes) {
  // GB18030 is a superset of GBK, so every GBK file converts.
  const iconv_t converter = iconv_open("UTF-8", "GB18030");
  if (converter == reinterpret_cast<iconv_t>(-1)) {
    return AsciiOnly(bytes);
  }
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 2);
  char* in = const_cast<char*>(bytes.data());  // iconv does not write through it
  std::size_t inLeft = bytes.size();
  char chunk[4096];
  while (inLeft > 0) {
    char* outPos = chunk;
    std::size_t outLeft = sizeof chunk;
    const std::size_t result = iconv(converter, &in, &inLeft, &outPos, &outLeft);
    out.append(chunk, static_cast<std::size_t>(outPos - chunk));
    if (result != static_cast<std::size_t>(-1) || errno == E2BIG) {
      continue;
    }
    // An invalid or cut-off sequence: replace its first byte and go on from
    // the next one, so the ASCII that follows a stray byte survives.
    out.append(kReplacementCharacter);
    ++in;
    --inLeft;
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
  }
  iconv_close(converter);
  return out;
}

}  // namespace tavrik
