#include "cli/json.h"

#include "problem/utf8.h"

#include <cstdio>

namespace cli {

std::string JsonString(std::string_view text) {
  std::string json = "\"";
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t start = pos;
    const char32_t code = problem::NextCharacter(text, pos);
    if (code == problem::kMalformedUtf8) {
      json += "\xEF\xBF\xBD"; // U+FFFD
    } else if (code == '"' || code == '\\') {
      json += {'\\', static_cast<char>(code)};
    } else if (code < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(code));
      json += code == '\n' ? "\\n" : code == '\t' ? "\\t" : code == '\r' ? "\\r" : escaped;
    } else {
      json += text.substr(start, pos - start);
    }
  }
  return json + '"';
}

void JsonObject::Key(std::string_view key) {
  if (text_.size() > 1)
    text_ += ',';
  text_ += JsonString(key) + ':';
}

JsonObject &JsonObject::Add(std::string_view key, std::string_view value) {
  Key(key);
  text_ += JsonString(value);
  return *this;
}

JsonObject &JsonObject::Add(std::string_view key, const std::vector<std::string> &values) {
  Key(key);
  text_ += '[';
  for (std::size_t i = 0; i < values.size(); ++i)
    text_ += (i > 0 ? "," : "") + JsonString(values[i]);
  text_ += ']';
  return *this;
}

JsonObject &JsonObject::Add(std::string_view key, std::int64_t value) {
  Key(key);
  text_ += std::to_string(value);
  return *this;
}

JsonObject &JsonObject::AddSeconds(std::string_view key, double seconds) {
  Key(key);
  char number[32];
  std::snprintf(number, sizeof number, "%.3f", seconds);
  text_ += number;
  return *this;
}

JsonObject &JsonObject::AddNull(std::string_view key) {
  Key(key);
  text_ += "null";
  return *this;
}

} // namespace cli
