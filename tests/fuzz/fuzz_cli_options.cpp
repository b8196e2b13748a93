// The command line of quintabell-solve on any arguments (the input split at NUL bytes): what it
// accepts can be run, what it refuses says why.
#include "cli/options.h"
#include "tests/fuzz/fuzz_check.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  using fuzz::Require;
  const std::string input(reinterpret_cast<const char *>(data), size);
  std::vector<std::string> arguments{"quintabell-solve"};
  for (std::size_t start = 0; start <= input.size() && arguments.size() < 64;) {
    const std::size_t end = std::min(input.find('\0', start), input.size());
    arguments.push_back(input.substr(start, end - start));
    start = end + 1;
  }
  std::vector<const char *> argv;
  for (const std::string &argument : arguments)
    argv.push_back(argument.c_str());
  cli::Options options;
  std::string error;
  if (!cli::ParseOptions(static_cast<int>(argv.size()), argv.data(), options, error)) {
    Require(!error.empty(), "a refusal gives its reason");
    return 0;
  }
  if (options.help)
    return 0;
  Require(options.fen.empty() || options.problemFile.empty(), "never a FEN and a file");
  Require(options.fen.empty() || options.perftDepth || options.moves,
          "a FEN comes with --moves or --perft");
  Require(!options.perftDepth || (*options.perftDepth >= 0 && *options.perftDepth <= 20),
          "a perft depth from 0 to 20");
  Require(options.hashMegabytes >= 1 && options.hashMegabytes <= 65536, "a table size in range");
  return 0;
}
