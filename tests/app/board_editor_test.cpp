// The board as the user drives it: the mouse, the editor keys, the pen as the pointer, edits
// refused while busy, undo, and the commands that change the whole board.
#include "tests/app/window_fixture.h"

#include <functional>

namespace {

using namespace testing_support;
using BoardEditorTest = WindowTest;

TEST_F(BoardEditorTest, LeftPlacesThePenRightPicksUpOtherButtonsDoNothing) {
  SetUpBoard("4k3/8/8/8/8/8/4P3/4K3");
  Place(kBN, Sq("d8"));
  ClickSquare(Sq("e2"), Qt::MiddleButton);
  ClickSquare(Sq("e8"), Qt::RightButton); // picked up, the king stays in the pen
  EXPECT_EQ(ui->SelectedMan, kBK);
  ClickSquare(Sq("d5"));
  ClickSquare(Sq("f5"));
  EXPECT_EQ(Codes(), Board("3n4/8/8/3k1k2/8/8/4P3/4K3"));
  // An empty square hands over the empty-square tool, which empties what it clicks.
  ClickSquare(Sq("a3"), Qt::RightButton);
  EXPECT_EQ(ui->SelectedMan, kEmpty);
  ClickSquare(Sq("e2"));
  EXPECT_EQ(Codes(), Board("3n4/8/8/3k1k2/8/8/8/4K3"));
  ExpectPicturesFollowCodes();
}

// A man is carried with the left button from square to square, or off the board to take it
// away; a click without moving still puts the pen down.
TEST_F(BoardEditorTest, AManDraggedMovesOrLeavesTheBoardAndAClickStillPlacesThePen) {
  const struct {
    const char *name;
    QPoint drop; // in the board's coordinates
    const char *after;
  } cases[] = {
      {"to another square", Centre(Sq("e4")), "4k3/8/8/8/4P3/8/8/4K3"},
      {"onto a man, which it takes", Centre(Sq("e8")), "4P3/8/8/8/8/8/8/4K3"},
      {"off the board", QPoint(-30, 100), "4k3/8/8/8/8/8/8/4K3"},
      {"onto the border", QPoint(5, 100), "4k3/8/8/8/8/8/4P3/4K3"},
      {"back to its square", Centre(Sq("e2")) + QPoint(9, 9), "4k3/8/8/8/8/8/4P3/4K3"},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.name);
    SetUpBoard("4k3/8/8/8/8/8/4P3/4K3");
    ChooseMan(kBQ);
    Drag(Sq("e2"), c.drop);
    EXPECT_EQ(Codes(), Board(c.after));
    EXPECT_EQ(ui->SelectedMan, kBQ);
    ExpectPicturesFollowCodes();
  }
  ClickSquare(Sq("e1"));
  EXPECT_EQ(ui->Code(Sq("e1")), kBQ);
}

// Every change of the board comes back with Ctrl+Z and goes again with Ctrl+Shift+Z; what a
// change did not touch, the comment typed since for one, stays.
TEST_F(BoardEditorTest, UndoTakesEachBoardChangeBackAndRedoMakesItAgain) {
  const std::vector<std::pair<const char *, std::function<void()>>> changes = {
      {"a placement", [&] { Place(kWQ, Sq("d4")); }},
      {"a man picked up", [&] { ClickSquare(Sq("e2"), Qt::RightButton); }},
      {"a man dragged", [&] { Drag(Sq("e2"), Centre(Sq("e4"))); }},
      {"Switch", [&] { Trigger("mentoggle"); }},
      {"New", [&] { Trigger("mennew"); }},
      {"Clear Board", [&] { Trigger("menclearboard"); }},
  };
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  for (const auto &[name, change] : changes) {
    SCOPED_TRACE(name);
    SetUpBoard("4k3/8/8/8/8/8/4P3/4K3");
    ui->commenttxt->setPlainText(QStringLiteral("Loyd"));
    const std::array<int, 64> before = Codes();
    change();
    const std::array<int, 64> after = Codes();
    const QString comment = ui->commenttxt->toPlainText();
    ASSERT_NE(after, before);
    ui->board->setFocus();
    QTest::keyClick(ui->board, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Codes(), before);
    EXPECT_EQ(ui->commenttxt->toPlainText(), "Loyd");
    ui->commenttxt->setPlainText(QStringLiteral("typed since"));
    QTest::keyClick(ui->board, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Codes(), after);
    EXPECT_EQ(ui->commenttxt->toPlainText(), comment == "Loyd" ? "typed since" : comment);
  }
}

