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
  };
  for (const auto &[args, message] : cases) {
    cli::Options options;
    std::string error;
    EXPECT_FALSE(Parse(args, options, error)) << message;
    EXPECT_NE(error.find(message), std::string::npos) << error;
  }
}

} // namespace
