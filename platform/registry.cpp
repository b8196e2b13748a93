#include "platform/registry.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <pwd.h>
#include <sys/file.h>
#include <unistd.h>

namespace platform {

namespace fs = std::filesystem;

namespace {

constexpr std::array<std::string_view, 7> kRootNames = {
    "HKEY_CLASSES_ROOT",     "HKEY_CURRENT_USER",   "HKEY_LOCAL_MACHINE", "HKEY_USERS",
    "HKEY_PERFORMANCE_DATA", "HKEY_CURRENT_CONFIG", "HKEY_DYN_DATA",
};
constexpr std::uint32_t kFirstRoot = 0x80000000;
constexpr std::string_view kHeader = "Quintabell Registry 1";

struct Value {
  std::string name;
  std::string data;
};

struct Key {
  std::string path; // as first written
  std::map<std::string, Value> values;
};

// The keys of one root by case-folded path. A key's subtree is then the run of paths that begin
// with its own path and a backslash, and every parent is written to the file before its children.
using Keys = std::map<std::string, Key>;
using Hive = std::array<Keys, kRootNames.size()>;

enum class Edit { Refused, Unchanged, Changed };

std::optional<std::size_t> RootIndex(RegistryRoot root) {
  const std::uint32_t index = static_cast<std::uint32_t>(root) - kFirstRoot;
  if (index >= kRootNames.size())
    return std::nullopt;
  return index;
}

// Only ASCII letters fold: the names are bytes in whatever code page wrote them, and folding
// part of a UTF-8 sequence would merge names that differ.
std::string Fold(std::string_view text) {
  std::string folded(text);
  for (char &c : folded) {
    if (c >= 'A' && c <= 'Z')
      c = static_cast<char>(c - 'A' + 'a');
  }
  return folded;
}

bool IsControl(unsigned char c) { return c < 0x20 || c == 0x7f; }

// The components of a key path, none of them empty; key names hold printable characters only,
// which also keeps them on their section line. The root itself has no components.
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

struct Location {
  std::size_t root;
  std::vector<std::string_view> parts;
  std::string folded;
};

std::optional<Location> Locate(RegistryRoot root, std::string_view path) {
  const auto index = RootIndex(root);
  auto parts = SplitPath(path);
  if (!index || !parts)
    return std::nullopt;
  return Location{*index, std::move(*parts), Fold(path)};
}

// True when any key along the path was missing.
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

std::pair<Keys::iterator, Keys::iterator> Below(Keys &keys, const std::string &folded) {
  const std::string prefix = folded.empty() ? folded : folded + '\\';
  const auto first = keys.lower_bound(prefix);
  auto last = first;
  while (last != keys.end() && last->first.starts_with(prefix))
    ++last;
  return {first, last};
}

// True when the value was missing or different.
bool Put(Key &key, std::string_view name, std::string_view data) {
  auto [value, added] = key.values.try_emplace(Fold(name), Value{std::string(name), {}});
  if (!added && value->second.data == data)
    return false;
  value->second.data = data;
  return true;
}

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
// that follow then belong nowhere and are skipped.
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
  Keys &keys = hive[root - kRootNames.begin()];
  Create(keys, *parts);
  return &keys[Fold(line.substr(end + 1))];
}

void ReadValue(Key &key, std::string_view line) {
  std::size_t at = 0;
  std::string name;
  if (line.starts_with('@')) {
    at = 1;
  } else if (auto quoted = Unquote(line, at)) {
    name = std::move(*quoted);
  } else {
    return;
  }
  if (at >= line.size() || line[at] != '=')
    return;
  ++at;
  const auto data = Unquote(line, at);
  if (data && at == line.size())
    Put(key, name, *data);
}

// Every line either reads completely or not at all, so a damaged or cut file loses the lines it
// damaged and never yields a shortened value.
Hive Parse(std::string_view text) {
  Hive hive;
  Key *key = nullptr;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (line.ends_with('\r'))
      line.remove_suffix(1);
    if (line.starts_with('['))
      key = ReadSection(hive, line);
    else if (key)
      ReadValue(*key, line);
  }
  return hive;
}

