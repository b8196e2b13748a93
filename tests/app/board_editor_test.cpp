// The window as the user drives it: the mouse on the board, the pen as the pointer, the editor
// keys, undo, the commands that change the whole board, and Tab in the comment.
#include "tests/app/window_fixture.h"

#include <QApplication>

namespace {

using namespace testing_support;
using BoardEditorTest = WindowTest;

// Left puts the pen down, also on a man clicked without moving; right picks a man up into the
// pen, which is the window's pointer, and so does a press on the capture mark, which passes it to
// the square below. A man is carried with the left button to another square, onto a man it takes,
// or off the board to take it away; dropped on the border or on its own square it stays. Every
// change comes back with Ctrl+Z and goes again with Ctrl+Shift+Z; what a change did not touch, the
// comment typed since for one, stays.
TEST_F(BoardEditorTest, EachEditChangesTheBoardAsTheUserMeantAndUndoTakesItBack) {
  const auto drag = [&](QPoint drop) { return [this, drop] { Drag(Sq("e2"), drop); }; };
  const auto press = [&](QWidget *target, Qt::MouseButton button) {
    return [target, button] { QTest::mouseClick(target, button); };
  };
  // What the user does, the board after it (null: as before), the pen after it.
  const std::tuple<const char *, std::function<void()>, const char *, int> cases[] = {
      {"left click", press(ui->feld[Sq("e2")], Qt::LeftButton), "4k3/8/8/8/8/8/4q3/4K3", kBQ},
      {"right click", press(ui->feld[Sq("e2")], Qt::RightButton), "4k3/8/8/8/8/8/8/4K3", kWP},
      {"middle click", press(ui->feld[Sq("e2")], Qt::MiddleButton), nullptr, kBQ},
      {"right press on the X", press(ui->MarkX, Qt::RightButton), "4k3/8/8/8/8/8/8/4K3", kWP},
      {"drag to a square", drag(Centre(Sq("e4"))), "4k3/8/8/8/4P3/8/8/4K3", kBQ},
      {"drag onto a man", drag(Centre(Sq("e8"))), "4P3/8/8/8/8/8/8/4K3", kBQ},
      {"drag off the board", drag(QPoint(-30, 100)), "4k3/8/8/8/8/8/8/4K3", kBQ},
      {"drag onto the border", drag(QPoint(5, 100)), nullptr, kBQ},
      {"drag back home", drag(Centre(Sq("e2")) + QPoint(9, 9)), nullptr, kBQ},
      {"Switch", [&] { Trigger("mentoggle"); }, "4k3/4p3/8/8/8/8/8/4K3", kBQ},
      {"New", [&] { Trigger("mennew"); }, "", kBQ},
      {"Clear Board", [&] { Trigger("menclearboard"); }, "", kBQ}};
  ui->MarkX->tag = Sq("e2"); // as a run that took on e2 left it
  for (const auto &[name, input, after, pen] : cases) {
    SCOPED_TRACE(name);
    SetUpBoard("4k3/8/8/8/8/8/4P3/4K3");
    ui->commenttxt->setPlainText(QStringLiteral("Loyd"));
    ChooseMan(kBQ);
    const std::array<int, 64> before = Codes();
    input();
    EXPECT_EQ(Codes(), after != nullptr ? Board(after) : before);
    EXPECT_EQ(ui->SelectedMan, pen);
    EXPECT_EQ(window->centralWidget()->cursor().pixmap().toImage(), TilePicture(pen));
    ExpectPicturesFollowCodes();
    if (after == nullptr)
      continue;
    const QString comment = ui->commenttxt->toPlainText();
    QTest::keyClick(ui->board, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Codes(), before);
    EXPECT_EQ(ui->commenttxt->toPlainText(), "Loyd");
    ui->commenttxt->setPlainText(QStringLiteral("typed since"));
    QTest::keyClick(ui->board, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Codes(), Board(after));
    EXPECT_EQ(ui->commenttxt->toPlainText(), comment == "Loyd" ? "typed since" : comment);
  }
  // While a search runs an edit only beeps. Afterwards W leaves a white man alone, B turns it
  // black, and Space walks on, on the board, the piece box and the slider alike.
  ui->Busy = -1;
  ClickSquare(Sq("e1"), Qt::RightButton);
  ChooseMan(kWK);
  QTest::keyClick(ui->board, Qt::Key_Space);
  EXPECT_EQ(dialogs.beeps, 3);
  EXPECT_EQ(ui->SelectedMan, kBQ);
  ui->Busy = 0;
  ChooseMan(kWK);
  QTest::keyClick(ui->board, Qt::Key_W);
  EXPECT_EQ(ui->SelectedMan, kWK);
  QTest::keyClick(ui->chest, Qt::Key_B);
  EXPECT_EQ(ui->SelectedMan, kBK);
  QTest::keyClick(ui->mdscroll, Qt::Key_Space);
  EXPECT_EQ(ui->SelectedMan, kEmpty);
}

// The first placement after a run throws its results away. Nothing unsaved goes without a
// question, and No keeps it; Yes empties the problem, results included, but keeps depth and
// boxes. (Clear Board is New under another name.)
TEST_F(BoardEditorTest, NewAsksThenEmptiesTheProblemButKeepsDepthAndBoxes) {
  ASSERT_TRUE(SolveProblem(kCaptureInOne, 1));
  ClickSquare(Sq("g8"), Qt::RightButton);
  EXPECT_FALSE(!Lines().empty() || ui->MarkFrom->isVisible() || ui->ResultsShown);
  Trigger("mennew");
  EXPECT_EQ(dialogs.questions.size(), 1u);
  Trigger("mennew");
  EXPECT_EQ(dialogs.questions.size(), 1u) << "asked with nothing to lose";
  SetBoxValues({0, 1, 0, 0});
  ui->commenttxt->setPlainText(QStringLiteral("Two rooks"));
  ASSERT_TRUE(SolveProblem(kCaptureInOne, 3));
  dialogs.answer = false;
  Trigger("mennew");
  EXPECT_EQ(Codes(), Board(kCaptureInOne));
  dialogs.answer = true;
  Trigger("mennew");
  EXPECT_EQ(Codes(), Board(""));
  EXPECT_TRUE(Lines().empty() && ui->commenttxt->toPlainText().isEmpty());
  EXPECT_FALSE(ui->MarkX->isVisible() || ui->cm.CouplingWhiteLarge());
  EXPECT_EQ(ui->cm.cmMD(), 3);
  EXPECT_EQ(BoxValues(), (std::array<int, 4>{0, 1, 0, 0}));
}

// Tab goes on to the next control instead of typing a tab over the selected text.
TEST_F(BoardEditorTest, TabLeavesTheCommentBoxWithItsTextAsItWas) {
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  ui->commenttxt->setPlainText(QStringLiteral("Loyd, 1859"));
  ui->commenttxt->selectAll();
  ui->commenttxt->setFocus();
  QTest::keyClick(ui->commenttxt, Qt::Key_Tab);
  EXPECT_EQ(ui->commenttxt->toPlainText(), "Loyd, 1859");
  EXPECT_NE(QApplication::focusWidget(), ui->commenttxt);
}

} // namespace
