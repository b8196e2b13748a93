// The board as a FEN through the clipboard: out with White to move and the castling rights of
// the ticked boxes, in with the board and the boxes it sets up.
#include "app/chessfrm.h"
#include "app/texts.h"
#include "engine/man_codes.h"
#include "problem/cmt_file.h"
#include "problem/fen.h"
#include "problem/position_check.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>

void chessfrm::menCopyFen_Click() {
  problem::FenPosition position;
  for (int n = 0; n < 64; ++n)
    position.board[n] = Code(n);
  position.castlingRights =
      problem::RightsAtHome(position.board, problem::CheckedRights(CastlingStates()));
  QApplication::clipboard()->setText(QString::fromStdString(problem::FormatFen(position)));
}

// Either side may be to move: the task buttons say who moves. The comment stays.
void chessfrm::menPasteFen_Click() {
  if (Busy) {
    dialogs_.Beep();
    return;
  }
  problem::FenPosition position;
  std::string error;
  if (!problem::ParseFen(QApplication::clipboard()->text().trimmed().toStdString(), position,
                         error)) {
    dialogs_.ShowMessage(this, texts::kErrorTitle, texts::kNoFen.arg(QString::fromStdString(error)),
                         UserDialogs::Icon::Critical);
    return;
  }
  if (const std::string_view fault = problem::PositionFault(position.board); !fault.empty()) {
    dialogs_.ShowMessage(
        this, texts::kErrorTitle,
        texts::kFenRefused.arg(QString::fromLatin1(fault.data(), static_cast<int>(fault.size()))),
        UserDialogs::Icon::Critical);
    return;
  }
  RecordChange(QStringLiteral("Paste FEN"), [this, &position] {
    for (int n = 0; n < 64; ++n)
      SetMan(n, position.board[n]);
    const std::uint32_t rights[] = {engine::kWhiteShort, engine::kWhiteLong, engine::kBlackShort,
                                    engine::kBlackLong};
    const std::array<QCheckBox *, 4> boxes = CastlingBoxes();
    for (int i = 0; i < 4; ++i) {
      SetBoxState(boxes[i], (position.castlingRights & rights[i]) != 0 ? problem::kChecked
                                                                       : problem::kUnchecked);
    }
  });
}
