// quintabell-solve as other tools call it: arguments in, solution texts on stdout, everything
// else on stderr, and the exit status.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
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
  };
  for (const Case &c : cases) {
    const CommandRun run = Solve(c.arguments);
    EXPECT_EQ(run.status, 2) << c.arguments;
    EXPECT_EQ(run.out, "") << c.arguments;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
  }
}

} // namespace
