// quintabell-solve as other tools call it: arguments in, solution texts on stdout, everything
// else on stderr, and the exit status.
#include "problem/cmt_file.h"
#include "problem/fen.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct CommandRun {
  int status;
  std::string out;
  std::string err;
};

CommandRun Solve(const std::string &arguments) {
  // ctest runs tests in parallel processes: each run needs a file of its own.
  std::string errPath = ::testing::TempDir() + "solve_stderr_XXXXXX";
  close(mkstemp(errPath.data()));
  const std::string command = std::string(QUINTABELL_SOLVE) + " " + arguments + " 2>" + errPath;
  CommandRun run{};
  FILE *pipe = popen(command.c_str(), "r");
  std::array<char, 4096> buffer;
  for (std::size_t n; (n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0;) {
    run.out.append(buffer.data(), n);
  }
  const int status = pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  std::ifstream err(errPath);
  std::stringstream text;
  text << err.rdbuf();
  run.err = text.str();
  std::remove(errPath.c_str());
  return run;
}

TEST(SolveCommand, PrintsEachKeyAsItsTenCharactersAndASummary) {
  const CommandRun run = Solve("--moves 3 --fen '5Q2/8/2P1pP2/4k3/4P3/8/4N3/R3K2R w KQ - 0 1'");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "Qf8-e7    \n");
  EXPECT_NE(run.err.find("1 solution, "), std::string::npos) << run.err;
  EXPECT_NE(run.err.find(" nodes/s"), std::string::npos) << run.err;
}

TEST(SolveCommand, BlackToMoveRunsTheDefence) {
  // After the key Qf8-e7 of the mate in 3 Black has no defence; with one move left every
  // Black move is one, in generation order (king steps up-left, up-right, down-right, ...).
  const CommandRun key =
      Solve("--moves 3 --defend --fen '8/4Q3/2P1pP2/4k3/4P3/8/4N3/R3K2R b KQ - 1 1'");
  EXPECT_EQ(key.status, 0);
  EXPECT_EQ(key.out, "");
  const CommandRun wrong = Solve("--quiet --moves 1 --fen '4k3/8/8/8/8/8/8/R3K3 b Q - 0 1'");
  EXPECT_EQ(wrong.out, "Ke8-f7    \nKe8-d7    \nKe8-e7    \nKe8-d8    \nKe8-f8    \n");
}

TEST(SolveCommand, ReportsNoticesOnStdoutLikeSolutions) {
  EXPECT_EQ(Solve("--moves 2 --fen '4k3/4R3/8/8/8/8/8/4K3 w - - 0 1'").out, ">> CHECKMT\n");
  EXPECT_EQ(Solve("--moves 2 --fen 'k7/2Q5/1K6/8/8/8/8/8 b - - 0 1'").out, ">> STALEMT\n");
  EXPECT_EQ(Solve("--moves 0 --fen '8/Q7/8/8/8/8/8/2k1K2R w K - 0 1'").out, "");
}

TEST(SolveCommand, StopsOnTheFirstKeyWhenAsked) {
  const std::string twoKeys = "--fen 'k3N3/P7/K6p/8/8/8/8/8 w - - 0 1'";
  // The king's moves come last, so the mate in one by the knight is found first.
  EXPECT_EQ(Solve("--moves 2 " + twoKeys).out, "Ne8-c7   #\nKa6-b6    \n");
  EXPECT_EQ(Solve("--moves 2 --stop-on-first " + twoKeys).out, "Ne8-c7   #\n");
}

TEST(SolveCommand, CountsTheMoveTree) {
  const CommandRun run =
      Solve("--perft 3 --quiet --fen 'rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1'");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "8902\n");
  EXPECT_EQ(run.err, "");
}

TEST(SolveCommand, RefusesBadInputWithExitTwoAndOneLine) {
  struct Case {
    const char *arguments;
    const char *message;
  } cases[] = {
      {"--moves 2 --fen '8/8/8/8/8/8/8/4K3 w - - 0 1'", "could not find a black king!"},
      {"--moves 2 --fen 'P3k3/8/8/8/8/8/8/4K3 w - - 0 1'", "A pawn can never stand on a BaseLine!"},
      {"--moves 2 --fen '4k3/8/8/8/8/8/8/4K3 z'", "bad FEN: the side to move"},
      {"--defend --moves 2 --fen '4k3/8/8/8/8/8/8/4K3 w - - 0 1'",
       "--defend needs a FEN with Black"},
      {"--fen '4k3/8/8/8/8/8/8/4K3 w - - 0 1'", "--moves is required"},
      {"--moves 2 --colour --fen x", "unknown option"},
      {"--moves 2 --fen '4k3/8/8/8/8/8/8/4K3 w - - 0 1' p.cmt",
       "--fen or a problem file, not both"},
  };
  for (const Case &c : cases) {
    const CommandRun run = Solve(c.arguments);
    EXPECT_EQ(run.status, 2) << c.arguments;
    EXPECT_EQ(run.out, "") << c.arguments;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
  }
}