// After the run the X lies over the knight taken on e8; a press on it goes to the square below.
TEST_F(BoardEditorTest, APressOnTheCaptureMarkEditsTheSquareBelow) {
  const struct {
    Qt::MouseButton button;
    int pen, codeAfter, penAfter;
  } cases[] = {{Qt::LeftButton, kWQ, kWQ, kWQ}, {Qt::RightButton, kWQ, kEmpty, kBN}};
  for (const auto &c : cases) {
    SCOPED_TRACE(c.button);
    ASSERT_TRUE(SolveProblem(kCaptureInOne, 1));
    ASSERT_TRUE(ui->MarkX->isVisible());
    EXPECT_EQ(ui->MarkX->geometry(), ui->feld[Sq("e8")]->geometry());
    ui->SelectMan(c.pen);
    QTest::mouseClick(ui->MarkX, c.button);
    EXPECT_EQ(ui->Code(Sq("e8")), c.codeAfter);
    EXPECT_EQ(ui->SelectedMan, c.penAfter);
  }
}

TEST_F(BoardEditorTest, EditorKeysOnBoardAndPieceBoxChangeThePen) {
  const struct {
    int pen;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    int expected;
  } cases[] = {
      {kEmpty, Qt::Key_Space, Qt::ShiftModifier, kBK},
      {kWQ, Qt::Key_Space, Qt::ControlModifier, kWB},
      {kEmpty, Qt::Key_Space, Qt::AltModifier, kBK},
      {kBP, Qt::Key_Delete, Qt::NoModifier, kEmpty},
      {kBK, Qt::Key_Escape, Qt::NoModifier, kEmpty},
      {kWR, Qt::Key_B, Qt::NoModifier, kBR},
      {kEmpty, Qt::Key_B, Qt::NoModifier, kEmpty},
      {kBB, Qt::Key_B, Qt::NoModifier, kBB},
      {kBK, Qt::Key_W, Qt::NoModifier, kWK},
      {kWB, Qt::Key_W, Qt::NoModifier, kWB},
      {kWN, Qt::Key_A, Qt::NoModifier, kWN},
  };
  for (QWidget *target : std::initializer_list<QWidget *>{ui->board, ui->chest, ui->mdscroll}) {
    for (const auto &c : cases) {
      SCOPED_TRACE(testing::Message() << target->objectName().toStdString() << " pen " << c.pen
                                      << " key " << c.key << " modifiers " << c.modifiers);
      ui->SelectMan(c.pen);
      QTest::keyClick(target, c.key, c.modifiers);
      EXPECT_EQ(ui->SelectedMan, c.expected);
    }
  }
  ui->SelectMan(kEmpty);
  std::vector<int> walk;
  for (int i = 0; i < 13; ++i) {
    QTest::keyClick(ui->board, Qt::Key_Space);
    walk.push_back(ui->SelectedMan);
  }
  EXPECT_EQ(walk, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 0}));
  // Keys typed into other controls are theirs.
  ui->SelectMan(kWR);
  QTest::keyClick(ui->commenttxt, Qt::Key_Space);
  QTest::keyClick(ui->slist, Qt::Key_Escape);
  EXPECT_EQ(ui->SelectedMan, kWR);
}

