// quintabell-solve as scripts run it: arguments in (a shell command line, so redirections
// work), solution texts, the play, answered collections or conversions on stdout, everything
// else on stderr, and the exit status.
#include "problem/cmt_file.h"
#include "problem/fen.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
// GCC 12 at -O1 takes a std::function inside its own std::regex compiler for uninitialised: a
// false alarm of the library, which -Werror would make fatal.
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#include <regex>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

using testing_support::FileBytes;

struct CommandRun {
  int status;
  std::string out;
  std::string err;
};

CommandRun Solve(const std::string &arguments) {
  // ctest runs tests in parallel processes: each run needs files of its own.
  std::string err = ::testing::TempDir() + "solve_XXXXXX";
  close(mkstemp(err.data()));
  const std::string out = err + ".out";
  const int status =
      std::system((QUINTABELL_SOLVE " " + arguments + " >" + out + " 2>" + err).c_str());
  CommandRun run{WIFEXITED(status) ? WEXITSTATUS(status) : -1, FileBytes(out), FileBytes(err)};
  std::remove(out.c_str());
  std::remove(err.c_str());
  return run;
}

// Files for a run, each test in a folder of its own; the paths come back quoted for the shell.
class CommandFiles : public ::testing::Test {
protected:
  std::string Write(const std::string &name, const std::string &text) {
    std::ofstream(folder_ / name) << text;
    return "'" + (folder_ / name).string() + "'";
  }
  // A problem file as the window saves it. The FEN gives the men only; side to move and
  // castling come from the file's own fields.
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
using SolveFile = CommandFiles;
using Collection = CommandFiles;

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

TEST_F(Collection, AnswersEveryRecordInOrderAndNamesTheLineOfADamagedOne) {
  const std::string file =
      Write("mates.epd", "5Q2/8/2P1pP2/4k3/4P3/8/4N3/R3K2R w KQ - dm 3; id \"Karge\"; bm Qf1; "
                         "c9 \"old\";\n"
                         "\n"
                         "k3N3/P7/K6p/8/8/8/8/8 w - - dm two;\n"
                         "8/2Pp4/8/N1P5/4p3/P1k5/8/R3K3 w Q - dm 3;\r\n"
                         "k7/P7/K7/5p2/8/7B/4p1P1/8 w - - dm 3; id \"b20\";\n"
                         "k3N3/P7/K6p/8/8/8/8/8 w - - id \"no depth\";\n"
                         "k3N3/P7/K6p/8/8/8/8/8 b - - dm 2;\n");
  const CommandRun run = Solve("--epd " + file);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out,
            "5Q2/8/2P1pP2/4k3/4P3/8/4N3/R3K2R w KQ - dm 3; id \"Karge\"; bm Qe7; c9 \"Qf8-e7\";\n"
            "8/2Pp4/8/N1P5/4p3/P1k5/8/R3K3 w Q - dm 3; bm O-O-O; c9 \"0-0-0\";\n"
            "k7/P7/K7/5p2/8/7B/4p1P1/8 w - - dm 3; id \"b20\"; c9 \"no solution\";\n"
            "k3N3/P7/K6p/8/8/8/8/8 w - - id \"no depth\"; c9 \"error: no dm opcode (--moves "
            "gives records without one a depth)\";\n"
            "k3N3/P7/K6p/8/8/8/8/8 b - - dm 2; c9 \"error: Black to move: a mate task needs "
            "White to move (--defend lists Black's defences)\";\n");
  EXPECT_NE(run.err.find("mates.epd:3: dm needs one whole number"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("mates.epd:6: no dm opcode"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("6 records: 3 solved, 0 timeout, 2 error, 1 damaged"), std::string::npos)
      << run.err;

  const CommandRun depthGiven =
      Solve("--epd - --moves 2 --quiet <" + Write("nodm.epd", "k3N3/P7/K6p/8/8/8/8/8 w - -\n"));
  EXPECT_EQ(depthGiven.status, 0) << depthGiven.err;
  EXPECT_EQ(depthGiven.out, "k3N3/P7/K6p/8/8/8/8/8 w - - bm Nc7# Kb6; c9 \"Ne8-c7# Ka6-b6\";\n");
}

TEST_F(Collection, WritesOneJsonObjectPerRecord) {
  const std::string file = Write("defences.epd", "4k3/8/8/8/8/8/8/R3K3 b - - dm 1; id \"Grüße\";\n"
                                                 "k7/8/1Q6/8/8/8/8/K7 b - -\n");
  const CommandRun run = Solve("--epd - --json --defend <" + file);
  EXPECT_EQ(run.status, 1) << run.err;
  const std::regex measures(R"("seconds":[0-9]+\.[0-9]{3},"nodes":[0-9]+\})");
  EXPECT_EQ(
      std::regex_replace(run.out, measures, "..."),
      R"({"id":"Grüße","fen":"4k3/8/8/8/8/8/8/R3K3 b - - 0 1","moves":1,)"
      R"("keys":["e8f7","e8d7","e8e7","e8d8","e8f8"],)"
      R"("lines":["Ke8-f7    ","Ke8-d7    ","Ke8-e7    ","Ke8-d8    ","Ke8-f8    "],)"
      R"("status":"solved","message":"",...)"
      "\n"
      R"({"id":"","fen":"k7/8/1Q6/8/8/8/8/K7 b - - 0 1","moves":null,"keys":[],"lines":[],)"
      R"j("status":"error","message":"no dm opcode (--moves gives records without one a depth)",)j"
      R"(...)"
      "\n");
}

// A mate in 8 of a position that takes seconds as a mate in 6, and a mate in 2 that takes under
// a millisecond: a limit far from both, so that a busy machine changes nothing.
TEST_F(Collection, ARecordOutOfTimeSaysSoAndTheNextIsSolved) {
  const std::string file =
      Write("slow.epd", "4k3/1pp2pp1/8/b1B1pB2/rp6/p5N1/3R4/R2bK3 w Q - dm 8; id \"b09\";\n"
                        "8/Q7/8/8/8/8/8/2k1K2R w K - dm 2; id \"b01\";\n");
  const CommandRun run = Solve("--epd " + file + " --limit 0.5");
  EXPECT_EQ(run.status, 1) << run.err;
  EXPECT_EQ(run.out, "4k3/1pp2pp1/8/b1B1pB2/rp6/p5N1/3R4/R2bK3 w Q - dm 8; id \"b09\"; "
                     "c9 \"timeout: no answer within 0.5 s\";\n"
                     "8/Q7/8/8/8/8/8/2k1K2R w K - dm 2; id \"b01\"; bm Qf2; c9 \"Qa7-f2\";\n");
}

// The window's own example files, "Name-mate-in-N.cmt": FEN and N out, and a problem file from
// them in again that holds the same bytes beyond its comment, whose line breaks are CR LF.
TEST_F(Collection, ProblemFilesGoToFenAndBack) {
  int examples = 0;
  for (const auto &entry : fs::directory_iterator(QUINTABELL_EXAMPLES)) {
    ++examples;
    const std::string name = entry.path().stem().string();
    const CommandRun fen = Solve("--to-fen '" + entry.path().string() + "'");
    ASSERT_EQ(fen.status, 0) << fen.err;
    const std::size_t end = fen.out.find('\n');
    EXPECT_EQ(fen.out.substr(end + 1), name.substr(name.rfind('-') + 1) + "\n") << name;
    problem::ProblemFile original;
    std::string error;
    ASSERT_TRUE(problem::ReadProblemFile(entry.path(), original, error)) << error;

    const fs::path copy = folder_ / "copy.cmt";
    const CommandRun written =
        Solve("--write-cmt '" + copy.string() + "' --moves " + name.substr(name.rfind('-') + 1) +
              " --fen '" + fen.out.substr(0, end) + "' --comment '" + original.comment + "'");
    ASSERT_EQ(written.status, 0) << written.err;
    EXPECT_EQ(written.out + written.err, "");
    EXPECT_EQ(FileBytes(copy).substr(1002), FileBytes(entry.path()).substr(1002)) << name;
    problem::ProblemFile read;
    ASSERT_TRUE(problem::ReadProblemFile(copy, read, error)) << error;
    std::string crLf;
    for (const char c : original.comment)
      crLf += c == '\n' ? "\r\n" : std::string(1, c);
    EXPECT_EQ(read.comment, crLf) << name;
  }
  EXPECT_EQ(examples, 5);
}

TEST_F(Collection, RefusesWhatTheWindowCouldNotShowAndCollectionsThatCannotBeRead) {
  const std::string out = (folder_ / "out.cmt").string();
  const std::string mate = " --fen '8/Q7/8/8/8/8/8/2k1K2R w K -' --write-cmt '" + out + "'";
  const std::pair<std::string, std::string> cases[] = {
      {"--moves 31" + mate, "mate in 1 to 30 moves, not 31"},
      {"--moves 2 --comment '" + std::string(1000, 'x') + "'" + mate, "longer than the 999"},
      {"--moves 2 --comment 'one ♔'" + mate, "Windows-1252 only"},
      {"--moves 2 --fen '8/8/8/8/8/8/8/4K3 w - -' --write-cmt '" + out + "'", "black king"},
      {"--epd '" + (folder_ / "missing.epd").string() + "'", "cannot read"},
  };
  for (const auto &[arguments, message] : cases) {
    const CommandRun run = Solve(arguments);
    EXPECT_EQ(run.status, 2) << arguments;
    EXPECT_NE(run.err.find(message), std::string::npos) << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    EXPECT_FALSE(fs::exists(out)) << arguments;
  }
}

} // namespace
