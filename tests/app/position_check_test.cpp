// The castling boxes that follow kings and rooks at home, the rights that reach the solver,
// and the check that refuses a position before a search.
#include "tests/app/window_fixture.h"

#include <QCheckBox>
#include <QListWidget>
#include <QPushButton>

namespace {

using namespace testing_support;
using Icon = UserDialogs::Icon;
using PositionCheckTest = WindowTest;

TEST_F(PositionCheckTest, ABoxShowsOnlyWhileItsKingAndRookStandAtHome) {
  struct Case {
    const char *box;
    int kingSquare, king, rookSquare, rook;
  };
  const Case cases[] = {{"chkCWS", Sq("e1"), kWK, Sq("h1"), kWR},
                        {"chkCWL", Sq("e1"), kWK, Sq("a1"), kWR},
                        {"chkCBS", Sq("e8"), kBK, Sq("h8"), kBR},
                        {"chkCBL", Sq("e8"), kBK, Sq("a8"), kBR}};
  const auto shown = [&] {
    std::vector<QString> names;
    for (QCheckBox *box : {window->chkCWS, window->chkCWL, window->chkCBS, window->chkCBL}) {
      if (box->isVisible())
        names.push_back(box->objectName());
    }
    return names;
  };
  const std::vector<QString> none;
  for (const Case &c : cases) {
    SCOPED_TRACE(c.box);
    const std::vector<QString> only = {c.box};
    SetUpBoard("");
    QCheckBox *box = window->findChild<QCheckBox *>(c.box);
    box->setChecked(true);
    Place(c.rook, c.rookSquare); // rook first
    EXPECT_EQ(shown(), none);
    Place(c.king, c.kingSquare);
    EXPECT_EQ(shown(), only);
    Place(kEmpty, c.rookSquare); // the box goes, and keeps its value
    EXPECT_EQ(shown(), none);
    Place(kEmpty, c.kingSquare);
    Place(c.king, c.kingSquare); // king first; a rook of the other colour does not count
    Place(c.rook < 7 ? c.rook + 6 : c.rook - 6, c.rookSquare);
    EXPECT_EQ(shown(), none);
    Place(c.rook, c.rookSquare);
    EXPECT_EQ(shown(), only);
    ClickSquare(c.kingSquare, Qt::RightButton);
    EXPECT_EQ(shown(), none);
    EXPECT_TRUE(box->isChecked());
  }
}

TEST_F(PositionCheckTest, ARightReachesTheSolverOnlyWhenGrantedWithKingAndRookAtHome) {
  struct Case {
    const char *name;
    const char *fen;
    std::array<bool, 4> checked; // CWS, CWL, CBS, CBL
    std::array<bool, 4> sent;    // WhiteSmall, WhiteLarge, BlackSmall, BlackLarge
    bool illegal;
  };
  const Case cases[] = {
      {"all four granted", "r3k2r/8/8/8/8/8/8/R3K2R", {1, 1, 1, 1}, {1, 1, 1, 1}, false},
      {"white king-side", "4k3/8/8/8/8/8/8/4K2R", {1, 0, 0, 0}, {1, 0, 0, 0}, false},
      {"box not checked", "4k3/8/8/8/8/8/8/4K2R", {0, 0, 0, 0}, {0, 0, 0, 0}, false},
      {"only the checked ones", "r3k2r/8/8/8/8/8/8/R3K2R", {0, 1, 1, 0}, {0, 1, 1, 0}, false},
      {"king on f1", "4k3/8/8/8/8/8/8/5K1R", {1, 1, 1, 1}, {0, 0, 0, 0}, false},
      {"black rook on a1", "4k3/8/8/8/8/8/8/r3K3", {1, 1, 1, 1}, {0, 0, 0, 0}, false},
      {"black king on d8", "r2k3r/8/8/8/8/8/8/4K3", {1, 1, 1, 1}, {0, 0, 0, 0}, false},
      {"two white kings", "4k3/8/8/8/8/8/8/K3K2R", {1, 0, 0, 0}, {1, 0, 0, 0}, true},
  };
  QCheckBox *const boxes[] = {window->chkCWS, window->chkCWL, window->chkCBS, window->chkCBL};
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    SetUpBoard(c.fen);
    for (int i = 0; i < 4; ++i)
      boxes[i]->setChecked(c.checked[i]);
    dialogs.messages.clear();
    EXPECT_EQ(window->CheckPosition(), c.illegal);
    const std::array<bool, 4> sent = {
        window->cm->CouplingWhiteSmall(), window->cm->CouplingWhiteLarge(),
        window->cm->CouplingBlackSmall(), window->cm->CouplingBlackLarge()};
    EXPECT_EQ(sent, c.sent);
    EXPECT_EQ(dialogs.messages.size(), c.illegal ? 1u : 0u);
    for (int i = 0; i < 4; ++i)
      EXPECT_EQ(boxes[i]->isChecked(), c.checked[i]);
  }
  EXPECT_EQ(dialogs.messages.at(0).text, "Mistake?!: too many white kings on board!");
}

