#include "cli/options.h"

#include <charconv>
#include <string_view>

namespace cli {

namespace {

bool ParseInteger(std::string_view text, int low, int high, int &value) {
  const char *end = text.data() + text.size();
  const auto [last, status] = std::from_chars(text.data(), end, value);
  return status == std::errc() && last == end && !text.empty() && value >= low && value <= high;
}

} // namespace

bool ParseOptions(int argc, const char *const *argv, Options &options, std::string &error) {
  Options parsed;
  for (int i = 1; i < argc; ++i) {
    std::string_view arg = argv[i];
    std::string_view value;
    bool inlineValue = false;
    if (const auto equals = arg.find('='); arg.rfind("--", 0) == 0 && equals != arg.npos) {
      value = arg.substr(equals + 1);
      arg = arg.substr(0, equals);
      inlineValue = true;
    }
    const bool takesValue = arg == "--fen" || arg == "--moves" || arg == "--perft";
    if (takesValue && !inlineValue) {
      if (i + 1 >= argc) {
        error = std::string(arg) + " needs a value";
        return false;
      }
      value = argv[++i];
    } else if (!takesValue && inlineValue) {
      error = std::string(arg) + " takes no value";
      return false;
    }
    if (arg == "--fen") {
      parsed.fen = value;
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
  if (parsed.fen.empty()) {
    error = "--fen is required";
    return false;
  }
  if (parsed.perftDepth && (parsed.moves || parsed.defend || parsed.stopOnFirst)) {
    error = "--perft takes only --fen (and --quiet)";
    return false;
  }
  if (!parsed.perftDepth && !parsed.moves) {
    error = "--moves is required";
    return false;
  }
  options = parsed;
  return true;
}

} // namespace cli