std::string Print(const Hive &hive) {
  std::string text(kHeader);
  text += '\n';
  for (std::size_t root = 0; root < hive.size(); ++root) {
    for (const auto &[folded, key] : hive[root]) {
      text += "\n[";
      text += kRootNames[root];
      text += '\\' + key.path + "]\n";
      for (const auto &[foldedName, value] : key.values)
        text += (value.name.empty() ? "@" : Quote(value.name)) + '=' + Quote(value.data) + '\n';
    }
  }
  return text;
}

// The whole file, empty when there is none; nullopt when it exists but cannot be read, which
// must stop a change from writing over it.
std::optional<std::string> Slurp(const fs::path &file) {
  const int fd = open(file.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0)
    return errno == ENOENT ? std::optional<std::string>(std::in_place) : std::nullopt;
  std::string text;
  std::array<char, 65536> buffer;
  for (;;) {
    const ssize_t n = read(fd, buffer.data(), buffer.size());
    if (n == 0)
      break;
    if (n < 0 && errno == EINTR)
      continue;
    if (n < 0) {
      close(fd);
      return std::nullopt;
    }
    text.append(buffer.data(), static_cast<std::size_t>(n));
  }
  close(fd);
  return text;
}

Hive Read(const fs::path &file) {
  const auto text = Slurp(file);
  return text ? Parse(*text) : Hive{};
}

bool WriteAll(int fd, std::string_view text) {
  while (!text.empty()) {
    const ssize_t n = write(fd, text.data(), text.size());
    if (n < 0 && errno == EINTR)
      continue;
    if (n <= 0)
      return false;
    text.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

// A reader sees either the old file or the new one, never a half-written one, and a write that
// fails on the way leaves the old file as it was.
bool Replace(const fs::path &file, std::string_view text) {
  const fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
  std::string temporary = (folder / ("." + file.filename().string() + ".XXXXXX")).string();
  const int fd = mkostemp(temporary.data(), O_CLOEXEC);
  if (fd < 0)
    return false;
  bool written = WriteAll(fd, text) && fsync(fd) == 0;
  written = close(fd) == 0 && written;
  if (!written || rename(temporary.c_str(), file.c_str()) != 0) {
    unlink(temporary.c_str());
    return false;
  }
  // Makes the rename itself survive a crash; the new contents are already safe.
  const int folderFd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folderFd >= 0) {
    fsync(folderFd);
    close(folderFd);
  }
  return true;
}

// flock serialises the processes; the mutex keeps threads of this one from interleaving too,
// whatever file descriptors they hold.
class WriterLock {
public:
  explicit WriterLock(const fs::path &file) : guard_(Mutex()) {
    fs::path lockFile = file;
    lockFile += ".lock";
    fd_ = open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    while (fd_ >= 0 && flock(fd_, LOCK_EX) != 0) {
      if (errno != EINTR) {
        close(fd_);
        fd_ = -1;
      }
    }
  }
  WriterLock(const WriterLock &) = delete;
  WriterLock &operator=(const WriterLock &) = delete;
  ~WriterLock() {
    if (fd_ >= 0)
      close(fd_);
  }
  bool Held() const { return fd_ >= 0; }

private:
  static std::mutex &Mutex() {
    static std::mutex mutex;
    return mutex;
  }

  std::lock_guard<std::mutex> guard_;
  int fd_ = -1;
};

template <typename EditFn> bool Change(const fs::path &file, EditFn edit) {
  std::error_code ignored;
  if (file.has_parent_path())
    fs::create_directories(file.parent_path(), ignored);
  const WriterLock lock(file);
  if (!lock.Held())
    return false;
  const auto text = Slurp(file);
  if (!text)
    return false;
  Hive hive = Parse(*text);
  switch (edit(hive)) {
  case Edit::Refused:
    return false;
  case Edit::Unchanged:
    return true;
  case Edit::Changed:
    break;
  }
  return Replace(file, Print(hive));
}

template <typename Result, typename Body> Result Guarded(Result failure, Body body) noexcept {
  try {
    return body();
  } catch (...) {
    return failure;
  }
}

// A change to the keys of one root at a path below it; a root takes no values and cannot go.
template <typename EditFn>
bool ChangeKey(const fs::path &file, RegistryRoot root, std::string_view path, EditFn edit) {
  return Guarded(false, [&] {
    const auto at = Locate(root, path);
    return at && !at->parts.empty() &&
           Change(file, [&](Hive &hive) { return edit(hive[at->root], *at); });
  });
}

} // namespace

