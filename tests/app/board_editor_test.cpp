// The board as the user drives it: the window's arrangement, the mouse, the editor keys, the pen
// as the pointer, edits refused while busy, and the commands that change the whole board.
#include "tests/app/window_fixture.h"

#include <QApplication>
#include <QShortcut>
#include <QSignalSpy>
#include <functional>
#include <map>

namespace {

using namespace testing_support;
using BoardEditorTest = WindowTest;

TEST_F(BoardEditorTest, LeftPlacesThePenRightPicksUpOtherButtonsDoNothing) {
  SetUpBoard("4k3/8/8/8/8/8/4P3/4K3");
  Place(kBN, Sq("d8"));
  ClickSquare(Sq("e2"), Qt::MiddleButton);
  ClickSquare(Sq("e8"), Qt::RightButton); // picked up, the king stays in the pen
  EXPECT_EQ(window->SelectedMan, kBK);
  ClickSquare(Sq("d5"));
  ClickSquare(Sq("f5"));
  EXPECT_EQ(Codes(), Board("3n4/8/8/3k1k2/8/8/4P3/4K3"));
  // An empty square hands over the empty-square tool, which empties what it clicks.
  ClickSquare(Sq("a3"), Qt::RightButton);
  EXPECT_EQ(window->SelectedMan, kEmpty);
  ClickSquare(Sq("e2"));
  EXPECT_EQ(Codes(), Board("3n4/8/8/3k1k2/8/8/8/4K3"));
  for (int n = 0; n < 64; ++n)
    EXPECT_EQ(PictureOf(n), TilePicture(window->Code(n))) << n;
}

// A man is carried with the left button from square to square, or off the board to take it
// away; a click without moving still puts the pen down.
TEST_F(BoardEditorTest, AManDraggedMovesOrLeavesTheBoardAndAClickStillPlacesThePen) {
  const struct {
    const char *name;
    int from;
    QPoint drop; // in the board's coordinates
    const char *after;
  } cases[] = {
      {"to another square", Sq("e2"), Centre(Sq("e4")), "4k3/8/8/8/4P3/8/8/4K3"},
      {"onto a man, which it takes", Sq("e2"), Centre(Sq("e8")), "4P3/8/8/8/8/8/8/4K3"},
      {"off the board", Sq("e2"), QPoint(-30, 100), "4k3/8/8/8/8/8/8/4K3"},
      {"onto the border", Sq("e2"), QPoint(5, 100), "4k3/8/8/8/8/8/4P3/4K3"},
      {"back to its square", Sq("e2"), Centre(Sq("e2")) + QPoint(9, 9), "4k3/8/8/8/8/8/4P3/4K3"},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.name);
    SetUpBoard("4k3/8/8/8/8/8/4P3/4K3");
    ChooseMan(kBQ);
    Drag(c.from, c.drop);
    EXPECT_EQ(Codes(), Board(c.after));
    EXPECT_EQ(window->SelectedMan, kBQ);
    for (int n = 0; n < 64; ++n)
      EXPECT_EQ(PictureOf(n), TilePicture(window->Code(n))) << n;
  }
  ClickSquare(Sq("e2"));
  EXPECT_EQ(window->Code(Sq("e2")), kBQ);
}

