// quintabell-solve --epd over small collections, and the conversions between problem files and
// FENs, as scripts run them.
#include "problem/cmt_file.h"
#include "tests/cli/command_run.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

namespace {

using testing_support::CommandRun;
using testing_support::Solve;

class Collection : public ::testing::Test {
protected:
  // The path of a new file holding `text`, quoted for the shell.
  std::string Write(const std::string &name, const std::string &text) {
    std::ofstream(folder_ / name) << text;
    return "'" + (folder_ / name).string() + "'";
  }

  testing_support::TempFolder folder_{"collection"};
};

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

// Blank lines are no records.
TEST_F(Collection, AShardTakesEveryNthRecordCountedFromOne) {
  std::string records;
  for (const char *id : {"r1", "r2", "", "r3", "r4", "  ", "r5"})
    records += *id == 'r' ? "4k3/8/8/8/8/8/8/R3K3 w - - dm 1; id " + std::string(id) + ";\n" : "\n";
  const std::string shards = Write("shards.epd", records);
  const std::pair<const char *, std::string> cases[] = {
      {"1/3", "r1 r4 "}, {"2/3", "r2 r5 "}, {"3/3", "r3 "}, {"5/5", "r5 "}};
  for (const auto &[shard, ids] : cases) {
    const CommandRun run = Solve("--epd " + shards + " --json --shard " + shard);
    EXPECT_EQ(run.status, 0) << run.err;
    std::string found;
    for (std::size_t at = 0; at < run.out.size(); at = run.out.find('\n', at) + 1)
      found += run.out.substr(at + 7, 2) + " "; // {"id":"r1",...
    EXPECT_EQ(found, ids) << shard;
  }
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
  const auto bytes = [](const std::filesystem::path &path) {
    std::stringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
  };
  int examples = 0;
  for (const auto &entry : std::filesystem::directory_iterator(QUINTABELL_EXAMPLES)) {
    ++examples;
    const std::string name = entry.path().stem().string();
    const CommandRun fen = Solve("--to-fen '" + entry.path().string() + "'");
    ASSERT_EQ(fen.status, 0) << fen.err;
    const std::size_t end = fen.out.find('\n');
    EXPECT_EQ(fen.out.substr(end + 1), name.substr(name.rfind('-') + 1) + "\n") << name;
    problem::ProblemFile original;
    std::string error;
    ASSERT_TRUE(problem::ReadProblemFile(entry.path(), original, error)) << error;

    const std::filesystem::path copy = folder_ / "copy.cmt";
    const CommandRun written =
        Solve("--write-cmt '" + copy.string() + "' --moves " + name.substr(name.rfind('-') + 1) +
              " --fen '" + fen.out.substr(0, end) + "' --comment '" + original.comment + "'");
    ASSERT_EQ(written.status, 0) << written.err;
    EXPECT_EQ(written.out + written.err, "");
    EXPECT_EQ(bytes(copy).substr(1002), bytes(entry.path()).substr(1002)) << name;
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
    EXPECT_FALSE(std::filesystem::exists(out)) << arguments;
  }
}

} // namespace
