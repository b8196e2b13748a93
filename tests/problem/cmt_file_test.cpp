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
#include <sstream>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <utility>

namespace {

namespace fs = std::filesystem;
using namespace engine;
using problem::Board;
using problem::ProblemFile;
using States = std::array<short, 4>;

// Every ManCode on the board, the deepest depth and a comment outside ASCII.
ProblemFile KnownProblem() {
  ProblemFile p{.comment = "Mate – Grüße", .maxDepth = 29, .castling = {1, 0, 2, 1}};
  for (int n = 0; n < 64; ++n)
    p.board[n] = n % 13;
  return p;
}

std::string Repeat(std::string_view text, int times) {
  std::string repeated;
  while (times-- > 0)
    repeated += text;
  return repeated;
}

int Word(const std::string &bytes, std::size_t offset) {
  return static_cast<std::int16_t>(static_cast<std::uint8_t>(bytes[offset]) |
                                   static_cast<std::uint8_t>(bytes[offset + 1]) << 8);
}

void SetWord(std::string &bytes, std::size_t offset, int value) {
  bytes[offset] = static_cast<char>(value & 0xFF);
  bytes[offset + 1] = static_cast<char>((value >> 8) & 0xFF);
}

// Every test saves and loads one file in a folder of its own.
class ProblemFiles : public ::testing::Test {
protected:
  void Save(const ProblemFile &problem) {
    std::string error;
    EXPECT_TRUE(problem::WriteProblemFile(path(), problem, error)) << error;
  }
  std::string Bytes() const {
    std::stringstream bytes;
    bytes << std::ifstream(path(), std::ios::binary).rdbuf();
    return bytes.str();
  }
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
  const ProblemFile known = KnownProblem();
  Save(known);
  const std::string bytes = Bytes();
  ASSERT_EQ(bytes.size(), 1293u);
  const std::string comment = "Mate \x96 Gr\xFC\337e"; // ß in octal: an e follows
  EXPECT_EQ(bytes.substr(0, 1000), comment + std::string(1000 - comment.size(), 'X'));
  EXPECT_EQ(Word(bytes, 1000), 12);
  EXPECT_EQ(bytes.substr(1002, 147), std::string(147, '\0')) << "reserved text and word";
  for (int n = 0; n < 64; ++n)
    EXPECT_EQ(Word(bytes, 1149 + 2 * n), n % 13) << "square " << n;
  EXPECT_EQ(Word(bytes, 1277), 29);
  EXPECT_EQ(bytes.substr(1279, 4), std::string(4, '\0'));
  EXPECT_EQ(Word(bytes, 1283), 15);
  EXPECT_EQ(bytes.substr(1285), std::string("\1\0\0\0\2\0\1\0", 8));

  const ProblemFile read = Load();
  EXPECT_EQ(read.comment, known.comment);
  EXPECT_EQ(read.board, known.board);
  EXPECT_EQ(read.maxDepth, known.maxDepth);
  EXPECT_EQ(read.castling, known.castling);

