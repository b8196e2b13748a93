// quintabell-solve as other tools call it: arguments in, solution texts (or the play, as text
// within its line budget or as JSON documents) on stdout, everything else on stderr, and the
// exit status.
#include "problem/cmt_file.h"
#include "problem/fen.h"
#include "tests/cli/command_run.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <sstream>
#include <unistd.h>
#include <vector>

namespace {

using testing_support::CommandRun;
using testing_support::Solve;

// The keys on stdout, the rest on stderr. A table larger than the machine can spare is held to
// a safe share, with a word on stderr, and the answer is the same with any number of threads.
TEST(SolveCommand, PrintsTheKeysOnStdoutAndTheRestOnStderr) {
  const long long halfMegabytes =
      static_cast<long long>(sysconf(_SC_PHYS_PAGES)) / 2 * sysconf(_SC_PAGESIZE) >> 20;
  const CommandRun run = Solve("--hash 65536 --threads 3 --moves 3 --fen "
                               "'5Q2/8/2P1pP2/4k3/4P3/8/4N3/R3K2R w KQ - 0 1'");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "Qf8-e7    \n");
  std::vector<std::string> notes = {"1 solution, ", " nodes/s"};
  if (halfMegabytes < 65536)
    notes.push_back("the table stops at " + std::to_string(halfMegabytes) + " MB");
  for (const std::string &note : notes)
    EXPECT_NE(run.err.find(note), std::string::npos) << run.err;
}

// A problem file as the window saves it, one for each test.
class SolveFile : public ::testing::Test {
protected:
  // The FEN gives the men only; side to move and castling come from the file's own fields.
  std::string Save(const std::string &placement, short maxDepth,
                   std::array<short, 4> castling = {1, 1, 1, 1}) {
    problem::FenPosition position;
    std::string error;
    EXPECT_TRUE(problem::ParseFen(placement + " w", position, error)) << error;
    const problem::ProblemFile file{
        .board = position.board, .maxDepth = maxDepth, .castling = castling};
    EXPECT_TRUE(problem::WriteProblemFile(folder_ / "p.cmt", file, error)) << error;
    return "'" + (folder_ / "p.cmt").string() + "'";
  }

  const testing_support::TempFolder folder_{"solve"};
};

TEST_F(SolveFile, SolvesTheFilesProblemInOneMoveMoreThanItsDepthUnlessMovesIsGiven) {
  // The knight mates at once, the king's move needs two; the king's moves come last, so the
  // knight's mate is the first key found.
  const std::string twoKeys = "k3N3/P7/K6p/8/8/8/8/8";
  const struct {
    std::string placement;
    short stored;
    const char *options;
    const char *keys;
  } cases[] = {
      {twoKeys, 0, "", "Ne8-c7   #\n"},
      {twoKeys, 1, "", "Ne8-c7   #\nKa6-b6    \n"},
      {twoKeys, 1, "--stop-on-first ", "Ne8-c7   #\n"},
      {twoKeys, 0, "--moves 2 ", "Ne8-c7   #\nKa6-b6    \n"},
      // With one move left every Black move is a defence, in generation order.
      {"4k3/8/8/8/8/8/8/R3K3", 0, "--defend ",
       "Ke8-f7    \nKe8-d7    \nKe8-e7    \nKe8-d8    \nKe8-f8    \n"},
  };
  for (const auto &c : cases) {
    const CommandRun run = Solve(c.options + Save(c.placement, c.stored));
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, c.keys) << c.placement << ", depth " << c.stored << ", " << c.options;
  }
}

TEST_F(SolveFile, GrantsACastlingRightOnlyFromACheckedBoxWithKingAndRookAtHome) {
  // 28 moves without castling. The engine trusts the rights it is given, so a long castling
  // passed on without its rook on a1 would count as another move.
  const std::pair<std::array<short, 4>, const char *> cases[] = {{{1, 1, 1, 1}, "29\n"},
                                                                 {{2, 1, 1, 1}, "28\n"}};
  for (const auto &[castling, leaves] : cases) {
    const CommandRun run = Solve("--perft 1 --quiet " + Save("2k5/8/8/8/8/8/R7/4K2R", 0, castling));
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out + run.err, leaves) << "short castling box " << castling[0];
  }
}

// The reasons a file cannot be read are the problem library's to test; here they reach the user.
TEST_F(SolveFile, RefusesBadInputWithExitTwoAndOneLine) {
  const std::string missing = (folder_ / "missing.cmt").string();
  const std::pair<std::string, std::string> cases[] = {
      {"'" + missing + "'", "cannot open " + missing},
      {Save("8/8/8/8/8/8/8/4K3", 1), "could not find a black king!"},
      {"--moves 2 --fen '4k3/8/8/8/8/8/8/4K3 z'", "bad FEN: the side to move"},
      {"--defend --moves 2 --fen '4k3/8/8/8/8/8/8/4K3 w'", "--defend needs a FEN with Black"},
      {"--play --moves 2 --fen '4k3/8/8/8/8/8/8/R3K3 b'", "--play needs a FEN with White to move"},
      {"--moves 0 --fen '4k3/8/8/8/8/8/8/R3K3 w'", "nothing to solve in 0 moves"},
      {"--moves 2 --fen '4k3/8/8/8/8/8/8/4\u00e93 w'", "unknown piece letter '\u00e9'"},
  };
  for (const auto &[arguments, message] : cases) {
    const CommandRun run = Solve(arguments);
    EXPECT_EQ(run.status, 2) << arguments;
    EXPECT_EQ(run.out, "") << arguments;
    EXPECT_NE(run.err.find(message), std::string::npos) << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
  }
  // Wrong arguments: the usage first, then the one line.
  const CommandRun run = Solve("--moves 2 --colour --fen x");
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.out, "");
  EXPECT_TRUE(run.err.ends_with("\nquintabell-solve: unknown option '--colour'\n")) << run.err;
}

// The play's text is the engine's to test; the command cuts it at its line budget.
TEST(PlayCommand, CutsTheTextAtItsLineBudgetAndSaysSo) {
  // Van Gool's star flight and its five tries.
  const CommandRun run = Solve("--play --tries --max-lines 3 --moves 2 --fen "
                               "'3Q3K/8/3n4/4P3/p2kP3/P5NR/1R3p1B/5B1N w - - 0 1'");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "1.Rb2xf2 ! zugzwang.\n"
                     "   1...Kd4-c5 2.Qd8xd6 #\n"
                     "   1...Kd4xe5 2.Qd8-f6 #\n"
                     "... 25 more lines left out (--max-lines 3)\n");
}

// Dawson's two-mover: one try, its refutation, the key, and no set play.
TEST(PlayCommand, PrintsOneJsonDocumentPerKeyTryAndSetPlay) {
  const CommandRun run = Solve("--play --json --tries 1 --set-play --moves 2 --fen "
                               "'nk6/brpp2p1/brp4p/1p6/8/8/8/4K2R w - - 0 1'");
  EXPECT_EQ(run.status, 0) << run.err;
  std::istringstream lines(run.out);
  std::vector<std::string> kinds;
  for (std::string line; std::getline(lines, line);)
    kinds.push_back(line.substr(0, line.find(',')));
  EXPECT_EQ(kinds, (std::vector<std::string>{R"({"kind":"setPlay")", R"({"kind":"try")",
                                             R"({"kind":"key")"}));
}

} // namespace
