// Commands that change the whole problem: Switch Black & White, New and Clear Board, and
// Clear Comment Text.
#include "tests/app/window_fixture.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>

namespace {

using namespace testing_support;
using TransformsTest = WindowTest;

TEST_F(TransformsTest, SwitchReversesTheColoursOnTheSameFilesAndTwiceRestores) {
  const std::pair<const char *, const char *> cases[] = {
      {"", ""},
      {"4k3/3p4/8/8/8/8/4P3/4K2R", "4k2r/4p3/8/8/8/8/3P4/4K3"},
      {"r3k2r/1p1n4/8/3Pp3/2B5/8/4P1q1/R3K2R", "r3k2r/4p1Q1/8/2b5/3pP3/8/1P1N4/R3K2R"}};
  for (const auto &[fen, switchedFen] : cases) {
    SCOPED_TRACE(fen);
    SetUpBoard(switchedFen);
    const std::array<int, 64> expected = Codes();
    SetUpBoard(fen);
    const std::array<int, 64> original = Codes();
    window->mentoggle->trigger();
    EXPECT_EQ(Codes(), expected);
    for (int n = 0; n < 64; ++n)
      EXPECT_EQ(PictureOf(n), TilePicture(window->Code(n))) << n;
    window->mentoggle->trigger();
    EXPECT_EQ(Codes(), original);
  }
}

TEST_F(TransformsTest, SwitchLeavesResultsMarksAndBoxesAloneUntilTheNextPlacement) {
  SetUpBoard(kCaptureInOne);
  window->chkCWL->setChecked(true);
  ASSERT_TRUE(Solve(window->matecmd));
  const std::vector<QString> lines = Lines();
  const QRect from = window->MarkFrom->geometry();

  window->mentoggle->trigger();
  EXPECT_EQ(window->Code(Sq("a8")), kBR);
  EXPECT_EQ(window->Code(Sq("e8")), kBK);
  EXPECT_EQ(Lines(), lines);
  EXPECT_TRUE(window->ResultsShown && window->MarksShown);
  EXPECT_TRUE(window->MarkX->isVisible());
  EXPECT_EQ(window->MarkFrom->geometry(), from);
  EXPECT_TRUE(window->chkCWL->isVisible());
  EXPECT_FALSE(window->chkCBL->isVisible());
  EXPECT_TRUE(window->chkCWL->isChecked());
  EXPECT_FALSE(window->chkCBL->isChecked());

  ClickSquare(Sq("d4")); // a placement looks at the boxes again
  EXPECT_FALSE(window->chkCWL->isVisible());
  EXPECT_TRUE(window->chkCBL->isVisible());
}

TEST_F(TransformsTest, NewAndClearBoardEmptyTheProblemButKeepDepthAndBoxes) {
  for (QAction *command : {window->mennew, window->menclearboard}) {
    SCOPED_TRACE(command->objectName().toStdString());
    SetUpBoard(kCaptureInOne);
    window->chkCWL->setChecked(true);
    window->commenttxt->setPlainText(QStringLiteral("Two rooks"));
    window->mdscroll->setValue(2);
    ASSERT_TRUE(Solve(window->matecmd));
    ASSERT_TRUE(window->cm->CouplingWhiteLarge());
    ASSERT_TRUE(window->MarkX->isVisible());

    command->trigger();
    EXPECT_EQ(Codes(), (std::array<int, 64>{}));
    for (int n = 0; n < 64; ++n)
      EXPECT_TRUE(PictureOf(n).isNull()) << n;
    EXPECT_TRUE(Lines().empty());
    EXPECT_EQ(window->commenttxt->toPlainText(), "");
    EXPECT_FALSE(window->ResultsShown || window->MarksShown);
    EXPECT_FALSE(window->MarkFrom->isVisible() || window->MarkX->isVisible());
    EXPECT_FALSE(window->cm->CouplingWhiteLarge());
    EXPECT_EQ(window->mdlbl->text(), "mate in 3 moves");
    EXPECT_EQ(window->cm->cmMD(), 3);
    EXPECT_TRUE(window->chkCWL->isChecked() && window->chkCWL->isVisible());

    dialogs.messages.clear();
    window->matecmd->click();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "Mistake?!: could not find a black king!");
  }
}

TEST_F(TransformsTest, ClearCommentTextEmptiesOnlyTheComment) {
  SetUpBoard("4k3/8/8/8/8/8/8/8");
  window->matecmd->click(); // refused, which leaves a line in the list
  window->commenttxt->setPlainText(QStringLiteral("Loyd, 1859"));
  window->menclearcomment->trigger();
  EXPECT_EQ(window->commenttxt->toPlainText(), "");
  EXPECT_EQ(Lines(), (std::vector<QString>{">> illegal position"}));
  EXPECT_EQ(window->Code(Sq("e8")), kBK);
}

} // namespace