  // Saving over a longer file writes the problem over its start and keeps its tail.
  WriteBytes(std::string(2000, '\xAB'));
  Save(known);
  EXPECT_EQ(Bytes(), bytes + std::string(707, '\xAB'));
}

TEST_F(ProblemFiles, KeepsTheCommentToItsFieldWithAtLeastOneX) {
  const struct {
    std::string comment, stored, readBack;
  } cases[] = {
      {std::string(999, 'c'), std::string(999, 'c'), std::string(999, 'c')},
      {std::string(1000, 'c'), std::string(999, 'c'), std::string(999, 'c')},
      {Repeat("é", 1200), std::string(999, '\xE9'), Repeat("é", 999)}, // characters, not bytes
  };
  for (const auto &c : cases) {
    Save(ProblemFile{.comment = c.comment});
    const std::string bytes = Bytes();
    EXPECT_EQ(Word(bytes, 1000), static_cast<int>(c.stored.size()));
    EXPECT_EQ(bytes.substr(0, 1000), c.stored + "X");
    EXPECT_EQ(Load().comment, c.readBack);
  }
}

TEST_F(ProblemFiles, TakesEachCastlingStateBehindMarker15ThatTheFileHoldsInFull) {
  Save(ProblemFile{.castling = {0, 2, 0, 2}});
  std::string bytes = Bytes();
  const std::pair<std::size_t, States> sizes[] = {
      {1283, {1, 1, 1, 1}}, {1284, {1, 1, 1, 1}}, {1285, {1, 1, 1, 1}}, {1286, {1, 1, 1, 1}},
      {1287, {0, 1, 1, 1}}, {1288, {0, 1, 1, 1}}, {1291, {0, 2, 0, 1}}, {1293, {0, 2, 0, 2}},
  };
  for (const auto &[size, states] : sizes) {
    WriteBytes(bytes.substr(0, size));
    EXPECT_EQ(Load().castling, states) << size << " bytes";
  }
}

// What a saved problem can suffer, a cut trailer, a state no box has, bytes appended, still
// loads; a field no save writes, the mark of a file that is not a problem, refuses the file.
TEST_F(ProblemFiles, LoadsDamagedProblemsSoundlyAndRefusesFieldsNoSaveWrites) {
  Save(ProblemFile{.comment = "Hallo", .maxDepth = 2});
  const std::string saved = Bytes();
  std::string damaged = saved;
  for (auto [box, state] : {std::pair{0, 3}, {1, -1}, {2, 0x0101}})
    SetWord(damaged, 1285 + 2 * box, state);
  WriteBytes(damaged + std::string(50, '\x07'));
  EXPECT_EQ(Load().castling, (States{0, 0, 0, 1})) << "no box value: unchecked";
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
    SetWord(bytes, c.offset, c.value);
    WriteBytes(bytes);
    ProblemFile problem{.comment = "before"};
    std::string error;
    EXPECT_FALSE(problem::ReadProblemFile(path(), problem, error)) << c.reason;
    EXPECT_EQ(error, path().string() + " is not a problem file: " + c.reason);
    EXPECT_EQ(problem.comment, "before");
  }
  // Some file that is no problem at all, as a user picks one by mistake.
  std::string noise(5000, '\0');
  std::uint32_t seed = 12345;
  for (char &byte : noise)
    byte = static_cast<char>((seed = seed * 1664525u + 1013904223u) >> 24);
  WriteBytes(noise);
  ProblemFile problem;
  std::string error;
  EXPECT_FALSE(problem::ReadProblemFile(path(), problem, error));
  EXPECT_NE(error.find(" is not a problem file: "), std::string::npos) << error;
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
    EXPECT_FALSE(problem::WriteProblemFile(path, KnownProblem(), error));
    EXPECT_NE(error.find(message + path.string()), std::string::npos) << error;
  }

  Save(KnownProblem());
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
      {"/dev/null", " is a pipe or a device, not a problem file"},
  };
  for (const auto &[path, reason] : loads) {
    ProblemFile problem{.comment = "before", .castling = {0, 0, 0, 0}};
    problem.board[5] = kBlackQueen;
    std::string error;
    EXPECT_FALSE(problem::ReadProblemFile(path, problem, error));
    EXPECT_TRUE(error.ends_with(reason) || error.starts_with(reason)) << error;
    EXPECT_EQ(problem.comment, "before");
    EXPECT_EQ(problem.board[5], kBlackQueen);
    EXPECT_EQ(problem.castling, (States{0, 0, 0, 0}));
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
      EXPECT_LT(square, 64) << "a 65th value";
      if (square >= 64 || code > kBlackKing)
        return false; // as the board editor does
      board[square] = code;
      return true;
    });
  };
  EXPECT_EQ(read(text), 64);
  EXPECT_EQ(board, mixed);
  EXPECT_EQ(read(Repeat("6 ", 65)), 64);
  // No final blank, garbage, not a whole number, an empty value, beyond 16 bits, a code refused.
  for (const char *malformed : {"5 6", "5 x 6 ", "5 3.5 ", "5  6 ", "5 70000 ", "5 13 6 "}) {
    EXPECT_EQ(read(malformed), 1) << malformed;
    EXPECT_EQ(board[0], 5) << malformed;
    EXPECT_EQ(board[1], -9) << malformed;
  }
}

} // namespace
