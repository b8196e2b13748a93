// quintabell-solve as other tools call it: arguments in (a shell command line, so redirections
// work), standard output, standard error and the exit status out.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace testing_support {

struct CommandRun {
  int status;
  std::string out;
  std::string err;
};

inline CommandRun Solve(const std::string &arguments) {
  // ctest runs tests in parallel processes: each run needs files of its own.
  std::string err = ::testing::TempDir() + "solve_XXXXXX";
  close(mkstemp(err.data()));
  const std::string out = err + ".out";
  const int status =
      std::system((QUINTABELL_SOLVE " " + arguments + " >" + out + " 2>" + err).c_str());
  const auto take = [](const std::string &path) {
    std::stringstream text;
    text << std::ifstream(path).rdbuf();
    std::remove(path.c_str());
    return text.str();
  };
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, take(out), take(err)};
}

} // namespace testing_support
