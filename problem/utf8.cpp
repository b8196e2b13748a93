#include "problem/utf8.h"

#include <cstdint>

namespace problem {

char32_t NextCharacter(std::string_view text, std::size_t &pos) {
  const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(text[i]); };
  const std::uint8_t lead = byte(pos++);
  if (lead < 0x80)
    return lead;
  int trailing = 0;
  char32_t code = 0;
  // The first continuation byte has a narrower range for some leads: that is what rules out
  // overlong forms, surrogates and code points above U+10FFFF.
  std::uint8_t low = 0x80, high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    trailing = 1;
    code = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    trailing = 2;
    code = lead & 0x0F;
    low = lead == 0xE0 ? 0xA0 : 0x80;
    high = lead == 0xED ? 0x9F : 0xBF;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    trailing = 3;
    code = lead & 0x07;
    low = lead == 0xF0 ? 0x90 : 0x80;
    high = lead == 0xF4 ? 0x8F : 0xBF;
  } else {
    return kMalformedUtf8;
  }
  for (int i = 0; i < trailing; ++i) {
    if (pos >= text.size() || byte(pos) < low || byte(pos) > high)
      return kMalformedUtf8;
    code = (code << 6) | (byte(pos++) & 0x3F);
    low = 0x80;
    high = 0xBF;
  }
  return code;
}

} // namespace problem
