#include "cli/json.h"

#include <gtest/gtest.h>

namespace {

TEST(Json, EscapesWhatAStringCannotHoldAndPassesUtf8) {
  const std::pair<std::string, std::string> cases[] = {
      {"Karge 1979", R"("Karge 1979")"},
      {"say \"mate\" \\ now", R"("say \"mate\" \\ now")"},
      {"a\nb\tc\rd", R"("a\nb\tc\rd")"},
      {std::string("\x01\x1f\x7f", 3), R"("\u0001\u001f)"
                                       "\x7f\""},
      {std::string("nul\0in", 6), R"("nul\u0000in")"},
      {"Grüße – ♔ 𝄞", "\"Grüße – ♔ 𝄞\""},
      // Malformed UTF-8: a Latin-1 byte, a cut-off sequence, an overlong '/', a surrogate.
      {"caf\xe9", "\"caf\xef\xbf\xbd\""},
      {"\xe2\x99", "\"\xef\xbf\xbd\""},
      {"\xc0\xaf", "\"\xef\xbf\xbd\xef\xbf\xbd\""},
      {"\xed\xa0\x80!", "\"\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd!\""},
  };
  for (const auto &[text, json] : cases)
    EXPECT_EQ(cli::JsonString(text), json) << text;
}

TEST(Json, WritesAnObjectOnOneLine) {
  cli::JsonObject object;
  object.Add("id", "b02")
      .Add("keys", std::vector<std::string>{"f8e7", "e1g1"})
      .Add("lines", std::vector<std::string>{})
      .Add("nodes", std::int64_t{-7})
      .AddSeconds("seconds", 1.23456)
      .AddNull("moves");
  EXPECT_EQ(object.Text(), R"({"id":"b02","keys":["f8e7","e1g1"],"lines":[],"nodes":-7,)"
                           R"("seconds":1.235,"moves":null})");
  EXPECT_EQ(cli::JsonObject().Text(), "{}");
}

} // namespace
