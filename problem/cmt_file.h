// Problem files (*.cmt): one problem as the user set it up — board, comment, depth and the four
// castling boxes — in a fixed binary layout of 1293 bytes. All integers are 16-bit signed,
// little-endian, packed without gaps. Also the BoardSetup text, the board as the settings keep it.
#pragma once

#include "problem/board.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace problem {

// The layout. Bytes 0..1282 are the record every version wrote; the marker and the castling
// states behind it came later, so a file of the record alone is a complete problem.
inline constexpr std::size_t kCommentOffset = 0;
inline constexpr std::size_t kCommentFieldSize = 1000;
inline constexpr std::size_t kCommentLengthOffset = 1000;
inline constexpr std::size_t kReservedTextOffset = 1002;
inline constexpr std::size_t kReservedTextSize = 145;
inline constexpr std::size_t kReservedWordOffset = 1147;
inline constexpr std::size_t kBoardOffset = 1149;
inline constexpr std::size_t kMaxDepthOffset = 1277;
inline constexpr std::size_t kReservedTailOffset = 1279;
inline constexpr std::size_t kReservedTailSize = 4;
inline constexpr std::size_t kFormatMarkerOffset = 1283;
inline constexpr std::size_t kCastlingOffset = 1285;
inline constexpr std::size_t kProblemRecordSize = 1283;
inline constexpr std::size_t kProblemFileSize = 1293;

inline constexpr std::int16_t kFormatMarker = 15;
// The comment field is filled up with this byte, and at least one of it is always written.
inline constexpr char kCommentFill = 'X';
inline constexpr int kMaxCommentLength = 999;
// The deepest problem a file holds: the window's depth slider reaches mate in 30.
inline constexpr short kMaxDepthValue = 29;

// Castling boxes in file order, and the values a box can hold.
enum CastlingBox { kCWS = 0, kCWL = 1, kCBS = 2, kCBL = 3 };
inline constexpr short kUnchecked = 0;
inline constexpr short kChecked = 1;
inline constexpr short kGrayed = 2;

struct ProblemFile {
  std::string comment; // UTF-8
  Board board{};       // ManCodes by square number 8 * file + rank
  // The depth slider's value, the number of moves of the solution minus one; written as given,
  // read only within 0..kMaxDepthValue.
  short maxDepth = 0;
  std::array<short, 4> castling{kChecked, kChecked, kChecked, kChecked}; // CWS, CWL, CBS, CBL
};

// Writes the 1293 bytes from offset 0 of `path`, creating the file if needed. A longer existing
// file is written over, not shortened: its bytes after 1292 stay. The comment goes out in
// Windows-1252, cut to its first 999 characters. False with a one-line `error` when the file
// cannot be opened or any part of the write fails.
bool WriteProblemFile(const std::filesystem::path &path, const ProblemFile &problem,
                      std::string &error);

// Reads a problem file into `problem`. Answers false with a one-line reason, leaving `problem`
// as it was, for a path that is no regular file (a folder, a pipe, a device: its type is looked
// at before it is opened, so a pipe cannot block the reader), one that cannot be read, a file
// shorter than the record (1283 bytes), and a file whose fields no save can have written: a
// comment length outside 0..999, a ManCode outside 0..12, a depth outside 0..kMaxDepthValue, or
// a marker other than 15 behind the record. Damage a saved problem can suffer is read soundly:
// - the castling states are all checked unless marker 15 follows the record; then each state
//   the file holds in full replaces its default, and a state other than 0, 1, 2 loads unchecked;
// - bytes after 1292 are ignored.
bool ReadProblemFile(const std::filesystem::path &path, ProblemFile &problem, std::string &error);

// The same reading of a file's bytes already in memory. False with the reason, to follow the
// file's name ("holds 12 bytes; ...", "is not a problem file: ..."), and `problem` as it was.
bool DecodeProblemFile(std::string_view bytes, ProblemFile &problem, std::string &reason);

// The engine's castling-right bits for the checked boxes. A grayed box grants nothing: it is
// the window's "undecided", and a right the user did not clearly give must not reach the solver.
// King and rook still have to stand at home (RightsAtHome).
std::uint32_t CheckedRights(const std::array<short, 4> &castling);

// The board as text: for square 0, 1, ..., 63 the decimal ManCode and one blank.
std::string BoardSetupText(const Board &board);

// Reads BoardSetup text the way the window always has: value after value, each handed to `place`
// with its square number, until the text ends. The first malformed part ends the reading and the
// squares after it are left alone: a last value without its blank, a value that is not a whole
// 16-bit number, a 65th value, or a value `place` refuses (answering false). Answers the number
// of squares placed; an empty text places nothing.
int ReadBoardSetup(std::string_view text, const std::function<bool(int square, int code)> &place);

} // namespace problem
