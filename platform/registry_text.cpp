#include "platform/registry_text.h"

#include <algorithm>

namespace platform::registry_text {

namespace {

constexpr std::string_view kHeader = "Quintabell Registry 1";
// Its own line, so that the lines after it belong to no key when the file is read again.
constexpr std::string_view kUnreadSection = "[Lines this program could not read, kept as found]";

bool IsControl(unsigned char c) { return c < 0x20 || c == 0x7f; }

// Quoted text with everything that could end the string or the line escaped, so that any bytes
// come back unchanged.
std::string Quote(std::string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string quoted = "\"";
  for (const unsigned char c : text) {
    if (c == '\\' || c == '"') {
      quoted += '\\';
      quoted += static_cast<char>(c);
    } else if (c == '\n') {
      quoted += "\\n";
    } else if (IsControl(c)) {
      quoted += "\\x";
      quoted += kHex[c >> 4];
      quoted += kHex[c & 0xf];
    } else {
      quoted += static_cast<char>(c);
    }
  }
  return quoted + '"';
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9')
    return c - '0';
  if (c >= 'A' && c <= 'F')
    return c - 'A' + 10;
  if (c >= 'a' && c <= 'f')
    return c - 'a' + 10;
  return -1;
}

// Reads the quoted text starting at line[at] and moves at past its closing quote.
std::optional<std::string> Unquote(std::string_view line, std::size_t &at) {
  if (at >= line.size() || line[at] != '"')
    return std::nullopt;
  std::string text;
  for (++at; at < line.size(); ++at) {
    const char c = line[at];
    if (c == '"') {
      ++at;
      return text;
    }
    if (c != '\\') {
      text += c;
      continue;
    }
    if (++at == line.size())
      return std::nullopt;
    const char escaped = line[at];
    if (escaped == '\\' || escaped == '"') {
      text += escaped;
    } else if (escaped == 'n') {
      text += '\n';
    } else if (escaped == 'x' && at + 2 < line.size() && HexDigit(line[at + 1]) >= 0 &&
               HexDigit(line[at + 2]) >= 0) {
      text += static_cast<char>(HexDigit(line[at + 1]) * 16 + HexDigit(line[at + 2]));
      at += 2;
    } else {
      return std::nullopt;
    }
  }
  return std::nullopt;
}

// The key a section line opens, or null when the line is damaged or names a root: the values
// that follow then belong nowhere.
Key *ReadSection(Hive &hive, std::string_view line) {
  if (line.size() < 2 || line.back() != ']')
    return nullptr;
  line = line.substr(1, line.size() - 2);
  const std::size_t end = line.find('\\');
  if (end == std::string_view::npos)
    return nullptr;
  const std::string rootName = Fold(line.substr(0, end));
  const auto root = std::find_if(kRootNames.begin(), kRootNames.end(),
                                 [&](std::string_view name) { return Fold(name) == rootName; });
  const auto parts = SplitPath(line.substr(end + 1));
  if (root == kRootNames.end() || !parts)
    return nullptr;
  Keys &keys = hive.roots[root - kRootNames.begin()];
  Create(keys, *parts);
  return &keys[Fold(line.substr(end + 1))];
}

bool ReadValue(Key &key, std::string_view line) {
  std::size_t at = 0;
  std::string name;
  if (line.starts_with('@')) {
    at = 1;
  } else if (auto quoted = Unquote(line, at)) {
    name = std::move(*quoted);
  } else {
    return false;
  }
  if (at >= line.size() || line[at] != '=')
    return false;
  ++at;
  const auto data = Unquote(line, at);
  if (!data || at != line.size())
    return false;
  Put(key, name, *data);
  return true;
}

} // namespace

std::string Fold(std::string_view text) {
  std::string folded(text);
  for (char &c : folded) {
    if (c >= 'A' && c <= 'Z')
      c = static_cast<char>(c - 'A' + 'a');
  }
  return folded;
}

std::optional<std::vector<std::string_view>> SplitPath(std::string_view path) {
  std::vector<std::string_view> parts;
  if (path.empty())
    return parts;
  for (;;) {
    const std::size_t end = path.find('\\');
    const std::string_view part = path.substr(0, end);
    if (part.empty() ||
        std::any_of(part.begin(), part.end(), [](unsigned char c) { return IsControl(c); }))
      return std::nullopt;
    parts.push_back(part);
    if (end == std::string_view::npos)
      return parts;
    path.remove_prefix(end + 1);
  }
}

bool Create(Keys &keys, const std::vector<std::string_view> &parts) {
  bool added = false;
  std::string folded;
  const Key *parent = nullptr;
  for (const std::string_view part : parts) {
    if (parent)
      folded += '\\';
    folded += Fold(part);
    auto [key, fresh] = keys.try_emplace(folded);
    if (fresh)
      key->second.path = parent ? parent->path + '\\' + std::string(part) : std::string(part);
    added = added || fresh;
    parent = &key->second;
  }
  return added;
}

bool Put(Key &key, std::string_view name, std::string_view data) {
  auto [value, added] = key.values.try_emplace(Fold(name), Value{std::string(name), {}});
  if (!added && value->second.data == data)
    return false;
  value->second.data = data;
  return true;
}

Hive Parse(std::string_view text) {
  Hive hive;
  Key *key = nullptr;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    while (line.ends_with('\r'))
      line.remove_suffix(1);
    if (line.empty() || line == kHeader)
      continue;
    if (line == kUnreadSection) {
      key = nullptr;
      continue;
    }
    if (line.starts_with('['))
      key = ReadSection(hive, line);
    const bool read = key && (line.starts_with('[') || ReadValue(*key, line));
    if (!read)
      hive.unread.emplace_back(line);
  }
  return hive;
}

std::string Print(const Hive &hive) {
  std::string text(kHeader);
  text += '\n';
  for (std::size_t root = 0; root < hive.roots.size(); ++root) {
    for (const auto &[folded, key] : hive.roots[root]) {
      text += "\n[";
      text += kRootNames[root];
      text += '\\' + key.path + "]\n";
      for (const auto &[foldedName, value] : key.values)
        text += (value.name.empty() ? "@" : Quote(value.name)) + '=' + Quote(value.data) + '\n';
    }
  }
  if (!hive.unread.empty()) {
    text += '\n';
    text += kUnreadSection;
    text += '\n';
    for (const std::string &line : hive.unread)
      text += line + '\n';
  }
  return text;
}

} // namespace platform::registry_text