TEST_F(BoardEditorTest, WhileBusyEveryEditInputOnlyBeeps) {
  const std::vector<std::pair<const char *, std::function<void()>>> inputs = {
      {"left press on a square", [&] { ClickSquare(Sq("d4")); }},
      {"right press on a man", [&] { ClickSquare(Sq("e1"), Qt::RightButton); }},
      {"press on the capture mark", [&] { QTest::mouseClick(ui->MarkX, Qt::LeftButton); }},
      {"click on a tile", [&] { ChooseMan(kBB); }},
      {"click on the empty-square tool", [&] { ChooseMan(kEmpty); }},
      {"Space on the board", [&] { QTest::keyClick(ui->board, Qt::Key_Space); }},
      {"Undo", [&] { Trigger("menUndo"); }},
      {"Paste FEN", [&] { Trigger("menPasteFen"); }}};
  SetUpBoard("4k3/8/8/8/8/8/8/4K3");
  ui->MarkX->tag = Sq("e8");
  Place(kWR, Sq("a1")); // a change Undo could take back
  const std::array<int, 64> before = Codes();
  ui->Busy = -1;
  for (const auto &[name, input] : inputs) {
    SCOPED_TRACE(name);
    const int beeps = dialogs.beeps;
    input();
    EXPECT_EQ(dialogs.beeps, beeps + 1);
    EXPECT_EQ(Codes(), before);
    EXPECT_EQ(ui->SelectedMan, kWR);
  }
  EXPECT_TRUE(dialogs.messages.empty());

  // Called directly, SetMan warns but places all the same.
  ui->SetMan(Sq("d4"), kWQ);
  EXPECT_EQ(ui->Code(Sq("d4")), kWQ);
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].text, "I'm busy!");
  ui->Busy = 0;
}

TEST_F(BoardEditorTest, ThePenIsTheWindowsPointerAndControlsKeepTheArrow) {
  const auto pen = [this] { return window->centralWidget()->cursor().pixmap().toImage(); };
  const QImage tool = ui->imgNoTile->picture().toImage();
  EXPECT_EQ(pen(), tool);
  EXPECT_EQ(window->centralWidget()->cursor().hotSpot(), QPoint(10, 6));
  ChooseMan(kWQ);
  EXPECT_EQ(pen(), TilePicture(kWQ));
  ui->SelectMan(13); // out of range: ignored
  EXPECT_EQ(ui->SelectedMan, kWQ);
  for (QWidget *control : std::initializer_list<QWidget *>{ui->matecmd, ui->slist->viewport(),
                                                           ui->commenttxt->viewport(), ui->mdlbl,
                                                           ui->Check1, ui->castlingBoxes[0]}) {
    EXPECT_EQ(control->cursor().shape(), Qt::ArrowCursor) << control->objectName().toStdString();
  }
  QTest::keyClick(ui->chest, Qt::Key_Escape);
  EXPECT_EQ(pen(), tool);
}

TEST_F(BoardEditorTest, TheFirstPlacementAfterARunThrowsItsResultsAway) {
  ASSERT_TRUE(SolveProblem(kCaptureInOne, 1));
  ASSERT_TRUE(ui->MarkFrom->isVisible());
  ClickSquare(Sq("g8"), Qt::RightButton); // the black king leaves the board
  EXPECT_TRUE(Lines().empty());
  EXPECT_FALSE(ui->MarkFrom->isVisible() || ui->MarkTo->isVisible() || ui->MarkX->isVisible() ||
               ui->MarksShown || ui->ResultsShown);
  EXPECT_EQ(window->focusWidget(), ui->board);

  ui->matecmd->click(); // refused: no black king
  ClickSquare(Sq("h8"));
  EXPECT_EQ(Lines(), (std::vector<QString>{">> illegal position"}));

  // With scrambling on the real texts wait in blist; they go as well.
  ui->Check1->click();
  ASSERT_TRUE(Solve(ui->matecmd));
  ASSERT_FALSE(LinesOf(ui->blist).empty());
  ClickSquare(Sq("a5"));
  EXPECT_TRUE(Lines().empty());
  EXPECT_TRUE(LinesOf(ui->blist).empty());
}

