// The castling boxes that follow kings and rooks at home, the rights that reach the solver, and
// the refusal of a position before a search. Which fault a position has is the problem
// library's to test.
#include "tests/app/window_fixture.h"

#include "problem/position_check.h"

namespace {

using namespace testing_support;
using PositionCheckTest = WindowTest;

// A hidden box keeps its value for when king and rook come home again.
TEST_F(PositionCheckTest, ABoxShowsOnlyWhileItsKingAndRookStandAtHome) {
  SetBoxValues({1, 2, 0, 1});
  const std::pair<const char *, const char *> cases[] = {
      {"r3k2r/8/8/8/8/8/8/R3K2R", "1111"}, // CWS, CWL, CBS, CBL
      {"4k2r/8/8/8/8/8/8/R3K3", "0110"},
      {"R3k2R/8/8/8/8/8/8/r3K2r", "0000"},
      {"r2k3r/8/8/8/8/8/8/R4K1R", "0000"}};
  for (const auto &[fen, shown] : cases) {
    SetUpBoard(fen);
    QString flags;
    for (const QCheckBox *box : ui->castlingBoxes)
      flags += box->isVisible() ? '1' : '0';
    EXPECT_EQ(flags, shown) << fen;
  }
  EXPECT_EQ(BoxValues(), (std::array<int, 4>{1, 2, 0, 1}));
}

// Only a ticked box whose king and rook stand at home grants its right; a grayed one is the
// user's "undecided" and grants nothing.
TEST_F(PositionCheckTest, ARightReachesTheSolverOnlyFromATickedBoxWithKingAndRookAtHome) {
  const struct {
    const char *fen;
    std::array<int, 4> boxes; // CWS, CWL, CBS, CBL as BoxValues numbers them
    std::array<bool, 4> sent;
  } cases[] = {
      {"r3k2r/8/8/8/8/8/8/R3K2R", {0, 1, 1, 0}, {0, 1, 1, 0}},
      {"r3k2r/8/8/8/8/8/8/R3K2R", {2, 1, 2, 1}, {0, 1, 0, 1}},
      {"4k3/8/8/8/8/8/8/5K1R", {1, 1, 1, 1}, {0, 0, 0, 0}},
      {"4k3/8/8/8/8/8/8/r3K3", {1, 1, 1, 1}, {0, 0, 0, 0}},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.fen);
    SetUpBoard(c.fen);
    SetBoxValues(c.boxes);
    EXPECT_FALSE(ui->CheckPosition());
    SolverControl &cm = ui->cm;
    EXPECT_EQ((std::array<bool, 4>{cm.CouplingWhiteSmall(), cm.CouplingWhiteLarge(),
                                   cm.CouplingBlackSmall(), cm.CouplingBlackLarge()}),
              c.sent);
    EXPECT_EQ(BoxValues(), c.boxes);
  }
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(PositionCheckTest, EitherTaskButtonRefusesAnIllegalPositionWithItsFault) {
  SetUpBoard("4k3/8/8/8/8/8/8/4K2p");
  for (QPushButton *button : {ui->matecmd, ui->defencecmd}) {
    SCOPED_TRACE(button->text().toStdString());
    dialogs.messages.clear();
    button->click();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, QString::fromLatin1(problem::kPawnOnBaseLine.data()));
    EXPECT_EQ(dialogs.messages[0].title, "Quintabell Error Message");
    EXPECT_EQ(dialogs.messages[0].icon, UserDialogs::Icon::Critical);
    EXPECT_EQ(Lines().back(), ">> illegal position");
    EXPECT_FALSE(ui->Busy);
    EXPECT_EQ(ui->matecmd->text(), "Mate");
  }
  EXPECT_EQ(Lines().size(), 2u);
  EXPECT_EQ(Codes(), Board("4k3/8/8/8/8/8/8/4K2p"));
}

} // namespace