// Every change of the board comes back with Ctrl+Z and goes again with Ctrl+Shift+Z; what a
// change did not touch, the comment typed since for one, stays.
TEST_F(BoardEditorTest, UndoTakesEachBoardChangeBackAndRedoMakesItAgain) {
  const std::vector<std::pair<const char *, std::function<void()>>> changes = {
      {"a placement", [&] { Place(kWQ, Sq("d4")); }},
      {"a man picked up", [&] { ClickSquare(Sq("e2"), Qt::RightButton); }},
      {"a man dragged", [&] { Drag(Sq("e2"), Centre(Sq("e4"))); }},
      {"Switch", [&] { window->mentoggle->trigger(); }},
      {"New", [&] { window->mennew->trigger(); }},
      {"Clear Board", [&] { window->menclearboard->trigger(); }},
  };
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  for (const auto &[name, change] : changes) {
    SCOPED_TRACE(name);
    SetUpBoard("4k3/8/8/8/8/8/4P3/4K3");
    window->commenttxt->setPlainText(QStringLiteral("Loyd"));
    const std::array<int, 64> before = Codes();
    change();
    const std::array<int, 64> after = Codes();
    const QString comment = window->commenttxt->toPlainText();
    ASSERT_NE(after, before);
    window->board->setFocus();
    QTest::keyClick(window->board, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Codes(), before);
    EXPECT_EQ(window->commenttxt->toPlainText(), "Loyd");
    window->commenttxt->setPlainText(QStringLiteral("typed since"));
    QTest::keyClick(window->board, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Codes(), after);
    EXPECT_EQ(window->commenttxt->toPlainText(), comment == "Loyd" ? "typed since" : comment);
  }
}

// Nothing unsaved goes without a question, and No keeps it.
TEST_F(BoardEditorTest, NewAndClearBoardAskBeforeThrowingAnUnsavedChangeAway) {
  for (QAction *command : {window->mennew, window->menclearboard}) {
    SCOPED_TRACE(command->objectName().toStdString());
    dialogs.questions.clear();
    window->mennew->trigger(); // an empty board, nothing to lose
    SetUpBoard(kTwoKeys);
    dialogs.answer = false;
    command->trigger();
    EXPECT_EQ(Codes(), Board(kTwoKeys));
    dialogs.answer = true;
    command->trigger();
    EXPECT_EQ(Codes(), Board(""));
    command->trigger();
    EXPECT_EQ(dialogs.questions.size(), 2u) << "asked again for the empty board";
  }
}

// After the run the X lies over the knight taken on e8; a press on it goes to the square below.
TEST_F(BoardEditorTest, APressOnTheCaptureMarkEditsTheSquareBelow) {
  struct Case {
    Qt::MouseButton button;
    int pen, codeAfter, penAfter;
  };
  for (const Case &c :
       {Case{Qt::LeftButton, kEmpty, kEmpty, kEmpty}, Case{Qt::LeftButton, kWQ, kWQ, kWQ},
        Case{Qt::RightButton, kWQ, kEmpty, kBN}}) {
    SCOPED_TRACE(testing::Message() << c.button << " pen " << c.pen);
    ASSERT_TRUE(SolveProblem(kCaptureInOne, 1));
    ASSERT_EQ(window->SelectedLine, "Re2xe8   #");
    EXPECT_EQ(window->MarkFrom->geometry(), Around(Sq("e2"), Sq("e2"), 2));
    EXPECT_EQ(window->MarkTo->geometry(), Around(Sq("e8"), Sq("e8"), 2));
    ASSERT_TRUE(window->MarkX->isVisible());
    EXPECT_EQ(window->MarkX->geometry(), window->feld[Sq("e8")]->geometry());
    window->SelectMan(c.pen);
    QTest::mouseClick(window->MarkX, c.button);
    EXPECT_EQ(window->Code(Sq("e8")), c.codeAfter);
    EXPECT_EQ(window->SelectedMan, c.penAfter);
    EXPECT_EQ(window->Code(Sq("e2")), kWR);
  }
}

