// The castling boxes, shown only while king and rook stand at home, and the check that loads
// the position into the solver before every search.
#include "app/chessfrm.h"
#include "app/texts.h"
#include "engine/man_codes.h"
#include "problem/board.h"
#include "problem/cmt_file.h"
#include "problem/position_check.h"

#include <QCheckBox>
#include <QListWidget>

namespace {

using namespace engine;
using namespace problem;

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
  }
  // Only a ticked box grants its right (a greyed one does not), and only with king and rook at
  // home: the same rule as for a problem file solved on the command line.
  const std::uint32_t rights = RightsAtHome(position, CheckedRights(CastlingStates()));
  cm->setCouplingWhiteSmall((rights & kWhiteShort) != 0);
  cm->setCouplingWhiteLarge((rights & kWhiteLong) != 0);
  cm->setCouplingBlackSmall((rights & kBlackShort) != 0);
  cm->setCouplingBlackLarge((rights & kBlackLong) != 0);
  const std::string_view fault = PositionFault(position);
  if (fault.empty())
    return false;
  slist->addItem(texts::kIllegalPosition);
  dialogs_.ShowMessage(this, texts::kErrorMessageTitle,
                       QString::fromLatin1(fault.data(), static_cast<int>(fault.size())),
                       UserDialogs::Icon::Critical);
  return true;
}
