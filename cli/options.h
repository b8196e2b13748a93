// The command line of quintabell-solve.
#pragma once

#include <optional>
#include <string>

namespace cli {

inline constexpr const char *kUsage =
    "usage: quintabell-solve [--defend] [--moves N] [--stop-on-first] [--quiet] --fen \"FEN\"\n"
    "       quintabell-solve [--defend] [--moves N] [--stop-on-first] [--quiet] FILE.cmt\n"
    "       quintabell-solve --play [--tries [K]] [--set-play] [--json] [--max-lines N]\n"
    "                        [--moves N] (--fen \"FEN\" | FILE.cmt)\n"
    "       quintabell-solve --perft N (--fen \"FEN\" | FILE.cmt)\n"
    "       quintabell-solve --epd (FILE | -) [--defend] [--moves N] [--json] [--limit S]\n"
    "                        [--shard I/N] [--stop-on-first] [--quiet]\n"
    "       quintabell-solve --to-fen FILE.cmt\n"
    "       quintabell-solve --write-cmt OUT.cmt --moves N --fen \"FEN\" [--comment TEXT]\n"
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
  // The play of each key: threat, variations, duals; tries refuted by at most `tries` Black
  // moves (0: none), set play, JSON documents instead of text, the most lines of text (and
  // moves per JSON document).
  bool play = false;
  int tries = 0;
  bool setPlay = false;
  int maxLines = 100000;
  bool plain = false; // the reference search instead of the accelerated one
  int hashMegabytes = 256;
  int threads = 0; // 0: every hardware thread

  // A collection: every record of an EPD file ("-" for standard input).
  std::string epdFile;
  bool json = false;           // one JSON object per record (or play document) instead of text
  std::optional<double> limit; // seconds per record
  int shardIndex = 1;          // records shardIndex, shardIndex + shardCount, ...
  int shardCount = 1;
  // Conversions: the problem file's FEN and depth, or a problem file written from --fen.
  bool toFen = false;
  std::string writeCmtFile;
  std::optional<std::string> comment;
};

// False with a one-line `error` for an unknown option, a missing or bad value, or options that
// do not go together. The position comes from --fen or from a problem file, never both, or
// the positions from --epd.
bool ParseOptions(int argc, const char *const *argv, Options &options, std::string &error);

} // namespace cli