TEST_F(BoardEditorTest, EditorKeysOnBoardAndPieceBoxChangeThePen) {
  struct Case {
    int pen;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    int expected;
  };
  const Qt::KeyboardModifiers none = Qt::NoModifier, shift = Qt::ShiftModifier,
                              ctrl = Qt::ControlModifier, alt = Qt::AltModifier;
  const Qt::Key space = Qt::Key_Space, del = Qt::Key_Delete, esc = Qt::Key_Escape, b = Qt::Key_B,
                w = Qt::Key_W, a = Qt::Key_A;
  // Space alone walks the box forwards, as the walk below shows.
  const Case cases[] = {
      {kEmpty, space, shift, kBK}, {kWP, space, shift, kEmpty}, {kWQ, space, ctrl, kWB},
      {kEmpty, space, alt, kBK},   {kBP, del, none, kEmpty},    {kBK, esc, none, kEmpty},
      {kWR, b, none, kBR},         {kEmpty, b, none, kEmpty},   {kBB, b, none, kBB},
      {kBK, w, none, kWK},         {kWB, w, none, kWB},         {kWN, a, none, kWN},
  };
  for (QWidget *target : std::initializer_list<QWidget *>{window->board, window->chest}) {
    for (const Case &c : cases) {
      SCOPED_TRACE(testing::Message() << target->objectName().toStdString() << " pen " << c.pen
                                      << " key " << c.key << " modifiers " << c.modifiers);
      window->SelectMan(c.pen);
      QTest::keyClick(target, c.key, c.modifiers);
      EXPECT_EQ(window->SelectedMan, c.expected);
    }
  }
  window->SelectMan(kEmpty);
  std::vector<int> walk;
  for (int i = 0; i < 13; ++i) {
    QTest::keyClick(window->board, Qt::Key_Space);
    walk.push_back(window->SelectedMan);
  }
  EXPECT_EQ(walk, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 0}));
  // Keys typed into other controls are theirs.
  window->SelectMan(kWR);
  QTest::keyClick(window->commenttxt, Qt::Key_Space);
  QTest::keyClick(window->slist, Qt::Key_Escape);
  EXPECT_EQ(window->SelectedMan, kWR);
  EXPECT_EQ(dialogs.beeps, 0);
}

TEST_F(BoardEditorTest, WhileBusyEveryEditInputOnlyBeeps) {
  const std::vector<std::pair<const char *, std::function<void()>>> inputs = {
      {"left press on a square", [&] { ClickSquare(Sq("d4")); }},
      {"right press on a man", [&] { ClickSquare(Sq("e1"), Qt::RightButton); }},
      {"press on the capture mark", [&] { QTest::mouseClick(window->MarkX, Qt::LeftButton); }},
      {"click on a tile", [&] { ChooseMan(kBB); }},
      {"Space on the board", [&] { QTest::keyClick(window->board, Qt::Key_Space); }},
      {"Delete in the piece box", [&] { QTest::keyClick(window->chest, Qt::Key_Delete); }}};
  SetUpBoard("4k3/8/8/8/8/8/8/4K3");
  window->MarkX->tag = Sq("e8");
  ChooseMan(kWR);
  const std::array<int, 64> before = Codes();
  window->Busy = -1;
  for (const auto &[name, input] : inputs) {
    SCOPED_TRACE(name);
    const int beeps = dialogs.beeps;
    input();
    EXPECT_EQ(dialogs.beeps, beeps + 1);
    EXPECT_EQ(Codes(), before);
    EXPECT_EQ(window->SelectedMan, kWR);
  }
  EXPECT_TRUE(dialogs.messages.empty());

  // Called directly, SetMan warns but places all the same.
  window->SetMan(Sq("d4"), kWQ);
  EXPECT_EQ(window->Code(Sq("d4")), kWQ);
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].title, "Quintabell");
  EXPECT_EQ(dialogs.messages[0].text, "I'm busy!");
  EXPECT_EQ(dialogs.messages[0].icon, UserDialogs::Icon::None);
}

TEST_F(BoardEditorTest, ThePenIsTheWindowsPointerAndControlsKeepTheArrow) {
  const auto pen = [this] { return window->centralWidget()->cursor().pixmap().toImage(); };
  const QImage tool = window->imgNoTile->picture().toImage();
  EXPECT_EQ(pen(), tool);
  EXPECT_EQ(window->centralWidget()->cursor().hotSpot(), QPoint(10, 6));
  ChooseMan(kWQ);
  EXPECT_EQ(pen(), TilePicture(kWQ));
  QTest::keyClick(window->board, Qt::Key_B);
  EXPECT_EQ(pen(), TilePicture(kBQ));
  window->SelectMan(13); // out of range: ignored
  EXPECT_EQ(window->SelectedMan, kBQ);
  for (QWidget *control : std::initializer_list<QWidget *>{
           window->matecmd, window->slist->viewport(), window->commenttxt->viewport(),
           window->mdlbl, window->Check1, window->chkCWS}) {
    EXPECT_EQ(control->cursor().shape(), Qt::ArrowCursor) << control->objectName().toStdString();
  }
  QTest::keyClick(window->chest, Qt::Key_Escape);
  EXPECT_EQ(pen(), tool);
}

