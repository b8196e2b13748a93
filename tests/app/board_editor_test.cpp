// The board editor as the user drives it: the mouse on squares, the piece box and the capture
// mark, the editor keys, the pen shown as the pointer, and every edit refused while busy.
#include "tests/app/window_fixture.h"

#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <functional>

namespace {

using namespace testing_support;
using BoardEditorTest = WindowTest;

TEST_F(BoardEditorTest, LeftPlacesThePenRightPicksUpOtherButtonsDoNothing) {
  SetUpBoard("4k3/8/8/8/8/8/4P3/4K3");
  Place(kBN, Sq("d8"));
  EXPECT_EQ(window->Code(Sq("d8")), kBN);
  EXPECT_EQ(PictureOf(Sq("d8")), TilePicture(kBN));
  ClickSquare(Sq("e2"), Qt::MiddleButton);
  EXPECT_EQ(window->Code(Sq("e2")), kWP);
  // Picked up, the king leaves its square and stays in the pen for more clicks.
  ClickSquare(Sq("e8"), Qt::RightButton);
  EXPECT_EQ(window->SelectedMan, kBK);
  EXPECT_EQ(window->Code(Sq("e8")), kEmpty);
  EXPECT_TRUE(PictureOf(Sq("e8")).isNull());
  ClickSquare(Sq("d5"));
  ClickSquare(Sq("f5"));
  EXPECT_EQ(window->Code(Sq("d5")), kBK);
  EXPECT_EQ(window->Code(Sq("f5")), kBK);
  // An empty square hands over the empty-square tool, which empties what it clicks.
  ClickSquare(Sq("a3"), Qt::RightButton);
  EXPECT_EQ(window->SelectedMan, kEmpty);
  ClickSquare(Sq("e2"));
  ClickSquare(Sq("a3"));
  EXPECT_EQ(window->Code(Sq("e2")), kEmpty);
  EXPECT_EQ(window->Code(Sq("a3")), kEmpty);
  EXPECT_TRUE(PictureOf(Sq("e2")).isNull());
}

// After the run the X lies over the knight on e8; a press on it goes to the square below.
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
    ASSERT_TRUE(window->MarkX->isVisible());
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
  const Case cases[] = {
      {kEmpty, space, none, kWP},  {kBQ, space, none, kBK},  {kBK, space, none, kEmpty},
      {kEmpty, space, shift, kBK}, {kWP, space, shift, 0},   {kWQ, space, ctrl, kWB},
      {kEmpty, space, alt, kBK},   {kBP, del, none, kEmpty}, {kBK, esc, none, kEmpty},
      {kWR, b, none, kBR},         {kWK, b, none, kBK},      {kEmpty, b, none, kEmpty},
      {kBB, b, none, kBB},         {kBP, w, none, kWP},      {kBK, w, none, kWK},
      {kEmpty, w, none, kEmpty},   {kWB, w, none, kWB},      {kWN, a, none, kWN},
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
      {"click on the empty-square tool", [&] { ChooseMan(kEmpty); }},
      {"Space on the board", [&] { QTest::keyClick(window->board, Qt::Key_Space); }},
      {"B on the board", [&] { QTest::keyClick(window->board, Qt::Key_B); }},
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
  const QWidget *client = window->centralWidget();
  const QImage tool = window->imgNoTile->picture().toImage();
  EXPECT_EQ(client->cursor().hotSpot(), QPoint(10, 6));
  EXPECT_EQ(client->cursor().pixmap().toImage(), tool);
  ChooseMan(kWQ);
  EXPECT_EQ(client->cursor().pixmap().toImage(), TilePicture(kWQ));
  QTest::keyClick(window->board, Qt::Key_B);
  EXPECT_EQ(client->cursor().pixmap().toImage(), TilePicture(kBQ));
  window->SelectMan(13); // out of range: ignored
  EXPECT_EQ(window->SelectedMan, kBQ);
  for (QWidget *control : std::initializer_list<QWidget *>{
           window->matecmd, window->defencecmd, window->slist, window->slist->viewport(),
           window->commenttxt, window->commenttxt->viewport(), window->mdlbl, window->Info,
           window->lblSolution, window->lblComment, window->Check1, window->chkCWS,
           window->chkCBL}) {
    const QString name = control->parentWidget()->objectName() + '/' + control->objectName();
    EXPECT_EQ(control->cursor().shape(), Qt::ArrowCursor) << name.toStdString();
  }
  QTest::keyClick(window->chest, Qt::Key_Escape);
  EXPECT_EQ(client->cursor().hotSpot(), QPoint(10, 6));
  EXPECT_EQ(client->cursor().pixmap().toImage(), tool);
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

} // namespace
