// The castling boxes, shown only while king and rook stand at home, and the check that loads
// the position into the solver before every search.
#include "app/chessfrm.h"
#include "app/texts.h"
#include "engine/codes.h"
#include "problem/board.h"
#include "problem/position_check.h"

#include <QCheckBox>
#include <QListWidget>

namespace {

using namespace engine;
using namespace problem;

// A greyed box (a file's or the settings' value 2) is no permission: only a tick grants a right.
bool Grants(const QCheckBox *box) { return box->checkState() == Qt::Checked; }

} // namespace

void chessfrm::CheckForCoupling() {
  const bool whiteKing = Code(kSquareE1) == kWhiteKing;
  chkCWS->setVisible(Code(kSquareH1) == kWhiteRook && whiteKing);
  chkCWL->setVisible(Code(kSquareA1) == kWhiteRook && whiteKing);
  const bool blackKing = Code(kSquareE8) == kBlackKing;
  chkCBS->setVisible(Code(kSquareH8) == kBlackRook && blackKing);
  chkCBL->setVisible(Code(kSquareA8) == kBlackRook && blackKing);
}

// Loads the board square by square with the rights of the checked boxes whose king and rook
// stand at home, then refuses a position the solver must not be given. True: illegal.
bool chessfrm::CheckPosition() {
  cm->Clear();
  Board position{};
  for (int n = 0; n < 64; ++n) {
    cm->setCmFieldX(static_cast<short>(n / 8));
    cm->setCmFieldY(static_cast<short>(n % 8));
    const int man = Code(n);
    position[n] = man;
    if (man == kNoMan)
      continue;
    cm->setCmMan(static_cast<short>(man));
    if (man == kWhiteKing && n == kSquareE1) {
      if (Code(kSquareH1) == kWhiteRook && Grants(chkCWS))
        cm->setCouplingWhiteSmall(true);
      if (Code(kSquareA1) == kWhiteRook && Grants(chkCWL))
        cm->setCouplingWhiteLarge(true);
    }
    if (man == kBlackKing && n == kSquareE8) {
      if (Code(kSquareH8) == kBlackRook && Grants(chkCBS))
        cm->setCouplingBlackSmall(true);
      if (Code(kSquareA8) == kBlackRook && Grants(chkCBL))
        cm->setCouplingBlackLarge(true);
    }
  }
  const std::string_view fault = PositionFault(position);
  if (fault.empty())
    return false;
  slist->addItem(texts::kIllegalPosition);
  dialogs_.ShowMessage(this, texts::kErrorMessageTitle,
                       QString::fromLatin1(fault.data(), static_cast<int>(fault.size())),
                       UserDialogs::Icon::Critical);
  return true;
}
