#include "problem/cmt_file.h"

#include "engine/codes.h"
#include "problem/fen.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <utility>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace engine;
using problem::Board;
using problem::ProblemFile;
using States = std::array<short, 4>;

// The mate in 3 5Q2/8/2P1pP2/4k3/4P3/8/4N3/R3K2R, with a comment outside ASCII.
ProblemFile KnownProblem() {
  ProblemFile p;
  problem::FenPosition position;
  std::string error;
  EXPECT_TRUE(problem::ParseFen("5Q2/8/2P1pP2/4k3/4P3/8/4N3/R3K2R w - -", position, error));
  p.board = position.board;
  p.comment = "Mate in 3 – Grüße";
  p.maxDepth = 2;
  p.castling = {1, 0, 2, 1};
  return p;
}

std::string Repeat(std::string_view text, int times) {
  std::string repeated;
  for (int i = 0; i < times; ++i)
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

class ProblemFiles : public ::testing::Test {
protected:
  void SetUp() override {
    std::string folder = ::testing::TempDir() + "cmt_XXXXXX";
    ASSERT_NE(mkdtemp(folder.data()), nullptr);
    folder_ = folder;
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }

  fs::path Save(const ProblemFile &problem, const std::string &name = "p.cmt") {
    std::string error;
    EXPECT_TRUE(problem::WriteProblemFile(folder_ / name, problem, error)) << error;
    return folder_ / name;
  }
  static std::string Bytes(const fs::path &path) {
    std::stringstream bytes;
    bytes << std::ifstream(path, std::ios::binary).rdbuf();
    return bytes.str();
  }
  fs::path WriteBytes(const std::string &bytes, const std::string &name = "raw.cmt") {
    std::ofstream(folder_ / name, std::ios::binary) << bytes;
    return folder_ / name;
  }
  static ProblemFile Load(const fs::path &path) {
    ProblemFile problem;
    std::string error;
    EXPECT_TRUE(problem::ReadProblemFile(path, problem, error)) << error;
    return problem;
  }

  fs::path folder_;
};

TEST_F(ProblemFiles, SavesEveryFieldAtItsOffset) {
  const std::string bytes = Bytes(Save(KnownProblem()));
  ASSERT_EQ(bytes.size(), 1293u);
  const std::string comment = "Mate in 3 \x96 Gr\xFC\337e"; // ß in octal: an e follows
  EXPECT_EQ(bytes.substr(0, 1000), comment + std::string(1000 - comment.size(), 'X'));
  EXPECT_EQ(Word(bytes, 1000), 17);
  EXPECT_EQ(bytes.substr(1002, 147), std::string(147, '\0')) << "reserved text and word";
  for (int n = 0; n < 64; ++n)
    EXPECT_EQ(Word(bytes, 1149 + 2 * n), KnownProblem().board[n]) << "square " << n;
  EXPECT_EQ(Word(bytes, 1277), 2);
  EXPECT_EQ(bytes.substr(1279, 4), std::string(4, '\0'));
  EXPECT_EQ(Word(bytes, 1283), 15);
  EXPECT_EQ(bytes.substr(1285), std::string("\1\0\0\0\2\0\1\0", 8));
}

TEST_F(ProblemFiles, KeepsTheCommentToItsFieldWithAtLeastOneX) {
  const struct {
    std::string comment, stored, readBack;
  } cases[] = {
      {"", "", ""},
      {std::string(999, 'c'), std::string(999, 'c'), std::string(999, 'c')},
      {std::string(1000, 'c'), std::string(999, 'c'), std::string(999, 'c')},
      {Repeat("é", 1200), std::string(999, '\xE9'), Repeat("é", 999)}, // characters, not bytes
      {"K♔ e1", "K? e1", "K? e1"},
  };
  for (const auto &c : cases) {
    ProblemFile p;
    p.comment = c.comment;
    const std::string bytes = Bytes(Save(p));
    EXPECT_EQ(Word(bytes, 1000), static_cast<int>(c.stored.size()));
    EXPECT_EQ(bytes.substr(0, 1000), c.stored + std::string(1000 - c.stored.size(), 'X'));
    EXPECT_EQ(bytes.substr(1149, 128), std::string(128, '\0')) << "the empty board";
    EXPECT_EQ(Load(folder_ / "p.cmt").comment, c.readBack);
  }
}

TEST_F(ProblemFiles, ReadsBackEveryField) {
  ProblemFile all;
  for (int n = 0; n < 64; ++n)
    all.board[n] = n % 13;
  all.comment = "Grüße – “quotes” €\r\nzweite Zeile";
  all.maxDepth = -3;
  all.castling = {0, 2, 1, 0};
  ProblemFile deep = KnownProblem();
  deep.maxDepth = 32767;
  for (const ProblemFile &saved : {all, deep, ProblemFile{}}) {
    const ProblemFile read = Load(Save(saved));
    EXPECT_EQ(read.comment, saved.comment);
    EXPECT_EQ(read.board, saved.board);
    EXPECT_EQ(read.maxDepth, saved.maxDepth);
    EXPECT_EQ(read.castling, saved.castling);
  }
}

TEST_F(ProblemFiles, SavingOverALongerFileKeepsItsTail) {
  const std::string alone = Bytes(Save(KnownProblem(), "alone.cmt"));
  WriteBytes(std::string(2000, '\xAB'), "long.cmt");
  const fs::path path = Save(KnownProblem(), "long.cmt");
  EXPECT_EQ(Bytes(path), alone + std::string(707, '\xAB'));
  EXPECT_EQ(Load(path).castling, KnownProblem().castling);
}

TEST_F(ProblemFiles, ReportsASaveThatFails) {
  fs::create_directory(folder_ / "folder.cmt");
  const std::pair<fs::path, const char *> cases[] = {
      {folder_ / "missing" / "p.cmt", "cannot open "},
      {folder_ / "folder.cmt", "cannot open "},
      {"/dev/full", "cannot write "}, // a full disk on demand
  };
  for (const auto &[path, message] : cases) {
    if (path == "/dev/full" && !fs::exists(path))
      continue;
    std::string error;
    EXPECT_FALSE(problem::WriteProblemFile(path, KnownProblem(), error));
    EXPECT_NE(error.find(message + path.string()), std::string::npos) << error;
  }
}

TEST_F(ProblemFiles, TakesEachCastlingStateBehindMarker15ThatTheFileHoldsInFull) {
  ProblemFile p;
  p.castling = {0, 2, 0, 2};
  std::string bytes = Bytes(Save(p));
  const std::pair<std::size_t, States> sizes[] = {
      {1283, {1, 1, 1, 1}}, {1284, {1, 1, 1, 1}}, {1285, {1, 1, 1, 1}}, {1286, {1, 1, 1, 1}},
      {1287, {0, 1, 1, 1}}, {1288, {0, 1, 1, 1}}, {1291, {0, 2, 0, 1}}, {1293, {0, 2, 0, 2}},
  };
  for (const auto &[size, states] : sizes)
    EXPECT_EQ(Load(WriteBytes(bytes.substr(0, size))).castling, states) << size << " bytes";
  for (int marker : {0, 14, 16, 0x0F00, 0x010F}) {
    SetWord(bytes, 1283, marker);
    EXPECT_EQ(Load(WriteBytes(bytes)).castling, (States{1, 1, 1, 1})) << "marker " << marker;
  }
}

TEST_F(ProblemFiles, LoadsDamagedFieldsSoundly) {
  std::string bytes = Bytes(Save(ProblemFile{}));
  bytes.replace(0, 5, "Hallo");
  const std::pair<int, int> codes[] = {{13, kNoMan},     {-1, kNoMan},     {200, kNoMan},
                                       {0x0106, kNoMan}, {12, kBlackKing}, {1, kWhitePawn}};
  for (int n = 0; n < 6; ++n)
    SetWord(bytes, 1149 + 2 * n, codes[n].first);
  SetWord(bytes, 1277, -7);
  for (auto [box, state] : {std::pair{0, 3}, {1, -1}, {2, 0x0101}})
    SetWord(bytes, 1285 + 2 * box, state);
  bytes += std::string(50, '\x07'); // ignored after the castling states
  const std::pair<int, std::string> lengths[] = {{-5, ""},
                                                 {3, "Hal"},
                                                 {1000, "Hallo" + std::string(994, 'X')},
                                                 {1200, "Hallo" + std::string(994, 'X')}};
  for (const auto &[length, comment] : lengths) {
    SetWord(bytes, 1000, length);
    const ProblemFile read = Load(WriteBytes(bytes));
    EXPECT_EQ(read.comment, comment) << "length " << length;
    for (int n = 0; n < 6; ++n)
      EXPECT_EQ(read.board[n], codes[n].second) << "code " << codes[n].first;
    EXPECT_EQ(read.maxDepth, -7) << "the depth as stored";
    EXPECT_EQ(read.castling, (States{0, 0, 0, 1})) << "no box value: unchecked";
  }
}

TEST_F(ProblemFiles, AppliesNothingFromAFileThatIsNoProblem) {
  fs::create_directory(folder_ / "folder.cmt");
  const std::pair<fs::path, const char *> cases[] = {
      {WriteBytes(Bytes(Save(KnownProblem())).substr(0, 1282)), "holds 1282 bytes"},
      {WriteBytes("", "empty.cmt"), "holds 0 bytes"},
      {folder_ / "folder.cmt", "is a folder"},
      {folder_ / "missing.cmt", "cannot open"},
  };
  for (const auto &[path, reason] : cases) {
    ProblemFile problem;
    problem.comment = "before";
    problem.board[5] = kBlackQueen;
    problem.castling = {0, 0, 0, 0};
    std::string error;
    EXPECT_FALSE(problem::ReadProblemFile(path, problem, error));
    EXPECT_NE(error.find(reason), std::string::npos) << error;
    EXPECT_EQ(problem.comment, "before");
    EXPECT_EQ(problem.board[5], kBlackQueen);
    EXPECT_EQ(problem.castling, (States{0, 0, 0, 0}));
  }
}

TEST(CheckedRights, GrantsOnlyCheckedBoxes) {
  const std::pair<States, std::uint32_t> cases[] = {
      {{1, 1, 1, 1}, kAllRights}, {{2, 2, 2, 2}, 0},           {{1, 0, 0, 0}, kWhiteShort},
      {{0, 1, 0, 0}, kWhiteLong}, {{0, 0, 1, 0}, kBlackShort}, {{0, 0, 2, 1}, kBlackLong},
  };
  for (const auto &[castling, rights] : cases)
    EXPECT_EQ(problem::CheckedRights(castling), rights);
}

TEST(BoardSetup, WritesEachCodeAndOneBlank) {
  EXPECT_EQ(problem::BoardSetupText(Board{}), Repeat("0 ", 64));
  Board board{};
  board[0] = kWhiteRook;
  board[1] = kBlackKing;
  board[63] = kBlackQueen;
  const std::string text = problem::BoardSetupText(board);
  EXPECT_EQ(text.substr(0, 8), "2 12 0 0");
  EXPECT_EQ(text.substr(text.size() - 7), "0 0 11 ");
}

TEST(BoardSetup, ReadsValuesUntilTheFirstMalformedPart) {
  Board mixed{};
  for (int n = 0; n < 64; ++n)
    mixed[n] = (n * 7) % 13;
  const struct {
    std::string text;
    int placed;
    std::vector<int> firstSquares; // -9: never placed
  } cases[] = {
      {problem::BoardSetupText(mixed), 64, {0, 7, 1, 8, 2}},
      {"", 0, {-9}},
      {"5 6 ", 2, {5, 6, -9}},  // fewer than 64 values
      {"5 6", 1, {5, -9}},      // no final blank
      {"5 x 6 ", 1, {5, -9}},   // garbage
      {"5 3.5 ", 1, {5, -9}},   // not a whole number
      {"5  6 ", 1, {5, -9}},    // an empty value
      {"5 70000 ", 1, {5, -9}}, // beyond 16 bits
      {"5 13 6 ", 1, {5, -9}},  // a code the editor refuses
      {"5 -1 6 ", 1, {5, -9}},
      {Repeat("6 ", 65), 64, {6, 6}},
  };
  for (const auto &c : cases) {
    Board board;
    board.fill(-9);
    const int placed = problem::ReadBoardSetup(c.text, [&](int square, int code) {
      if (square < 0 || square >= 64) {
        ADD_FAILURE() << "asked to place on square " << square;
        return false;
      }
      if (code < kNoMan || code > kBlackKing)
        return false; // as the board editor does
      board[square] = code;
      return true;
    });
    EXPECT_EQ(placed, c.placed) << c.text;
    for (std::size_t n = 0; n < c.firstSquares.size(); ++n)
      EXPECT_EQ(board[n], c.firstSquares[n]) << c.text << ", square " << n;
  }
}

} // namespace
