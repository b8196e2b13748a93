#include "problem/cmt_file.h"

#include "engine/man_codes.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <thread>
#include <tuple>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using namespace engine;
using problem::Board;
using problem::ProblemFile;
using States = std::array<short, 4>;

// Little-endian 16-bit words, as the file stores every integer.
std::string Words(std::initializer_list<int> values) {
  std::string bytes;
  for (const int value : values)
    bytes += {static_cast<char>(value & 0xFF), static_cast<char>((value >> 8) & 0xFF)};
  return bytes;
}

// Every test saves and loads one file in a folder of its own.
class ProblemFiles : public ::testing::Test {
protected:
  void Save(const ProblemFile &problem) {
    std::string error;
    EXPECT_TRUE(problem::WriteProblemFile(path(), problem, error)) << error;
  }
  std::string Bytes() const { return testing_support::FileBytes(path()); }
  void WriteBytes(const std::string &bytes) const {
    std::ofstream(path(), std::ios::binary) << bytes;
  }
  ProblemFile Load() const {
    ProblemFile problem;
    std::string error;
    EXPECT_TRUE(problem::ReadProblemFile(path(), problem, error)) << error;
    return problem;
  }
  fs::path path() const { return folder_ / "p.cmt"; }

  const testing_support::TempFolder folder_{"cmt"};
};

TEST_F(ProblemFiles, SavesEveryFieldAtItsOffsetAndReadsItBack) {
  // Every ManCode on the board, the deepest depth and a comment outside ASCII.
  ProblemFile known{.comment = "Mate – Grüße", .maxDepth = 29, .castling = {1, 0, 2, 1}};
  std::string board;
  for (int n = 0; n < 64; ++n) {
    known.board[n] = n % 13;
    board += Words({n % 13});
  }
  Save(known);
  const std::string comment = "Mate \x96 Gr\xFC\337e"; // ß in octal: an e follows
  const std::string bytes = Bytes();
  EXPECT_EQ(bytes, comment + std::string(1000 - comment.size(), 'X') + Words({12}) +
                       std::string(147, '\0') + board + Words({29, 0, 0, 15, 1, 0, 2, 1}));
  const ProblemFile read = Load();
  EXPECT_EQ(std::tie(read.comment, read.board, read.maxDepth, read.castling),
            std::tie(known.comment, known.board, known.maxDepth, known.castling));

  // Saving over a longer file writes the problem over its start and keeps its tail.
  WriteBytes(std::string(2000, '\xAB'));
  Save(known);
  EXPECT_EQ(Bytes(), bytes + std::string(707, '\xAB'));

  // The comment keeps to its field, 999 characters, not bytes, and at least one X.
  std::string e999;
  for (int n = 0; n < 999; ++n)
    e999 += "é";
  const std::pair<std::string, std::string> comments[] = {
      {std::string(999, 'c'), std::string(999, 'c')},
      {std::string(1000, 'c'), std::string(999, 'c')},
      {e999 + "éé", e999},
  };
  for (const auto &[written, readBack] : comments) {
    Save(ProblemFile{.comment = written});
    EXPECT_EQ(Bytes().substr(999, 3), "X" + Words({999}));
    EXPECT_EQ(Load().comment, readBack);
  }
}

// What a saved problem can suffer, a cut trailer, a state no box has, bytes appended, still
// loads; a field no save writes, the mark of a file that is not a problem, refuses the file.
TEST_F(ProblemFiles, LoadsDamagedProblemsSoundlyAndRefusesFieldsNoSaveWrites) {
  Save(ProblemFile{.comment = "Hallo", .maxDepth = 2, .castling = {0, 2, 0, 2}});
  const std::string saved = Bytes();
  // Each castling state behind marker 15 that the file holds in full.
  const std::pair<std::size_t, States> sizes[] = {
      {1283, {1, 1, 1, 1}}, {1286, {1, 1, 1, 1}}, {1287, {0, 1, 1, 1}}, {1291, {0, 2, 0, 1}}};
  for (const auto &[size, states] : sizes) {
    WriteBytes(saved.substr(0, size));
    EXPECT_EQ(Load().castling, states) << size << " bytes";
  }
  WriteBytes(std::string(saved).replace(1285, 6, Words({3, -1, 0x0101})) + std::string(50, '\7'));
  EXPECT_EQ(Load().castling, (States{0, 0, 0, 2})) << "no box value: unchecked";
  EXPECT_EQ(Load().comment, "Hallo");

  const struct {
    std::size_t offset;
    int value;
    const char *reason;
  } foreign[] = {
      {1000, -5, "its comment length is -5, not 0 to 999"},
      {1000, 1000, "its comment length is 1000, not 0 to 999"},
      {1149, 13, "square a1 holds 13, which is no man"},
      {1149 + 2 * 63, -1, "square h8 holds -1, which is no man"},
      {1149 + 2 * 9, 0x0106, "square b2 holds 262, which is no man"},
      {1277, -1, "its depth is -1, not 0 to 29"},
      {1277, 30, "its depth is 30, not 0 to 29"},
      {1283, 0, "its marker is 0, not 15"},
      {1283, 0x0F00, "its marker is 3840, not 15"},
  };
  for (const auto &c : foreign) {
    std::string bytes = saved;
    bytes.replace(c.offset, 2, Words({c.value}));
    WriteBytes(bytes);
    ProblemFile problem{.comment = "before"};
    std::string error;
    EXPECT_FALSE(problem::ReadProblemFile(path(), problem, error)) << c.reason;
    EXPECT_EQ(error, path().string() + " is not a problem file: " + c.reason);
    EXPECT_EQ(problem.comment, "before");
  }
}