std::string_view RootName(RegistryRoot root) noexcept {
  const auto index = RootIndex(root);
  return index ? kRootNames[*index] : std::string_view();
}

fs::path Registry::DefaultPath() {
  const char *config = std::getenv("XDG_CONFIG_HOME");
  fs::path folder;
  if (config && *config) {
    folder = config;
  } else {
    const char *home = std::getenv("HOME");
    const passwd *user = home && *home ? nullptr : getpwuid(getuid());
    folder = fs::path(home && *home ? home : user ? user->pw_dir : "") / ".config";
  }
  return folder / "Quintabell" / "registry.reg";
}

bool Registry::CreateKey(RegistryRoot root, std::string_view path) noexcept {
  if (path.empty())
    return RootIndex(root).has_value();
  return ChangeKey(file_, root, path, [](Keys &keys, const Location &at) {
    return Create(keys, at.parts) ? Edit::Changed : Edit::Unchanged;
  });
}

bool Registry::KeyExists(RegistryRoot root, std::string_view path) const noexcept {
  return Guarded(false, [&] {
    const auto at = Locate(root, path);
    return at && (at->parts.empty() || Read(file_)[at->root].contains(at->folded));
  });
}

bool Registry::DeleteKey(RegistryRoot root, std::string_view path) noexcept {
  return ChangeKey(file_, root, path, [](Keys &keys, const Location &at) {
    const auto key = keys.find(at.folded);
    const auto [first, last] = Below(keys, at.folded);
    if (key == keys.end() || first != last)
      return Edit::Refused;
    keys.erase(key);
    return Edit::Changed;
  });
}

bool Registry::DeleteTree(RegistryRoot root, std::string_view path) noexcept {
  return ChangeKey(file_, root, path, [](Keys &keys, const Location &at) {
    if (keys.erase(at.folded) == 0)
      return Edit::Refused;
    const auto [first, last] = Below(keys, at.folded);
    keys.erase(first, last);
    return Edit::Changed;
  });
}

std::optional<std::string> Registry::QueryValue(RegistryRoot root, std::string_view path,
                                                std::string_view name) const noexcept {
  return Guarded(std::optional<std::string>(), [&]() -> std::optional<std::string> {
    const auto at = Locate(root, path);
    if (!at || at->parts.empty())
      return std::nullopt;
    const Hive hive = Read(file_);
    const auto key = hive[at->root].find(at->folded);
    if (key == hive[at->root].end())
      return std::nullopt;
    const auto value = key->second.values.find(Fold(name));
    if (value == key->second.values.end())
      return std::nullopt;
    return value->second.data;
  });
}

bool Registry::SetValue(RegistryRoot root, std::string_view path, std::string_view name,
                        std::string_view value) noexcept {
  return ChangeKey(file_, root, path, [&](Keys &keys, const Location &at) {
    const auto key = keys.find(at.folded);
    if (key == keys.end())
      return Edit::Refused;
    return Put(key->second, name, value) ? Edit::Changed : Edit::Unchanged;
  });
}

bool Registry::DeleteValue(RegistryRoot root, std::string_view path,
                           std::string_view name) noexcept {
  return ChangeKey(file_, root, path, [&](Keys &keys, const Location &at) {
    const auto key = keys.find(at.folded);
    if (key == keys.end() || key->second.values.erase(Fold(name)) == 0)
      return Edit::Refused;
    return Edit::Changed;
  });
}

std::vector<std::string> Registry::SubKeys(RegistryRoot root,
                                           std::string_view path) const noexcept {
  return Guarded(std::vector<std::string>(), [&] {
    std::vector<std::string> names;
    const auto at = Locate(root, path);
    if (!at)
      return names;
    Hive hive = Read(file_);
    Keys &keys = hive[at->root];
    if (!at->parts.empty() && !keys.contains(at->folded))
      return names;
    const auto [first, last] = Below(keys, at->folded);
    const std::size_t prefix = at->folded.empty() ? 0 : at->folded.size() + 1;
    for (auto key = first; key != last; ++key) {
      if (key->first.find('\\', prefix) == std::string::npos)
        names.push_back(key->second.path.substr(prefix));
    }
    return names;
  });
}

} // namespace platform
