// The command line of quintabell-solve.
#pragma once

#include <optional>
#include <string>

namespace cli {

inline constexpr const char *kUsage =
    "usage: quintabell-solve [--defend] [--moves N] [--stop-on-first] [--quiet] --fen \"FEN\"\n"
    "       quintabell-solve [--defend] [--moves N] [--stop-on-first] [--quiet] FILE.cmt\n"
    "       quintabell-solve --perft N (--fen \"FEN\" | FILE.cmt)\n"
    "search: [--plain] (every move, nothing remembered) [--hash MB] (table limit, default 256)\n"
    "        [--threads N] (search threads, default: every hardware thread; same answers)\n";

struct Options {
  std::string fen;
  std::string problemFile; // the one argument that is not an option
  bool defend = false;
  bool stopOnFirst = false;
  bool quiet = false;
  bool help = false;
  std::optional<int> moves;      // White moves, the key included; a file brings its own
  std::optional<int> perftDepth; // set: count the move tree instead of solving
  bool plain = false;            // the reference search instead of the accelerated one
  int hashMegabytes = 256;
  int threads = 0; // 0: every hardware thread
};

// False with a one-line `error` for an unknown option, a missing or bad value, or options that
// do not go together. The position comes from --fen or from a problem file, never both.
bool ParseOptions(int argc, const char *const *argv, Options &options, std::string &error);

} // namespace cli
