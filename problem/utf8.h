// Reading UTF-8 one character at a time, for text that goes where malformed bytes must not.
#pragma once

#include <cstddef>
#include <string_view>

namespace problem {

inline constexpr char32_t kMalformedUtf8 = 0xFFFFFFFF;

// Decodes the character at `pos` and moves past it. A malformed sequence yields kMalformedUtf8
// and is skipped up to the first byte that does not fit, so that byte starts the next
// character. Overlong forms, surrogates and code points above U+10FFFF are malformed.
char32_t NextCharacter(std::string_view text, std::size_t &pos);

} // namespace problem
