// The file behind the registry. Read once per version of the file: the program asks many
// questions at start-up, and the file may be large. Changed under a lock that other processes
// take too, by writing a new file and renaming it over the old one, which keeps its mode.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>

namespace platform {

namespace registry_text {
struct Hive;
}

class RegistryFile {
public:
  enum class Edit { Refused, Unchanged, Changed };

  explicit RegistryFile(std::filesystem::path path);

  const std::filesystem::path &Path() const { return path_; }

  // The keys as the file holds them now: empty when there is no file, null when it exists but
  // cannot be read. Copies of this object share what they have read.
  std::shared_ptr<const registry_text::Hive> Current() const;

  // Applies `edit` to the current keys under the writers' lock and writes them back when they
  // changed. False when the edit refused, or the file could not be read or written; the old
  // file then stays as it was.
  bool Change(const std::function<Edit(registry_text::Hive &)> &edit);

private:
  struct Cache;
  std::filesystem::path path_;
  std::shared_ptr<Cache> cache_;
};

} // namespace platform
