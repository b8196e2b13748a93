// The castling boxes that follow kings and rooks at home, the rights that reach the solver,
// and the check that refuses a position before a search.
#include "tests/app/window_fixture.h"

namespace {

using namespace testing_support;

class PositionCheckTest : public WindowTest {
protected:
  // The rights the solver was given: WhiteSmall, WhiteLarge, BlackSmall, BlackLarge.
  std::array<bool, 4> Sent() const {
    return {window->cm->CouplingWhiteSmall(), window->cm->CouplingWhiteLarge(),
            window->cm->CouplingBlackSmall(), window->cm->CouplingBlackLarge()};
  }
};

// A hidden box keeps its value for when king and rook come home again.
TEST_F(PositionCheckTest, ABoxShowsOnlyWhileItsKingAndRookStandAtHome) {
  const auto shown = [this] { // CWS, CWL, CBS, CBL
    QString flags;
    for (QCheckBox *box : {window->chkCWS, window->chkCWL, window->chkCBS, window->chkCBL})
      flags += box->isVisible() ? '1' : '0';
    return flags;
  };
  SetBoxValues({1, 2, 0, 1});
  const std::pair<const char *, const char *> cases[] = {
      {"r3k2r/8/8/8/8/8/8/R3K2R", "1111"}, {"4k2r/8/8/8/8/8/8/R3K3", "0110"},
      {"r3k3/8/8/8/8/8/8/4K2R", "1001"},   {"R3k2R/8/8/8/8/8/8/r3K2r", "0000"},
      {"r2k3r/8/8/8/8/8/8/R4K1R", "0000"}, {"", "0000"}};
  for (const auto &[fen, flags] : cases) {
    SetUpBoard(fen);
    EXPECT_EQ(shown(), flags) << fen;
  }
  SetUpBoard("r3k2r/8/8/8/8/8/8/R3K2R");
  ClickSquare(Sq("e1"), Qt::RightButton);
  EXPECT_EQ(shown(), "0011");
  Place(kWR, Sq("a8"));
  EXPECT_EQ(shown(), "0010");
  EXPECT_EQ(BoxValues(), (std::array<int, 4>{1, 2, 0, 1}));
}

TEST_F(PositionCheckTest, ARightReachesTheSolverOnlyFromACheckedBoxWithKingAndRookAtHome) {
  const struct {
    const char *name;
    const char *fen;
    std::array<int, 4> boxes; // CWS, CWL, CBS, CBL as BoxValues numbers them
    std::array<bool, 4> sent;
    bool illegal;
  } cases[] = {
      {"all four granted", "r3k2r/8/8/8/8/8/8/R3K2R", {1, 1, 1, 1}, {1, 1, 1, 1}, false},
      {"only the checked ones", "r3k2r/8/8/8/8/8/8/R3K2R", {0, 1, 1, 0}, {0, 1, 1, 0}, false},
      {"king on f1", "4k3/8/8/8/8/8/8/5K1R", {1, 1, 1, 1}, {0, 0, 0, 0}, false},
      {"black rook on a1", "4k3/8/8/8/8/8/8/r3K3", {1, 1, 1, 1}, {0, 0, 0, 0}, false},
      {"two white kings", "4k3/8/8/8/8/8/8/K3K2R", {1, 0, 0, 0}, {1, 0, 0, 0}, true},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.name);
    SetUpBoard(c.fen);
    SetBoxValues(c.boxes);
    dialogs.messages.clear();
    EXPECT_EQ(window->CheckPosition(), c.illegal);
    EXPECT_EQ(Sent(), c.sent);
    EXPECT_EQ(dialogs.messages.size(), c.illegal ? 1u : 0u);
    EXPECT_EQ(BoxValues(), c.boxes);
  }
}

// A grayed box is the user's "undecided": a right not clearly given must not reach the solver.
// Disabled while the window still grants it, since QCheckBox::isChecked() is true for a grayed
// box; enable once the position check asks for Qt::Checked.
TEST_F(PositionCheckTest, AGrayedBoxGrantsNoRight) {
  SetUpBoard("r3k2r/8/8/8/8/8/8/R3K2R");
  SetBoxValues({2, 1, 2, 2});
  ASSERT_FALSE(window->CheckPosition());
  EXPECT_EQ(Sent(), (std::array<bool, 4>{false, true, false, false}));
}

// Several faults at once: the message of the last test that fails is the one shown.
TEST_F(PositionCheckTest, AnIllegalPositionIsRefusedWithTheLastFailingTestsMessage) {
  const std::pair<const char *, const char *> cases[] = {
      {"", "Mistake?!: could not find a black king!"},
      {"4k3/8/8/8/8/8/8/8", "Mistake?!: could not find a white king!"},
      {"4k3/8/8/8/8/8/8/K3K3", "Mistake?!: too many white kings on board!"},
      {"k3k3/8/8/8/8/8/8/8", "Mistake?!: too many black kings on board!"},
      {"4k3/8/8/8/8/PPPPPPPP/P7/4K3", "Too many white pawns - only eight or less are allowed!"},
      {"4k3/pppppppp/p7/8/8/8/8/8", "Too many black pawns - only eight or less are allowed!"},
      {"4k3/8/8/8/QQQQQQQQ/PPPPPPPP/8/4K3",
       "Too many white chessmen - only 16 or less are allowed!"},
      {"4k3/8/8/8/QQQQQQ2/PPPPPPPP/P7/4K3",
       "Too many white pawns - only eight or less are allowed!"},
      {"4k3/pppppppp/qqqqqqqq/8/8/8/8/4K3",
       "Too many black chessmen - only 16 or less are allowed!"},
      {"4k3/8/8/8/8/8/8/4K2p", "Mistake?!: A pawn can never stand on a BaseLine!"},
      {"P3k3/pppppppp/p7/8/8/8/8/K3K3", "Mistake?!: A pawn can never stand on a BaseLine!"},
  };
  for (const auto &[fen, message] : cases) {
    for (QPushButton *button : {window->matecmd, window->defencecmd}) {
      SCOPED_TRACE(testing::Message() << fen << ' ' << button->text().toStdString());
      SetUpBoard(fen);
      const std::array<int, 64> before = Codes();
      const std::size_t lines = Lines().size();
      dialogs.messages.clear();
      button->click();
      ASSERT_EQ(dialogs.messages.size(), 1u);
      EXPECT_EQ(dialogs.messages[0].text, message);
      EXPECT_EQ(dialogs.messages[0].title, "Quintabell Error Message");
      EXPECT_EQ(dialogs.messages[0].icon, UserDialogs::Icon::Critical);
      EXPECT_EQ(Lines().size(), lines + 1);
      EXPECT_EQ(Lines().back(), ">> illegal position");
      EXPECT_FALSE(window->Busy);
      EXPECT_EQ(Codes(), before);
    }
  }
  SetUpBoard("4k3/8/8/8/8/8/8/4K3");
  dialogs.messages.clear();
  EXPECT_FALSE(window->CheckPosition());
  EXPECT_TRUE(dialogs.messages.empty());
}

} // namespace
