#include "platform/registry_file.h"

#include "platform/registry_text.h"

#include <array>
#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <mutex>
#include <optional>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace fs = std::filesystem;
using registry_text::Hive;

namespace {

// Which file a hive was read from. Every change replaces the file, so it shows as another
// inode; an editor writing in place moves its size or times.
struct FileVersion {
  bool exists = false;
  dev_t device = 0;
  ino_t inode = 0;
  off_t size = 0;
  std::int64_t modified = 0; // nanoseconds
  std::int64_t changed = 0;

  static FileVersion Of(const struct stat &status) {
    const auto nanoseconds = [](const timespec &t) {
      return static_cast<std::int64_t>(t.tv_sec) * 1000000000 + t.tv_nsec;
    };
    return {true,
            status.st_dev,
            status.st_ino,
            status.st_size,
            nanoseconds(status.st_mtim),
            nanoseconds(status.st_ctim)};
  }
  friend bool operator==(const FileVersion &, const FileVersion &) = default;
};

// The version the path names now; nullopt when it cannot even be looked at.
std::optional<FileVersion> VersionAt(const fs::path &path) {
  struct stat status {};
  if (stat(path.c_str(), &status) == 0)
    return FileVersion::Of(status);
  if (errno == ENOENT)
    return FileVersion{};
  return std::nullopt;
}

struct Contents {
  FileVersion version;
  std::string text;
};

// The whole file and the version it came from, both from one descriptor; nullopt when it exists
// but cannot be read, which must stop a change from writing over it.
std::optional<Contents> Slurp(const fs::path &file) {
  const int fd = open(file.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0)
    return errno == ENOENT ? std::optional<Contents>(std::in_place) : std::nullopt;
  Contents contents;
  struct stat status {};
  bool read = fstat(fd, &status) == 0;
  contents.version = FileVersion::Of(status);
  std::array<char, 65536> buffer;
  while (read) {
    const ssize_t n = ::read(fd, buffer.data(), buffer.size());
    if (n == 0)
      break;
    if (n < 0 && errno == EINTR)
      continue;
    read = n > 0;
    if (read)
      contents.text.append(buffer.data(), static_cast<std::size_t>(n));
  }
  close(fd);
  return read ? std::optional<Contents>(std::move(contents)) : std::nullopt;
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

// A new file created as any other would be: 0666 less the umask. Only writers holding the lock
// create these names, so one that exists was left by a writer that died.
int CreateTemporary(const fs::path &file, std::string &name) {
  const fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
  for (int attempt = 0; attempt < 100; ++attempt) {
    name = (folder / ("." + file.filename().string() + "." + std::to_string(getpid()) + "." +
                      std::to_string(attempt)))
               .string();
    const int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST)
      return fd;
  }
  return -1;
}

// A reader sees either the old file or the new one, never a half-written one; a write that
// fails on the way leaves the old file as it was; the new file keeps the old one's mode.
bool Replace(const fs::path &file, std::string_view text) {
  struct stat old {};
  const bool existed = stat(file.c_str(), &old) == 0;
  std::string temporary;
  const int fd = CreateTemporary(file, temporary);
  if (fd < 0)
    return false;
  bool written =
      (!existed || fchmod(fd, old.st_mode & 07777) == 0) && WriteAll(fd, text) && fsync(fd) == 0;
  written = close(fd) == 0 && written;
  if (!written || rename(temporary.c_str(), file.c_str()) != 0) {
    unlink(temporary.c_str());
    return false;
  }
  // Makes the rename itself survive a crash; the new contents are already safe.
  const fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
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

} // namespace

struct RegistryFile::Cache {
  std::mutex mutex;
  FileVersion version;
  std::shared_ptr<const Hive> hive; // null until read
};

RegistryFile::RegistryFile(fs::path path)
    : path_(std::move(path)), cache_(std::make_shared<Cache>()) {}

std::shared_ptr<const Hive> RegistryFile::Current() const {
  const std::lock_guard<std::mutex> lock(cache_->mutex);
  const auto version = VersionAt(path_);
  if (!version)
    return nullptr;
  if (cache_->hive && cache_->version == *version)
    return cache_->hive;
  const auto contents = Slurp(path_);
  if (!contents)
    return nullptr;
  cache_->version = contents->version;
  cache_->hive = std::make_shared<const Hive>(registry_text::Parse(contents->text));
  return cache_->hive;
}

bool RegistryFile::Change(const std::function<Edit(Hive &)> &edit) {
  std::error_code ignored;
  if (path_.has_parent_path())
    fs::create_directories(path_.parent_path(), ignored);
  const WriterLock lock(path_);
  if (!lock.Held())
    return false;
  const auto current = Current();
  if (!current)
    return false;
  auto hive = std::make_shared<Hive>(*current);
  switch (edit(*hive)) {
  case Edit::Refused:
    return false;
  case Edit::Unchanged:
    return true;
  case Edit::Changed:
    break;
  }
  if (!Replace(path_, registry_text::Print(*hive)))
    return false;
  // What was just written need not be read again; the lock kept other writers out meanwhile.
  const std::lock_guard<std::mutex> cacheLock(cache_->mutex);
  const auto version = VersionAt(path_);
  cache_->version = version.value_or(FileVersion{});
  cache_->hive = version ? std::shared_ptr<const Hive>(std::move(hive)) : nullptr;
  return true;
}

} // namespace platform
