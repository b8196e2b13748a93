// Comments in problem files are kept in the Windows-1252 code page, one byte per character, so
// that files written by the program on its old platform read correctly; the program itself
// works in UTF-8.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace problem {

// One byte per character. A character the code page cannot hold becomes "?", and so does each
// malformed piece of UTF-8 (a stray byte, a cut-off sequence, an overlong form, a surrogate).
std::string ToWindows1252(std::string_view utf8);

// The five bytes the code page leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) become the C1
// controls of the same number, as Windows itself and the browsers decode them: nothing is lost,
// and ToWindows1252 gives the same bytes back, so a comment survives a load and a save whole.
std::string FromWindows1252(std::string_view bytes);

// The number of characters in `utf8`, counting malformed pieces as ToWindows1252 does; always
// the number of bytes the text takes in the code page.
std::size_t Utf8CharacterCount(std::string_view utf8);

} // namespace problem
