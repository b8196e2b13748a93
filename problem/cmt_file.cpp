#include "problem/cmt_file.h"

#include "engine/codes.h"
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

bool ReadProblemFile(const std::filesystem::path &path, ProblemFile &problem, std::string &error) {
  FileHandle file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (file.get() < 0) {
    error = Reason("cannot open", path, errno);
    return false;
  }
  struct stat status {};
  if (::fstat(file.get(), &status) == 0 && S_ISDIR(status.st_mode)) {
    error = path.string() + " is a folder, not a problem file";
    return false;
  }
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
  if (!DecodeProblemFile(std::string_view(reinterpret_cast<const char *>(bytes.data()), size),
                         problem)) {
    error = path.string() + " holds " + std::to_string(size) +
            " bytes; a problem file has at least " + std::to_string(kProblemRecordSize);
    return false;
  }
  return true;
}

bool DecodeProblemFile(std::string_view contents, ProblemFile &problem) {
  if (contents.size() < kProblemRecordSize)
    return false;
  Bytes bytes{};
  const std::size_t size = std::min(contents.size(), bytes.size());
  std::copy_n(contents.begin(), size, bytes.begin());
  ProblemFile read;
  const int length = std::clamp<int>(GetWord(bytes, kCommentLengthOffset), 0, kMaxCommentLength);
  read.comment = FromWindows1252(
      std::string_view(reinterpret_cast<const char *>(bytes.data()) + kCommentOffset, length));
  for (int n = 0; n < 64; ++n) {
    const int code = GetWord(bytes, kBoardOffset + 2 * n);
    const bool known = code >= engine::kNoMan && code <= engine::kBlackKing;
    read.board[n] = known ? code : static_cast<int>(engine::kNoMan);
  }
  read.maxDepth = GetWord(bytes, kMaxDepthOffset);
  // A field counts only when the file holds both its bytes.
  const auto holds = [&](std::size_t offset) { return size >= offset + 2; };
  if (holds(kFormatMarkerOffset) && GetWord(bytes, kFormatMarkerOffset) == kFormatMarker) {
    for (int box = 0; box < 4; ++box) {
      const std::size_t offset = kCastlingOffset + 2 * box;
      if (!holds(offset))
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
