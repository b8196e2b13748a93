#include "problem/cmt_file.h"

#include "engine/man_codes.h"
#include "problem/windows1252.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace problem {

namespace {

using Bytes = std::array<unsigned char, kProblemFileSize>;

void PutWord(Bytes &bytes, std::size_t offset, int value) {
  const auto word = static_cast<std::uint16_t>(value);
  bytes[offset] = static_cast<unsigned char>(word & 0xFF);
  bytes[offset + 1] = static_cast<unsigned char>(word >> 8);
}

short GetWord(const Bytes &bytes, std::size_t offset) {
  return static_cast<short>(static_cast<std::uint16_t>(bytes[offset] | (bytes[offset + 1] << 8)));
}

Bytes Encode(const ProblemFile &problem) {
  Bytes bytes{}; // every reserved byte is zero
  std::string comment = ToWindows1252(problem.comment);
  if (comment.size() > kMaxCommentLength)
    comment.resize(kMaxCommentLength);
  std::fill_n(bytes.begin() + kCommentOffset, kCommentFieldSize, kCommentFill);
  std::copy(comment.begin(), comment.end(), bytes.begin() + kCommentOffset);
  PutWord(bytes, kCommentLengthOffset, static_cast<int>(comment.size()));
  for (int n = 0; n < 64; ++n)
    PutWord(bytes, kBoardOffset + 2 * n, problem.board[n]);
  PutWord(bytes, kMaxDepthOffset, problem.maxDepth);
  PutWord(bytes, kFormatMarkerOffset, kFormatMarker);
  for (int box = 0; box < 4; ++box)
    PutWord(bytes, kCastlingOffset + 2 * box, problem.castling[box]);
  return bytes;
}

// Holds a descriptor for the length of one command; a close that fails is reported by Close.
class FileHandle {
public:
  explicit FileHandle(int fd) : fd_(fd) {}
  FileHandle(const FileHandle &) = delete;
  FileHandle &operator=(const FileHandle &) = delete;
  ~FileHandle() {
    if (fd_ >= 0)
      ::close(fd_);
  }
  int get() const { return fd_; }
  void Reset(int fd) {
    if (fd_ >= 0)
      ::close(fd_);
    fd_ = fd;
  }
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

private:
  int fd_;
};

std::string Reason(const std::string &what, const std::filesystem::path &path, int errorNumber) {
  return what + " " + path.string() + ": " + std::strerror(errorNumber);
}

} // namespace

bool WriteProblemFile(const std::filesystem::path &path, const ProblemFile &problem,
                      std::string &error) {
  const Bytes bytes = Encode(problem);
  // No O_TRUNC: a longer file keeps whatever lies behind the problem.
  FileHandle file(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666));
  if (file.get() < 0) {
    error = Reason("cannot open", path, errno);
    return false;
  }
  std::size_t written = 0;
  while (written < bytes.size()) {
    const ssize_t n = ::write(file.get(), bytes.data() + written, bytes.size() - written);
    if (n < 0 && errno == EINTR)
      continue;
    if (n <= 0) {
      error = n < 0 ? Reason("cannot write", path, errno)
                    : "cannot write " + path.string() + ": only " + std::to_string(written) +
                          " of " + std::to_string(bytes.size()) + " bytes written";
      return false;
    }
    written += static_cast<std::size_t>(n);
  }
  // A full disk may show only when the data leaves the cache; EINVAL is a file that cannot be
  // synchronised at all (a device, a pipe), which has nothing waiting.
  if (::fdatasync(file.get()) != 0 && errno != EINVAL) {
    error = Reason("cannot flush", path, errno);
    return false;
  }
  if (!file.Close()) {
    error = Reason("cannot close", path, errno);
    return false;
  }
  return true;
}

namespace {

// A pipe or a device would block the reader or feed it without end, so the type is asked before
// the file is opened; the open itself does not wait either, should the path change meanwhile.
bool OpenRegularFile(const std::filesystem::path &path, FileHandle &file, std::string &error) {
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0) {
    error = Reason("cannot open", path, errno);
    return false;
  }
  if (S_ISDIR(status.st_mode)) {
    error = path.string() + " is a folder, not a problem file";
    return false;
  }
  if (!S_ISREG(status.st_mode)) {
    error = path.string() + " is a pipe or a device, not a problem file";
    return false;
  }
  file.Reset(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (file.get() < 0) {
    error = Reason("cannot open", path, errno);
    return false;
  }
  if (::fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode)) {
    error = path.string() + " is no longer a regular file";
    return false;
  }
  return true;
}

