#include "problem/windows1252.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Bytes are written in hex, and in octal where a letter follows that would extend a hex escape.
using problem::FromWindows1252;
using problem::ToWindows1252;
using problem::Utf8CharacterCount;

TEST(Windows1252, CarriesTextOfTheCodePageBothWays) {
  const std::pair<std::string, std::string> cases[] = {
      {"€‚ƒ„…†‡ˆ‰Š‹ŒŽ‘’“”•–—˜™š›œžŸ", "\x80\x82\x83\x84\x85\x86\x87\x88\x89\x8A\x8B\x8C\x8E"
                                      "\x91\x92\x93\x94\x95\x96\x97\x98\x99\x9A\x9B\x9C\x9E\x9F"},
      {"Grüße, naïve, ½ ÿ", "Gr\xFC\337e, na\xEFve, \xBD \xFF"},
      {std::string("a\0b", 3), std::string("a\0b", 3)}};
  for (const auto &[utf8, bytes] : cases) {
    EXPECT_EQ(ToWindows1252(utf8), bytes) << utf8;
    EXPECT_EQ(FromWindows1252(bytes), utf8) << utf8;
    EXPECT_EQ(Utf8CharacterCount(utf8), bytes.size()) << utf8;
  }
  // The five bytes the code page leaves undefined come and go as their C1 controls.
  EXPECT_EQ(FromWindows1252("\x81\x8D\x8F\x90\x9D"), "\u0081\u008D\u008F\u0090\u009D");
  EXPECT_EQ(ToWindows1252("\u0081\u008D\u008F\u0090\u009D"), "\x81\x8D\x8F\x90\x9D");
}

TEST(Windows1252, WritesAQuestionMarkForEachCharacterItCannotHoldOrCannotRead) {
  const std::pair<std::string, std::string> cases[] = {
      {"K♔ 😀 Ā ж \U0010FFFF!", "K? ? ? ? ?!"},
      {"\u0080\u009F", "??"},                   // C1 controls whose bytes hold other characters
      {"a\200b\xFF", "a?b?"},                   // bytes never starting a character
      {"ab\xC3", "ab?"},                        // cut off at the end
      {"\342\202A\xE2\x82\xC3\xBC", "?A?\xFC"}, // cut off before another character
      {"\xC0\xAF\xE0\x80\xAF", "?????"},        // overlong forms
      {"\xED\xA0\x80", "???"},                  // a surrogate
      {"\xF4\x90\x80\x80", "????"},             // beyond U+10FFFF
  };
  for (const auto &[utf8, bytes] : cases) {
    EXPECT_EQ(ToWindows1252(utf8), bytes) << utf8;
    EXPECT_EQ(Utf8CharacterCount(utf8), bytes.size()) << utf8;
  }
}

} // namespace
