#include "cli/json.h"

#include <gtest/gtest.h>

namespace {

TEST(Json, EscapesWhatAStringCannotHoldAndPassesUtf8) {
  const std::pair<std::string, std::string> cases[] = {
      {"say \"mate\" \\ now", R"("say \"mate\" \\ now")"},
      {"a\nb\tc\rd", R"("a\nb\tc\rd")"},
      {std::string("\x01\x1f\x7f", 3), R"("\u0001\u001f)"
                                       "\x7f\""},
      {std::string("nul\0in", 6), R"("nul\u0000in")"},
      {"Grüße – ♔ 𝄞", "\"Grüße – ♔ 𝄞\""},
      // Malformed UTF-8 (the decoder's cases are the problem library's to test).
      {"caf\xe9", "\"caf\xef\xbf\xbd\""},
  };
  for (const auto &[text, json] : cases)
    EXPECT_EQ(cli::JsonString(text), json) << text;
}

} // namespace