TEST_F(BoardEditorTest, TheFirstPlacementAfterARunThrowsItsResultsAway) {
  ASSERT_TRUE(SolveProblem(kCaptureInOne, 1));
  ASSERT_TRUE(window->MarkFrom->isVisible());
  ClickSquare(Sq("g8"), Qt::RightButton); // the black king leaves the board
  EXPECT_TRUE(Lines().empty());
  EXPECT_FALSE(window->MarkFrom->isVisible() || window->MarkTo->isVisible() ||
               window->MarkX->isVisible() || window->MarksShown || window->ResultsShown);
  EXPECT_EQ(window->focusWidget(), window->board);

  window->matecmd->click(); // refused: no black king
  ClickSquare(Sq("h8"));
  EXPECT_EQ(Lines(), (std::vector<QString>{">> illegal position"}));

  // With scrambling on the real texts wait in blist; they go as well.
  window->Check1->click();
  ASSERT_TRUE(Solve(window->matecmd));
  ASSERT_FALSE(HiddenLines().empty());
  ClickSquare(Sq("a5"));
  EXPECT_TRUE(Lines().empty());
  EXPECT_TRUE(HiddenLines().empty());
}

using WindowLayoutTest = WindowTest;

// The design: squares of 40 pixels with the men 4 pixels inside, a piece box of 190 by 114.
TEST_F(WindowLayoutTest, AtItsDesignSizeTheWindowKeepsTheDesignsMeasures) {
  EXPECT_EQ(window->SquareSize(), 40);
  EXPECT_EQ(window->board->contentsRect().size(), QSize(352, 352));
  EXPECT_EQ(window->chest->contentsRect().size(), QSize(190, 114));
  for (int n : {Sq("a1"), Sq("a8"), Sq("e4"), Sq("h8")}) {
    EXPECT_EQ(window->feld[n]->geometry(), QRect(20 + 40 * (n / 8), 300 - 40 * (n % 8), 32, 32))
        << n;
  }
  EXPECT_EQ(window->tile[5]->geometry().topLeft() - window->chest->contentsRect().topLeft(),
            QPoint(41, 3));
  EXPECT_EQ(window->imgNoTile->geometry().topLeft() - window->chest->contentsRect().topLeft(),
            QPoint(155, 41));
  EXPECT_EQ(TilePicture(kWK).size(), QSize(32, 32));
}

TEST_F(WindowLayoutTest, WhiteSitsAtTheBottomAndNoControlCoversAnotherAtAnySize) {
  for (const QSize size : {QSize(), QSize(1000, 560), QSize(1260, 980), QSize(700, 900)}) {
    if (size.isValid())
      window->resize(size);
    QCoreApplication::processEvents();
    SCOPED_TRACE(testing::Message() << window->width() << "x" << window->height());
    const QRect inner = window->board->contentsRect();
    for (int n = 0; n < 64; ++n) {
      const QRect square = window->feld[n]->geometry();
      SCOPED_TRACE(n);
      EXPECT_TRUE(inner.contains(square));
      // A rank up is higher on the screen, a file on further right.
      EXPECT_TRUE(n % 8 == 0 || square.bottom() < window->feld[n - 1]->geometry().top());
      EXPECT_TRUE(n < 8 || square.left() > window->feld[n - 8]->geometry().right());
    }
    const QWidget *const controls[] = {
        window->board,  window->chest, window->chkCWS,     window->chkCWL,     window->chkCBS,
        window->chkCBL, window->mdlbl, window->matecmd,    window->defencecmd, window->lblSolution,
        window->Check1, window->slist, window->lblComment, window->commenttxt, window->Info};
    const QRect client = window->centralWidget()->rect();
    for (const QWidget *a : controls) {
      EXPECT_TRUE(client.contains(a->geometry())) << a->objectName().toStdString();
      for (const QWidget *b : controls) {
        EXPECT_TRUE(a == b || !a->geometry().intersects(b->geometry()))
            << a->objectName().toStdString() << " over " << b->objectName().toStdString();
      }
    }
  }
}

