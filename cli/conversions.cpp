#include "cli/conversions.h"

#include "engine/man_codes.h"
#include "problem/cmt_file.h"
#include "problem/windows1252.h"

namespace cli {

namespace {

// The window's depth slider reaches from mate in 1 to mate in 30.
constexpr int kMostMoves = 30;

// The window keeps a line break as CR LF, counted as two characters.
std::string WindowLineBreaks(const std::string &text) {
  std::string stored;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r'))
      stored += '\r';
    stored += text[i];
  }
  return stored;
}

} // namespace

std::string FenAndDepth(const problem::FenPosition &position, int moves) {
  return problem::FormatFen(position) + '\n' + std::to_string(moves) + '\n';
}

bool WriteProblem(const std::string &path, const problem::FenPosition &position, int moves,
                  const std::optional<std::string> &comment, std::string &error) {
  if (moves < 1 || moves > kMostMoves) {
    error = "a problem file holds a mate in 1 to " + std::to_string(kMostMoves) + " moves, not " +
            std::to_string(moves);
    return false;
  }
  problem::ProblemFile file;
  file.board = position.board;
  file.maxDepth = static_cast<short>(moves - 1);
  file.comment = WindowLineBreaks(comment.value_or(""));
  if (problem::Utf8CharacterCount(file.comment) > problem::kMaxCommentLength) {
    error = "the comment is longer than the " + std::to_string(problem::kMaxCommentLength) +
            " characters a problem file holds (a line break counts two)";
    return false;
  }
  if (problem::FromWindows1252(problem::ToWindows1252(file.comment)) != file.comment) {
    error = "the comment holds a character a problem file cannot keep (Windows-1252 only)";
    return false;
  }
  const std::uint32_t rights = problem::RightsAtHome(position.board, position.castlingRights);
  const auto box = [&](std::uint32_t right) {
    return (rights & right) != 0 ? problem::kChecked : problem::kUnchecked;
  };
  file.castling = {box(engine::kWhiteShort), box(engine::kWhiteLong), box(engine::kBlackShort),
                   box(engine::kBlackLong)};
  return problem::WriteProblemFile(path, file, error);
}

} // namespace cli
