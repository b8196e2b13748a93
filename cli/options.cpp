#include "cli/options.h"

#include <charconv>
#include <climits>
#include <string_view>

namespace cli {

namespace {

bool ParseInteger(std::string_view text, int low, int high, int &value) {
  const char *end = text.data() + text.size();
  const auto [last, status] = std::from_chars(text.data(), end, value);
  return status == std::errc() && last == end && !text.empty() && value >= low && value <= high;
}

bool ParseLimit(std::string_view text, double &seconds) {
  const char *end = text.data() + text.size();
  const auto [last, status] = std::from_chars(text.data(), end, seconds);
  return status == std::errc() && last == end && !text.empty() && seconds > 0 && seconds <= 1e6;
}

bool ParseShard(std::string_view text, int &index, int &count) {
  const std::size_t slash = text.find('/');
  return slash != text.npos && ParseInteger(text.substr(slash + 1), 1, 1000000, count) &&
         ParseInteger(text.substr(0, slash), 1, count, index);
}

// The options of a collection, of the play, of a conversion and of perft each go with their own
// task only.
bool CheckTaskOptions(const Options &options, bool fenGiven, bool collectionOptionGiven,
                      bool playOptionGiven, std::string &error) {
  const bool collection = !options.epdFile.empty();
  const bool writing = !options.writeCmtFile.empty();
  if (collection + options.play + options.toFen + writing + options.perftDepth.has_value() > 1) {
    error = "--epd, --play, --to-fen, --write-cmt and --perft do not go together";
  } else if (!collection && collectionOptionGiven) {
    error = "--limit and --shard go with --epd";
  } else if (options.json && !collection && !options.play) {
    error = "--json goes with --epd or --play";
  } else if (!options.play && playOptionGiven) {
    error = "--tries, --set-play and --max-lines go with --play";
  } else if (options.play && (options.defend || options.stopOnFirst)) {
    error = "--play shows the play of White's keys: no --defend or --stop-on-first";
  } else if (collection && (fenGiven || !options.problemFile.empty())) {
    error = "--epd takes its positions from the collection, not from --fen or a problem file";
  } else if (options.toFen && options.problemFile.empty()) {
    error = "--to-fen needs a problem file";
  } else if (writing && (!fenGiven || options.defend || options.stopOnFirst)) {
    error = "--write-cmt takes only --fen, --moves and --comment";
  } else if (!writing && options.comment) {
    error = "--comment goes with --write-cmt";
  } else {
    return true;
  }
  return false;
}

} // namespace

bool ParseOptions(int argc, const char *const *argv, Options &options, std::string &error) {
  Options parsed;
  bool fenGiven = false;
  bool collectionOptionGiven = false; // --limit or --shard
  bool playOptionGiven = false;       // --tries, --set-play or --max-lines
  bool optionsEnded = false; // after "--" every argument names a file, even one starting with '-'
  for (int i = 1; i < argc; ++i) {
    std::string_view arg = argv[i];
    if (!optionsEnded && arg == "--") {
      optionsEnded = true;
      continue;
    }
    if (optionsEnded || arg.empty() || arg[0] != '-') {
      if (!parsed.problemFile.empty()) {
        error = "only one problem file, not '" + parsed.problemFile + "' and '" + std::string(arg) +
                "'";
        return false;
      }
      if (arg.empty()) {
        error = "the problem file name is empty";
        return false;
      }
      parsed.problemFile = arg;
      continue;
    }
    std::string_view value;
    bool inlineValue = false;
    if (const auto equals = arg.find('='); arg.rfind("--", 0) == 0 && equals != arg.npos) {
      value = arg.substr(equals + 1);
      arg = arg.substr(0, equals);
      inlineValue = true;
    }
    const bool takesValue = arg == "--fen" || arg == "--moves" || arg == "--perft" ||
                            arg == "--hash" || arg == "--epd" || arg == "--limit" ||
                            arg == "--shard" || arg == "--write-cmt" || arg == "--comment" ||
                            arg == "--threads" || arg == "--max-lines";
    // A count of refutations may follow --tries; without one it is 1.
    const bool valueMayFollow = arg == "--tries";
    int number = 0;
    if (valueMayFollow && !inlineValue) {
      const bool counted = i + 1 < argc && ParseInteger(argv[i + 1], INT_MIN, INT_MAX, number);
      value = counted ? argv[++i] : "1";
    } else if (takesValue && !inlineValue) {
      if (i + 1 >= argc) {
        error = std::string(arg) + " needs a value";
        return false;
      }
      value = argv[++i];
    } else if (!takesValue && !valueMayFollow && inlineValue) {
      error = std::string(arg) + " takes no value";
      return false;
    }
    if (arg == "--fen") {
      parsed.fen = value;
      fenGiven = true;
    } else if (arg == "--moves") {
      int moves = 0;
      if (!ParseInteger(value, -32768, 32767, moves)) {
        error =
            "--moves needs a whole number from -32768 to 32767, not '" + std::string(value) + "'";
        return false;
      }
      parsed.moves = moves;
    } else if (arg == "--perft") {
      int depth = 0;
      if (!ParseInteger(value, 0, 20, depth)) {
        error = "--perft needs a depth from 0 to 20, not '" + std::string(value) + "'";
        return false;
      }
      parsed.perftDepth = depth;
    } else if (arg == "--hash") {
      if (!ParseInteger(value, 1, 65536, parsed.hashMegabytes)) {
        error = "--hash needs a size from 1 to 65536 MB, not '" + std::string(value) + "'";
        return false;
      }
    } else if (arg == "--threads") {
      if (!ParseInteger(value, 1, 256, parsed.threads)) {
        error = "--threads needs a number from 1 to 256, not '" + std::string(value) + "'";
        return false;
      }
    } else if (arg == "--epd" || arg == "--write-cmt") {
      if (value.empty()) {
        error = std::string(arg) + " needs a file name";
        return false;
      }
      (arg == "--epd" ? parsed.epdFile : parsed.writeCmtFile) = value;
    } else if (arg == "--json") {
      parsed.json = true;
    } else if (arg == "--play") {
      parsed.play = true;
    } else if (arg == "--set-play") {
      parsed.setPlay = true;
      playOptionGiven = true;
    } else if (arg == "--tries") {
      if (!ParseInteger(value, 1, 1000, parsed.tries)) {
        error = "--tries needs a number of refutations from 1 to 1000, not '" + std::string(value) +
                "'";
        return false;
      }
      playOptionGiven = true;
    } else if (arg == "--max-lines") {
      if (!ParseInteger(value, 1, 100000000, parsed.maxLines)) {
        error = "--max-lines needs a number from 1 to 100000000, not '" + std::string(value) + "'";
        return false;
      }
      playOptionGiven = true;
    } else if (arg == "--limit") {
      double seconds = 0;
      if (!ParseLimit(value, seconds)) {
        error = "--limit needs a number of seconds above 0, not '" + std::string(value) + "'";
        return false;
      }
      parsed.limit = seconds;
      collectionOptionGiven = true;
    } else if (arg == "--shard") {
      if (!ParseShard(value, parsed.shardIndex, parsed.shardCount)) {
        error = "--shard needs I/N with I from 1 to N, not '" + std::string(value) + "'";
        return false;
      }
      collectionOptionGiven = true;
    } else if (arg == "--to-fen") {
      parsed.toFen = true;
    } else if (arg == "--comment") {
      parsed.comment = value;
    } else if (arg == "--plain") {
      parsed.plain = true;
    } else if (arg == "--defend") {

      parsed.defend = true;
    } else if (arg == "--stop-on-first") {
      parsed.stopOnFirst = true;
    } else if (arg == "--quiet") {
      parsed.quiet = true;
    } else if (arg == "--help" || arg == "-h") {
      parsed.help = true;
    } else {
      error = "unknown option '" + std::string(argv[i]) + "'";
      return false;
    }
  }
  if (parsed.help) {
    options = parsed;
    return true;
  }
  if (!CheckTaskOptions(parsed, fenGiven, collectionOptionGiven, playOptionGiven, error))
    return false;
  if (!parsed.epdFile.empty()) {
    options = parsed;
    return true;
  }
  const bool fileGiven = !parsed.problemFile.empty();
  if (fenGiven && fileGiven) {
    error = "give either --fen or a problem file, not both";
    return false;
  }
  if (!fenGiven && !fileGiven) {
    error = "--fen or a problem file is required";
    return false;
  }
  if (parsed.perftDepth && (parsed.moves || parsed.defend || parsed.stopOnFirst)) {
    error = "--perft takes only --fen or a problem file (and --quiet)";
    return false;
  }
  // A problem file stores its depth; a FEN has none.
  if (fenGiven && !parsed.perftDepth && !parsed.moves) {
    error = "--moves is required with --fen";
    return false;
  }
  options = parsed;
  return true;
}

} // namespace cli