// A larger window: larger squares with men drawn for them, not blown up, a larger piece box,
// and the solution list takes most of the height gained.
TEST_F(WindowLayoutTest, ALargerWindowGrowsTheBoardThePieceBoxAndTheSolutionList) {
  SetUpBoard("4k3/8/8/8/8/8/4P3/4K3");
  const auto lines = [this] {
    return window->slist->viewport()->height() / QFontMetrics(window->slist->font()).height();
  };
  EXPECT_LE(lines(), 4);
  window->resize(1260, 980);
  QCoreApplication::processEvents();
  const int square = window->SquareSize();
  EXPECT_GE(square, 80);
  const int man = (32 * square + 20) / 40;
  EXPECT_EQ(window->feld[Sq("e1")]->size(), QSize(man, man));
  EXPECT_EQ(PictureOf(Sq("e1")).size(), QSize(man, man));
  EXPECT_EQ(PictureOf(Sq("e1")), TilePicture(kWK));
  EXPECT_EQ(window->tile[0]->size(), QSize(man, man));
  EXPECT_GE(window->chest->width(), 190 * square / 40);
  EXPECT_GE(lines(), 20);
  // The marks follow the squares.
  window->SelectedLine = QStringLiteral(" e2-e4    ");
  window->ShowMove();
  EXPECT_EQ(window->MarkTo->geometry(), Around(Sq("e4"), Sq("e4"), 2));
}

// Tab goes on to the next control instead of typing a tab over the selected text.
TEST_F(WindowLayoutTest, TabLeavesTheCommentBoxWithItsTextAsItWas) {
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  window->commenttxt->setPlainText(QStringLiteral("Loyd, 1859"));
  window->commenttxt->selectAll();
  window->commenttxt->setFocus();
  QTest::keyClick(window->commenttxt, Qt::Key_Tab);
  EXPECT_EQ(window->commenttxt->toPlainText(), "Loyd, 1859");
  EXPECT_NE(QApplication::focusWidget(), window->commenttxt);
}

// The keys of the menus, the task buttons and the board editor are each one command's.
TEST_F(WindowLayoutTest, NoTwoCommandsShareAKeyAndTheTaskButtonsHaveTheirs) {
  std::map<QString, QString> owners = {
      {"Space", "editor"}, {"Del", "editor"}, {"Esc", "editor"}, {"B", "editor"}, {"W", "editor"}};
  const auto claim = [&](const QKeySequence &keys, const QString &owner) {
    if (keys.isEmpty())
      return;
    const auto [at, fresh] = owners.emplace(keys.toString(), owner);
    EXPECT_TRUE(fresh) << keys.toString().toStdString() << ": " << owner.toStdString() << " and "
                       << at->second.toStdString();
  };
  for (const QAction *action : window->findChildren<QAction *>())
    claim(action->shortcut(), action->objectName());
  for (const QShortcut *shortcut : window->findChildren<QShortcut *>())
    claim(shortcut->key(), QStringLiteral("a task button"));
  EXPECT_EQ(owners.count(QStringLiteral("Ctrl+M")) + owners.count(QStringLiteral("Ctrl+D")), 2u);

  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  for (const auto &[key, button] :
       {std::pair{Qt::Key_M, window->matecmd}, {Qt::Key_D, window->defencecmd}}) {
    QSignalSpy clicks(button, &QPushButton::clicked);
    QTest::keyClick(window.get(), key, Qt::ControlModifier);
    EXPECT_EQ(clicks.count(), 1) << button->text().toStdString();
  }
}

