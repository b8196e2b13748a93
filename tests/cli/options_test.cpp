#include "cli/options.h"

#include <gtest/gtest.h>

#include <optional>
#include <tuple>
#include <vector>

namespace {

bool Parse(std::vector<const char *> args, cli::Options &options, std::string &error) {
  args.insert(args.begin(), "quintabell-solve");
  return cli::ParseOptions(static_cast<int>(args.size()), args.data(), options, error);
}

// What the runs of the command cannot show: values after '=', and a file after "--" that looks
// like an option.
TEST(SolveOptions, ReadsValuesInEitherFormAndAFileAfterTheOptionsEnd) {
  cli::Options options;
  std::string error;
  ASSERT_TRUE(Parse({"--play", "--moves=-2", "--fen=8/8 w", "--max-lines=9"}, options, error))
      << error;
  EXPECT_EQ(std::tuple(options.moves, options.fen, options.maxLines), std::tuple(-2, "8/8 w", 9));
  ASSERT_TRUE(Parse({"--perft", "2", "--", "-odd.cmt"}, options, error)) << error;
  EXPECT_EQ(std::tuple(options.problemFile, options.perftDepth), std::tuple("-odd.cmt", 2));
}

TEST(SolveOptions, RefusesWhatCannotBeRun) {
  const std::pair<std::vector<const char *>, const char *> cases[] = {
      {{"--moves", "2"}, "--fen or a problem file is required"},
      {{"--fen", "F"}, "--moves is required"},
      {{"--moves", "two", "--fen", "F"}, "whole number"},
      {{"--moves", "2", "--fen"}, "--fen needs a value"},
      {{"--moves", "2", "--fen", "F", "--colour"}, "unknown option '--colour'"},
      {{"--quiet=1", "--moves", "2", "--fen", "F"}, "takes no value"},
      {{"--perft", "3", "--defend", "p.cmt"}, "--perft takes only"},
      {{"--moves", "2", "--fen", "F", "p.cmt"}, "not both"},
      {{"p.cmt", "q.cmt"}, "only one problem file, not 'p.cmt' and 'q.cmt'"},
      {{"--moves", "2", ""}, "the problem file name is empty"},
      {{"--threads", "0", "--moves", "2", "--fen", "F"}, "--threads needs a number from 1"},
      {{"--epd", "c.epd", "--fen", "F"}, "--epd takes its positions from the collection"},
      {{"--moves", "2", "--fen", "F", "--shard", "1/1"}, "--shard go with --epd"},
      {{"--epd", "c.epd", "--shard", "3/2"}, "I/N with I from 1 to N, not '3/2'"},
      {{"--epd", "c.epd", "--shard", "0/2"}, "not '0/2'"},
      {{"--epd", "c.epd", "--shard", "2"}, "not '2'"},
      {{"--epd", "c.epd", "--limit", "0"}, "seconds above 0, not '0'"},
      {{"--to-fen", "--moves", "2", "--fen", "F"}, "--to-fen needs a problem file"},
      {{"--write-cmt", "o.cmt", "p.cmt"}, "--write-cmt takes only --fen"},
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