TEST_F(ProblemFiles, ReportsWhatItCannotWriteOrReadAndAppliesNothingOfIt) {
  const std::pair<fs::path, const char *> saves[] = {
      {folder_ / "missing" / "p.cmt", "cannot open "},
      {"/dev/full", "cannot write "}, // a full disk on demand
  };
  for (const auto &[path, message] : saves) {
    if (path == "/dev/full" && !fs::exists(path))
      continue;
    std::string error;
    EXPECT_FALSE(problem::WriteProblemFile(path, ProblemFile{}, error));
    EXPECT_NE(error.find(message + path.string()), std::string::npos) << error;
  }

  Save(ProblemFile{});
  WriteBytes(Bytes().substr(0, 1282));
  fs::create_directory(folder_ / "folder.cmt");
  const fs::path pipe = folder_ / "pipe.cmt";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  // A reader that opened the pipe would wait for a writer for ever: this one comes and goes at
  // once, so that such a reader fails the test instead of hanging it.
  std::atomic<bool> read = false;
  std::jthread writer([&] {
    while (!read) {
      if (const int fd = ::open(pipe.c_str(), O_WRONLY | O_NONBLOCK); fd >= 0)
        ::close(fd);
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  });
  const std::pair<fs::path, std::string> loads[] = {
      {path(), " holds 1282 bytes; a problem file has at least 1283 bytes."},
      {folder_ / "folder.cmt", " is a folder, not a problem file"},
      {folder_ / "missing.cmt", "cannot open "},
      {pipe, " is a pipe or a device, not a problem file"},
  };
  for (const auto &[path, reason] : loads) {
    ProblemFile problem{.comment = "before", .maxDepth = 7, .castling = {0, 0, 0, 0}};
    std::string error;
    EXPECT_FALSE(problem::ReadProblemFile(path, problem, error));
    EXPECT_TRUE(error.ends_with(reason) || error.starts_with(reason)) << error;
    EXPECT_EQ(std::tuple(problem.comment, problem.maxDepth, problem.castling),
              std::tuple("before", 7, States{0, 0, 0, 0}));
  }
  read = true;
}

TEST(CheckedRights, GrantsOnlyCheckedBoxes) {
  const std::pair<States, std::uint32_t> cases[] = {
      {{1, 1, 1, 1}, kAllRights}, {{2, 2, 2, 2}, 0},           {{1, 0, 0, 0}, kWhiteShort},
      {{0, 1, 0, 0}, kWhiteLong}, {{0, 0, 1, 0}, kBlackShort}, {{0, 0, 2, 1}, kBlackLong},
  };
  for (const auto &[castling, rights] : cases)
    EXPECT_EQ(problem::CheckedRights(castling), rights);
}

TEST(BoardSetup, WritesEachCodeWithABlankAndReadsUntilTheFirstMalformedPart) {
  Board mixed{};
  for (int n = 0; n < 64; ++n)
    mixed[n] = (n * 7) % 13;
  const std::string text = problem::BoardSetupText(mixed);
  EXPECT_TRUE(text.starts_with("0 7 1 8 2 9 3 10 ") && text.ends_with(" 11 5 12 ")) << text;
  Board board;
  const auto read = [&board](const std::string &text) {
    board.fill(-9);
    return problem::ReadBoardSetup(text, [&](int square, int code) {
      board.at(square) = code;   // a 65th value throws
      return code <= kBlackKing; // as the board editor does
    });
  };
  EXPECT_EQ(read(text + "6 "), 64);
  EXPECT_EQ(board, mixed);
  // No final blank, garbage, not a whole number, an empty value, beyond 16 bits, a code refused.
  for (const char *malformed : {"5 6", "5 x 6 ", "5 3.5 ", "5  6 ", "5 70000 ", "5 13 6 "}) {
    EXPECT_EQ(read(malformed), 1) << malformed;
    EXPECT_EQ(board[2], -9) << malformed;
  }
}

} // namespace