TEST_F(WindowLayoutTest, ActivatingTheWindowGivesTheBoardTheKeyboard) {
  window->slist->setFocus();
  QWidget other;
  other.show();
  other.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  EXPECT_EQ(QApplication::focusWidget(), window->board);
}

using TransformsTest = WindowTest;

TEST_F(TransformsTest, SwitchMirrorsTheRanksAndColoursAndTwiceRestores) {
  const char *const fen = "r3k2r/1p1n4/8/3Pp3/2B5/8/4P1q1/R3K2R";
  SetUpBoard(fen);
  window->mentoggle->trigger();
  EXPECT_EQ(Codes(), Board("r3k2r/4p1Q1/8/2b5/3pP3/8/1P1N4/R3K2R"));
  for (int n = 0; n < 64; ++n)
    EXPECT_EQ(PictureOf(n), TilePicture(window->Code(n))) << n;
  window->mentoggle->trigger();
  EXPECT_EQ(Codes(), Board(fen));
}

// Switch goes straight to the squares, not through a placement: the results, marks and boxes
// stay as they were until the next placement looks at them again.
TEST_F(TransformsTest, SwitchLeavesResultsMarksAndBoxesAloneUntilTheNextPlacement) {
  SetUpBoard(kCaptureInOne);
  window->chkCWL->setChecked(true);
  ASSERT_TRUE(Solve(window->matecmd));
  const std::vector<QString> lines = Lines();
  const QRect from = window->MarkFrom->geometry();
  window->mentoggle->trigger();
  EXPECT_EQ(Lines(), lines);
  EXPECT_TRUE(window->ResultsShown && window->MarksShown && window->MarkX->isVisible());
  EXPECT_EQ(window->MarkFrom->geometry(), from);
  EXPECT_TRUE(window->chkCWL->isVisible() && !window->chkCBL->isVisible());
  ClickSquare(Sq("d4"));
  EXPECT_TRUE(!window->chkCWL->isVisible() && window->chkCBL->isVisible());
  EXPECT_TRUE(window->chkCWL->isChecked());
}

TEST_F(TransformsTest, NewAndClearBoardEmptyTheProblemButKeepDepthAndBoxes) {
  for (QAction *command : {window->mennew, window->menclearboard}) {
    SCOPED_TRACE(command->objectName().toStdString());
    SetUpBoard(kCaptureInOne);
    window->chkCWL->setChecked(true);
    window->commenttxt->setPlainText(QStringLiteral("Two rooks"));
    window->mdscroll->setValue(2);
    ASSERT_TRUE(Solve(window->matecmd));
    ASSERT_TRUE(window->cm->CouplingWhiteLarge() && window->MarkX->isVisible());

    command->trigger();
    EXPECT_EQ(Codes(), (std::array<int, 64>{}));
    for (int n = 0; n < 64; ++n)
      EXPECT_TRUE(PictureOf(n).isNull()) << n;
    EXPECT_TRUE(Lines().empty());
    EXPECT_EQ(window->commenttxt->toPlainText(), "");
    EXPECT_FALSE(window->ResultsShown || window->MarksShown);
    EXPECT_FALSE(window->MarkFrom->isVisible() || window->MarkX->isVisible());
    EXPECT_FALSE(window->cm->CouplingWhiteLarge());
    EXPECT_EQ(window->cm->cmMD(), 3);
    EXPECT_TRUE(window->chkCWL->isChecked() && window->chkCWL->isVisible());
  }
  window->matecmd->click(); // refused, which leaves a line in the list
  window->commenttxt->setPlainText(QStringLiteral("Loyd, 1859"));
  window->menclearcomment->trigger();
  EXPECT_EQ(window->commenttxt->toPlainText(), "");
  EXPECT_EQ(Lines(), (std::vector<QString>{">> illegal position"}));
}

} // namespace