// Problem files as the window saves them, in a folder of the test's own.
class SolveFile : public ::testing::Test {
protected:
  void SetUp() override {
    std::string folder = ::testing::TempDir() + "solve_file_XXXXXX";
    ASSERT_NE(mkdtemp(folder.data()), nullptr);
    folder_ = folder;
  }
  void TearDown() override {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }

  // The FEN gives the men only; side to move and castling come from the file's own fields.
  std::string Save(const std::string &placement, short maxDepth,
                   std::array<short, 4> castling = {1, 1, 1, 1},
                   const std::string &name = "problem.cmt") {
    problem::FenPosition position;
    std::string error;
    EXPECT_TRUE(problem::ParseFen(placement + " w - - 0 1", position, error)) << error;
    problem::ProblemFile file;
    file.board = position.board;
    file.maxDepth = maxDepth;
    file.castling = castling;
    const std::filesystem::path path = folder_ / name;
    EXPECT_TRUE(problem::WriteProblemFile(path, file, error)) << error;
    return "'" + path.string() + "'";
  }

  std::filesystem::path folder_;
};

TEST_F(SolveFile, SolvesTheFilesProblemInOneMoveMoreThanItsDepthUnlessMovesIsGiven) {
  // k3N3/...: the knight mates at once, the king's move needs two.
  const struct {
    const char *placement;
    short stored;
    const char *options;
    const char *keys;
  } cases[] = {
      {"5Q2/8/2P1pP2/4k3/4P3/8/4N3/R3K2R", 2, "", "Qf8-e7    \n"},
      {"k3N3/P7/K6p/8/8/8/8/8", 0, "", "Ne8-c7   #\n"},
      {"k3N3/P7/K6p/8/8/8/8/8", 1, "", "Ne8-c7   #\nKa6-b6    \n"},
      {"k3N3/P7/K6p/8/8/8/8/8", 1, "--moves 1 ", "Ne8-c7   #\n"},
      {"k3N3/P7/K6p/8/8/8/8/8", 0, "--moves 2 ", "Ne8-c7   #\nKa6-b6    \n"},
      {"k3N3/P7/K6p/8/8/8/8/8", 5, "--moves 0 ", ""},
      {"4k3/8/8/8/8/8/8/R3K3", 0, "--defend ",
       "Ke8-f7    \nKe8-d7    \nKe8-e7    \nKe8-d8    \nKe8-f8    \n"},
  };
  for (const auto &c : cases) {
    const CommandRun run = Solve(c.options + Save(c.placement, c.stored));
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, c.keys) << c.placement << ", depth " << c.stored << ", " << c.options;
    EXPECT_NE(run.err.find(" nodes/s"), std::string::npos) << run.err;
  }
}

TEST_F(SolveFile, GrantsACastlingRightOnlyFromACheckedBoxWithKingAndRookAtHome) {
  // 28 moves without castling. The engine trusts the rights it is given, so a long castling
  // passed on without its rook on a1 would count as a 29th move.
  const std::pair<std::array<short, 4>, const char *> cases[] = {
      {{1, 1, 1, 1}, "29\n"}, {{1, 0, 0, 0}, "29\n"},
      {{0, 1, 1, 1}, "28\n"}, {{2, 1, 1, 1}, "28\n"}, // grayed
      {{0, 1, 0, 0}, "28\n"},                         // long castling without a rook on a1
  };
  for (const auto &[castling, leaves] : cases) {
    const CommandRun run = Solve("--perft 1 --quiet " + Save("2k5/8/8/8/8/8/R7/4K2R", 0, castling));
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, leaves) << castling[0] << castling[1];
  }
  // The rook on f1 mates, whether it gets there by castling or on its own.
  const std::string mate = "5k2/3Pp1pP/8/8/8/8/8/4K2R";
  EXPECT_EQ(Solve("--quiet " + Save(mate, 0, {1, 0, 0, 0})).out, "Rh1-f1   #\n  0-0    #\n");
  EXPECT_EQ(Solve("--quiet " + Save(mate, 0, {2, 1, 1, 1})).out, "Rh1-f1   #\n");
}

TEST_F(SolveFile, RefusesWhatItCannotSolveWithExitTwoAndOneLine) {
  const std::string missing = (folder_ / "missing.cmt").string();
  const std::string shortFile = Save("5Q2/8/2P1pP2/4k3/4P3/8/4N3/R3K2R", 2, {1, 1, 1, 1}, "short");
  std::filesystem::resize_file(folder_ / "short", 1282);
  const std::pair<std::string, std::string> cases[] = {
      {"'" + missing + "'", "cannot open " + missing},
      {shortFile, "holds 1282 bytes"},
      {"'" + folder_.string() + "'", "is a folder"},
      {Save("8/8/8/8/8/8/8/4K3", 1), "could not find a black king!"},
  };
  for (const auto &[arguments, message] : cases) {
    const CommandRun run = Solve(arguments);
    EXPECT_EQ(run.status, 2) << arguments;
    EXPECT_EQ(run.out, "") << arguments;
    EXPECT_NE(run.err.find(message), std::string::npos) << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
  }
}

} // namespace