using TransformsTest = WindowTest;

TEST_F(TransformsTest, SwitchMirrorsTheRanksAndColoursAndTwiceRestores) {
  const char *const fen = "r3k2r/1p1n4/8/3Pp3/2B5/8/4P1q1/R3K2R";
  SetUpBoard(fen);
  Trigger("mentoggle");
  EXPECT_EQ(Codes(), Board("r3k2r/4p1Q1/8/2b5/3pP3/8/1P1N4/R3K2R"));
  ExpectPicturesFollowCodes();
  Trigger("mentoggle");
  EXPECT_EQ(Codes(), Board(fen));
}

// Switch goes straight to the squares, not through a placement: the results, marks and boxes
// stay as they were until the next placement looks at them again.
TEST_F(TransformsTest, SwitchLeavesResultsMarksAndBoxesAloneUntilTheNextPlacement) {
  ASSERT_TRUE(SolveProblem(kCaptureInOne, 1));
  const std::vector<QString> lines = Lines();
  const QRect from = ui->MarkFrom->geometry();
  QCheckBox *const whiteLong = ui->castlingBoxes[1], *const blackLong = ui->castlingBoxes[3];
  Trigger("mentoggle");
  EXPECT_EQ(Lines(), lines);
  EXPECT_TRUE(ui->ResultsShown && ui->MarksShown && ui->MarkX->isVisible());
  EXPECT_EQ(ui->MarkFrom->geometry(), from);
  EXPECT_TRUE(whiteLong->isVisible() && !blackLong->isVisible());
  ClickSquare(Sq("d4"));
  EXPECT_TRUE(!whiteLong->isVisible() && blackLong->isVisible());
}

// Nothing unsaved goes without a question, and No keeps it; Yes empties the problem but keeps
// depth and boxes.
TEST_F(TransformsTest, NewAndClearBoardAskThenEmptyTheProblemButKeepDepthAndBoxes) {
  Trigger("mennew");
  EXPECT_TRUE(dialogs.questions.empty()) << "asked with nothing to lose";
  for (const char *command : {"mennew", "menclearboard"}) {
    SCOPED_TRACE(command);
    SetUpProblem(kCaptureInOne, 3);
    SetBoxValues({0, 1, 0, 0});
    ui->commenttxt->setPlainText(QStringLiteral("Two rooks"));
    ASSERT_TRUE(Solve(ui->matecmd));
    ASSERT_TRUE(ui->cm.CouplingWhiteLarge() && ui->MarkX->isVisible());
    dialogs.questions.clear();
    dialogs.answer = false;
    Trigger(command);
    EXPECT_EQ(Codes(), Board(kCaptureInOne));

    dialogs.answer = true;
    Trigger(command);
    EXPECT_EQ(Codes(), Board(""));
    ExpectPicturesFollowCodes();
    EXPECT_TRUE(Lines().empty());
    EXPECT_EQ(ui->commenttxt->toPlainText(), "");
    EXPECT_FALSE(ui->ResultsShown || ui->MarksShown || ui->MarkX->isVisible());
    EXPECT_FALSE(ui->cm.CouplingWhiteLarge());
    EXPECT_EQ(ui->cm.cmMD(), 3);
    EXPECT_EQ(BoxValues(), (std::array<int, 4>{0, 1, 0, 0}));
    EXPECT_TRUE(ui->castlingBoxes[1]->isVisible());
    EXPECT_EQ(dialogs.questions.size(), 2u);
  }
  ui->matecmd->click(); // refused, which leaves a line in the list
  ui->commenttxt->setPlainText(QStringLiteral("Loyd, 1859"));
  Trigger("menclearcomment");
  EXPECT_EQ(ui->commenttxt->toPlainText(), "");
  EXPECT_EQ(Lines(), (std::vector<QString>{">> illegal position"}));
}

} // namespace
