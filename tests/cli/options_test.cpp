#include "cli/options.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace {

bool Parse(std::vector<const char *> args, cli::Options &options, std::string &error) {
  args.insert(args.begin(), "quintabell-solve");
  return cli::ParseOptions(static_cast<int>(args.size()), args.data(), options, error);
}

TEST(SolveOptions, ReadsEveryOptionInEitherFormAndTheOneOtherArgumentAsAProblemFile) {
  cli::Options options;
  std::string error;
  ASSERT_TRUE(Parse({"--defend", "--moves", "3", "--stop-on-first", "--quiet", "--fen", "F"},
                    options, error))
      << error;
  EXPECT_TRUE(options.defend && options.stopOnFirst && options.quiet);
  EXPECT_EQ(options.moves, 3);
  EXPECT_EQ(options.fen, "F");
  ASSERT_TRUE(Parse({"--moves=-2", "--fen=8/8 w", "--threads", "3"}, options, error)) << error;
  EXPECT_EQ(options.moves, -2);
  EXPECT_EQ(options.threads, 3);
  EXPECT_EQ(options.fen, "8/8 w");
  ASSERT_TRUE(Parse({"--quiet", "dir/mate.cmt", "--moves", "4"}, options, error)) << error;
  EXPECT_EQ(options.problemFile, "dir/mate.cmt");
  EXPECT_EQ(options.fen, "");
  EXPECT_EQ(options.moves, 4);
  ASSERT_TRUE(Parse({"mate.cmt"}, options, error)) << "a file brings its own depth: " << error;
  EXPECT_EQ(options.moves, std::nullopt);
  ASSERT_TRUE(Parse({"--perft", "2", "--", "-odd.cmt"}, options, error)) << error;
  EXPECT_EQ(options.problemFile, "-odd.cmt");
  EXPECT_EQ(options.perftDepth, 2);
  ASSERT_TRUE(Parse({"--epd", "-", "--json", "--limit", "2.5", "--shard", "3/4", "--defend"},
                    options, error))
      << error;
  EXPECT_EQ(options.epdFile, "-");
  EXPECT_TRUE(options.json && options.defend);
  EXPECT_EQ(options.limit, 2.5);
  EXPECT_EQ(options.shardIndex, 3);
  EXPECT_EQ(options.shardCount, 4);
  ASSERT_TRUE(Parse({"--to-fen", "p.cmt"}, options, error)) << error;
  EXPECT_TRUE(options.toFen);
  ASSERT_TRUE(Parse({"--write-cmt", "o.cmt", "--moves", "2", "--fen", "F", "--comment", ""},
                    options, error))
      << error;
  EXPECT_EQ(options.writeCmtFile, "o.cmt");
  EXPECT_EQ(options.comment, "");
  ASSERT_TRUE(Parse({"--play", "--tries", "--json", "p.cmt"}, options, error)) << error;
  EXPECT_TRUE(options.play && options.json);
  EXPECT_EQ(options.tries, 1) << "--tries alone allows one refutation";
  ASSERT_TRUE(
      Parse({"--play", "--tries", "3", "--set-play", "--max-lines=9", "p.cmt"}, options, error))
      << error;
  EXPECT_TRUE(options.setPlay);
  EXPECT_EQ(options.tries, 3);
  EXPECT_EQ(options.maxLines, 9);
}

TEST(SolveOptions, RefusesWhatCannotBeRun) {
  const std::pair<std::vector<const char *>, const char *> cases[] = {
      {{"--moves", "2"}, "--fen or a problem file is required"},
      {{"--fen", "F"}, "--moves is required"},
      {{"--moves", "two", "--fen", "F"}, "whole number"},
      {{"--moves", "40000", "--fen", "F"}, "whole number"},
      {{"--moves", "2", "--fen"}, "--fen needs a value"},
      {{"--moves", "2", "--fen", "F", "--colour"}, "unknown option '--colour'"},
      {{"--quiet=1", "--moves", "2", "--fen", "F"}, "takes no value"},
      {{"--perft", "3", "--defend", "p.cmt"}, "--perft takes only"},
      {{"--moves", "2", "--fen", "F", "p.cmt"}, "not both"},
      {{"p.cmt", "q.cmt"}, "only one problem file, not 'p.cmt' and 'q.cmt'"},
      {{"--moves", "2", ""}, "the problem file name is empty"},
      {{"--perft", "21", "--fen", "F"}, "depth from 0 to 20"},
      {{"--threads", "0", "--moves", "2", "--fen", "F"}, "--threads needs a number from 1"},
      {{"--epd", "c.epd", "--fen", "F"}, "--epd takes its positions from the collection"},
      {{"--epd", "c.epd", "p.cmt"}, "--epd takes its positions from the collection"},
      {{"--epd", "c.epd", "--to-fen"}, "do not go together"},
      {{"--moves", "2", "--fen", "F", "--shard", "1/1"}, "--shard go with --epd"},
      {{"--epd", "c.epd", "--shard", "3/2"}, "I/N with I from 1 to N, not '3/2'"},
      {{"--epd", "c.epd", "--shard", "0/2"}, "not '0/2'"},
      {{"--epd", "c.epd", "--shard", "2"}, "not '2'"},
      {{"--epd", "c.epd", "--limit", "0"}, "seconds above 0, not '0'"},
      {{"--epd", "c.epd", "--limit", "1s"}, "not '1s'"},
      {{"--to-fen", "--moves", "2", "--fen", "F"}, "--to-fen needs a problem file"},
      {{"--write-cmt", "o.cmt", "p.cmt"}, "--write-cmt takes only --fen"},
      {{"--write-cmt", "o.cmt", "--defend", "--moves", "2", "--fen", "F"}, "takes only --fen"},
      {{"--comment", "c", "p.cmt"}, "--comment goes with --write-cmt"},
      {{"--json", "p.cmt"}, "--json goes with --epd or --play"},
      {{"--tries", "2", "p.cmt"}, "--tries, --set-play and --max-lines go with --play"},
      {{"--play", "--tries", "0", "p.cmt"}, "--tries needs a number of refutations from 1"},
      {{"--play", "--max-lines", "0", "p.cmt"}, "--max-lines needs a number from 1"},
      {{"--play", "--defend", "p.cmt"}, "no --defend or --stop-on-first"},
      {{"--play", "--perft", "2", "p.cmt"}, "do not go together"},
  };
  for (const auto &[args, message] : cases) {
    cli::Options options;
    std::string error;
    EXPECT_FALSE(Parse(args, options, error)) << message;
    EXPECT_NE(error.find(message), std::string::npos) << error;
  }
}

} // namespace
