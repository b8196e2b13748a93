// One JSON object on one line, for scripts that read quintabell-solve's answers.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace cli {

// `text` as a JSON string with its quotes. UTF-8 passes through; control characters, quotes and
// backslashes are escaped, and each malformed piece of UTF-8 becomes U+FFFD, so the line is
// always valid JSON whatever bytes a collection holds.
std::string JsonString(std::string_view text);

class JsonObject {
public:
  JsonObject &Add(std::string_view key, std::string_view value);
  JsonObject &Add(std::string_view key, const std::vector<std::string> &values);
  JsonObject &Add(std::string_view key, std::int64_t value);
  JsonObject &AddSeconds(std::string_view key, double seconds); // to the millisecond
  JsonObject &AddNull(std::string_view key);
  std::string Text() const { return text_ + '}'; }

private:
  void Key(std::string_view key);
  std::string text_ = "{";
};

} // namespace cli
