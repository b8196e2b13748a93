// What the window holds of a problem, as a file keeps it: the men, the comment, the depth and
// the four castling boxes. Undo keeps two of these per change; a saved one tells whether the
// problem has changed since it was last saved or opened.
#pragma once

#include <QString>
#include <array>

struct ProblemState {
  std::array<int, 64> board{}; // ManCodes by square number
  QString comment;
  int depth = 0;                   // the depth slider's value
  std::array<short, 4> castling{}; // CWS, CWL, CBS, CBL as files number them

  bool operator==(const ProblemState &) const = default;
};