// The first field that no save writes, as the reason the file is refused; empty for a file
// that may be a problem.
std::string ForeignField(const Bytes &bytes, std::size_t size) {
  const int length = GetWord(bytes, kCommentLengthOffset);
  if (length < 0 || length > kMaxCommentLength)
    return "its comment length is " + std::to_string(length) + ", not 0 to 999";
  for (int n = 0; n < 64; ++n) {
    const int code = GetWord(bytes, kBoardOffset + 2 * n);
    if (code < engine::kNoMan || code > engine::kBlackKing) {
      const char square[] = {static_cast<char>('a' + n / 8), static_cast<char>('1' + n % 8), 0};
      return std::string("square ") + square + " holds " + std::to_string(code) +
             ", which is no man";
    }
  }
  const int depth = GetWord(bytes, kMaxDepthOffset);
  if (depth < 0 || depth > kMaxDepthValue)
    return "its depth is " + std::to_string(depth) + ", not 0 to " + std::to_string(kMaxDepthValue);
  if (size >= kFormatMarkerOffset + 2 && GetWord(bytes, kFormatMarkerOffset) != kFormatMarker)
    return "its marker is " + std::to_string(GetWord(bytes, kFormatMarkerOffset)) + ", not 15";
  return {};
}

} // namespace

bool ReadProblemFile(const std::filesystem::path &path, ProblemFile &problem, std::string &error) {
  FileHandle file(-1);
  if (!OpenRegularFile(path, file, error))
    return false;
  Bytes bytes{};
  std::size_t size = 0;
  while (size < bytes.size()) {
    const ssize_t n = ::read(file.get(), bytes.data() + size, bytes.size() - size);
    if (n < 0 && errno == EINTR)
      continue;
    if (n < 0) {
      error = Reason("cannot read", path, errno);
      return false;
    }
    if (n == 0)
      break;
    size += static_cast<std::size_t>(n);
  }
  std::string reason;
  if (!DecodeProblemFile(std::string_view(reinterpret_cast<const char *>(bytes.data()), size),
                         problem, reason)) {
    error = path.string() + " " + reason;
    return false;
  }
  return true;
}

bool DecodeProblemFile(std::string_view contents, ProblemFile &problem, std::string &reason) {
  if (contents.size() < kProblemRecordSize) {
    reason = "holds " + std::to_string(contents.size()) + " bytes; a problem file has at least " +
             std::to_string(kProblemRecordSize) + " bytes.";
    return false;
  }
  Bytes bytes{};
  const std::size_t size = std::min(contents.size(), bytes.size());
  std::copy_n(contents.begin(), size, bytes.begin());
  if (const std::string field = ForeignField(bytes, size); !field.empty()) {
    reason = "is not a problem file: " + field;
    return false;
  }
  ProblemFile read;
  const int length = GetWord(bytes, kCommentLengthOffset);
  read.comment = FromWindows1252(
      std::string_view(reinterpret_cast<const char *>(bytes.data()) + kCommentOffset, length));
  for (int n = 0; n < 64; ++n)
    read.board[n] = GetWord(bytes, kBoardOffset + 2 * n);
  read.maxDepth = GetWord(bytes, kMaxDepthOffset);
  // A castling state counts only when the file holds both its bytes.
  if (size >= kFormatMarkerOffset + 2) {
    for (int box = 0; box < 4; ++box) {
      const std::size_t offset = kCastlingOffset + 2 * box;
      if (size < offset + 2)
        break;
      const short state = GetWord(bytes, offset);
      read.castling[box] = state >= kUnchecked && state <= kGrayed ? state : kUnchecked;
    }
  }
  problem = std::move(read);
  return true;
}

std::uint32_t CheckedRights(const std::array<short, 4> &castling) {
  std::uint32_t rights = 0;
  if (castling[kCWS] == kChecked)
    rights |= engine::kWhiteShort;
  if (castling[kCWL] == kChecked)
    rights |= engine::kWhiteLong;
  if (castling[kCBS] == kChecked)
    rights |= engine::kBlackShort;
  if (castling[kCBL] == kChecked)
    rights |= engine::kBlackLong;
  return rights;
}

std::string BoardSetupText(const Board &board) {
  std::string text;
  text.reserve(3 * board.size());
  for (const int code : board) {
    text += std::to_string(code);
    text += ' ';
  }
  return text;
}

int ReadBoardSetup(std::string_view text, const std::function<bool(int square, int code)> &place) {
  int square = 0;
  while (!text.empty()) {
    const std::size_t blank = text.find(' ');
    if (blank == std::string_view::npos || square >= 64)
      break;
    const std::string_view value = text.substr(0, blank);
    short code = 0;
    const auto [end, status] = std::from_chars(value.data(), value.data() + value.size(), code);
    if (value.empty() || status != std::errc() || end != value.data() + value.size())
      break;
    if (!place(square, code))
      break;
    ++square;
    text.remove_prefix(blank + 1);
  }
  return square;
}

} // namespace problem