TEST_F(PositionCheckTest, AnIllegalPositionIsRefusedWithTheLastFailingTestsMessage) {
  const std::pair<const char *, const char *> cases[] = {
      {"", "Mistake?!: could not find a black king!"},
      {"4k3/8/8/8/8/8/8/8", "Mistake?!: could not find a white king!"},
      {"4k3/8/8/8/8/8/8/K3K3", "Mistake?!: too many white kings on board!"},
      {"8/8/8/8/8/8/8/4K3", "Mistake?!: could not find a black king!"},
      {"k3k3/8/8/8/8/8/8/8", "Mistake?!: too many black kings on board!"},
      {"4k3/8/8/8/8/PPPPPPPP/P7/4K3", "Too many white pawns - only eight or less are allowed!"},
      {"4k3/pppppppp/p7/8/8/8/8/8", "Too many black pawns - only eight or less are allowed!"},
      {"4k3/8/8/8/QQQQQQQQ/PPPPPPPP/8/4K3",
       "Too many white chessmen - only 16 or less are allowed!"},
      {"4k3/8/8/8/QQQQQQ2/PPPPPPPP/P7/4K3",
       "Too many white pawns - only eight or less are allowed!"},
      {"4k3/pppppppp/qqqqqqqq/8/8/8/8/4K3",
       "Too many black chessmen - only 16 or less are allowed!"},
      {"P3k3/8/8/8/8/8/8/4K3", "Mistake?!: A pawn can never stand on a BaseLine!"},
      {"4k3/8/8/8/8/8/8/4K2p", "Mistake?!: A pawn can never stand on a BaseLine!"},
      {"P3k3/pppppppp/p7/8/8/8/8/K3K3", "Mistake?!: A pawn can never stand on a BaseLine!"},
  };
  for (const auto &[fen, message] : cases) {
    SCOPED_TRACE(fen);
    SetUpBoard(fen);
    const std::array<int, 64> before = Codes();
    const std::size_t lines = Lines().size();
    dialogs.messages.clear();
    window->matecmd->click();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, message);
    EXPECT_EQ(dialogs.messages[0].title, "Quintabell Error Message");
    EXPECT_EQ(dialogs.messages[0].icon, Icon::Critical);
    EXPECT_EQ(Lines().size(), lines + 1);
    EXPECT_EQ(Lines().back(), ">> illegal position");
    EXPECT_EQ(window->matecmd->text(), "Mate"); // no search started
    EXPECT_EQ(Codes(), before);
  }

  // Defend checks the same way; a legal position passes without a word.
  SetUpBoard("4k3/8/8/8/8/8/8/4K3");
  dialogs.messages.clear();
  EXPECT_FALSE(window->CheckPosition());
  EXPECT_TRUE(dialogs.messages.empty());
  SetUpBoard("4k3/8/8/8/8/8/8/8");
  window->defencecmd->click();
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].text, "Mistake?!: could not find a white king!");
  EXPECT_EQ(Lines().back(), ">> illegal position");
}

} // namespace
