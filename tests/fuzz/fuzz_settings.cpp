// The settings readers on any stored text, as the window applies them: numbers, and the board
// in BoardSetup, which places square after square and stops at the first malformed part.
#include "app/store/settings_object.h"
#include "problem/cmt_file.h"
#include "tests/fuzz/fuzz_check.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  using fuzz::Require;
  const QString text =
      QString::fromUtf8(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
  constexpr int kMissing = -123456;
  const int number = SettingsNumber(text, kMissing);
  if (number != kMissing)
    Require(SettingsNumber(QString::number(number), kMissing) == number, "a number reads back");

  problem::Board board{};
  int next = 0;
  const int placed = problem::ReadBoardSetup(text.toStdString(), [&](int square, int code) {
    Require(square == next++ && square < 64, "squares come in order and on the board");
    if (code < 0 || code > 12)
      return false;
    board[square] = code;
    return true;
  });
  Require(placed >= 0 && placed <= 64, "at most the 64 squares are placed");
  problem::Board again{};
  Require(problem::ReadBoardSetup(problem::BoardSetupText(board),
                                  [&](int square, int code) {
                                    again[square] = code;
                                    return true;
                                  }) == 64 &&
              again == board,
          "the board read is written and read back the same");
  return 0;
}
