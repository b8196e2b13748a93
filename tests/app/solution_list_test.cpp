// The solution list: the selected line's move shown with the marks, and scrambling, which hides
// the solutions behind numbered placeholders until the box is cleared.
#include "tests/app/window_fixture.h"

#include <QCheckBox>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

namespace {

using namespace testing_support;
using SolutionListTest = WindowTest;

TEST_F(SolutionListTest, ScramblingHidesTheSolutionsAndClearingBringsThemBack) {
  ASSERT_TRUE(SolveProblem(kTwoKeys, 2));
  const std::vector<QString> lines = Lines();
  ClickLine(1); // Ka6-b6
  ASSERT_EQ(window->MarkFrom->geometry(), Around(Sq("a6"), Sq("a6"), 2));

  window->Check1->click();
  EXPECT_EQ(window->Scramble, 1);
  EXPECT_EQ(Lines(), (std::vector<QString>{"Solution 1", "Solution 2", lines[2], lines[3]}));
  EXPECT_EQ(HiddenLines(), lines);
  EXPECT_FALSE(window->MarkFrom->isVisible() || window->MarksShown);

  window->Check1->click();
  EXPECT_EQ(window->Scramble, 0);
  EXPECT_EQ(Lines(), lines);
  EXPECT_TRUE(HiddenLines().empty());
  EXPECT_TRUE(window->MarkFrom->isVisible());
  EXPECT_EQ(window->MarkFrom->geometry(), Around(Sq("a6"), Sq("a6"), 2));
  EXPECT_EQ(window->MarkTo->geometry(), Around(Sq("b6"), Sq("b6"), 2));
}

TEST_F(SolutionListTest, ClearingRestoresOnlyAsManyLinesAsTheListHas) {
  ASSERT_TRUE(SolveProblem(kTwoKeys, 2));
  const std::vector<QString> lines = Lines();
  window->Check1->click();
  window->mdscroll->setValue(2); // clears slist, not blist
  ASSERT_EQ(HiddenLines().size(), 4u);
  ClickSquare(Sq("a8"), Qt::RightButton);
  window->matecmd->click(); // refused for the missing king: one line
  ASSERT_EQ(Lines(), (std::vector<QString>{">> illegal position"}));

  window->Check1->click();
  EXPECT_EQ(Lines(), (std::vector<QString>{lines[0]}));
  EXPECT_TRUE(HiddenLines().empty());
}

TEST_F(SolutionListTest, ScramblingDuringARunNumbersThePlaceholdersInArrivalOrder) {
  SetUpProblem(kFourKeys, 2);
  window->matecmd->click();
  window->Check1->click(); // the run's lines have not arrived yet
  ASSERT_TRUE(WaitForRunEnd());
  std::vector<QString> lines = Lines();
  ASSERT_EQ(lines.size(), 6u);
  lines.pop_back();
  EXPECT_EQ(lines, (std::vector<QString>{"Solution 1", "Solution 2", "Solution 3", "Solution 4",
                                         ">> 4 Solutions"}));
  EXPECT_EQ(HiddenLines(),
            (std::vector<QString>{" e2-e4    ", " e2-e3    ", "Ne8-c7   #", "Ka6-b6    "}));
  EXPECT_FALSE(window->MarksShown);

  // Without solutions "No Solution found" stands in the place of one.
  SetUpBoard("4k3/8/8/8/8/8/8/6K1");
  window->Check1->click();
  window->mdscroll->setValue(0);
  ASSERT_TRUE(Solve(window->matecmd));
  window->Check1->click();
  EXPECT_EQ(Lines().front(), "Solution 1");
  EXPECT_EQ(HiddenLines().front(), "No Solution found");
}

TEST_F(SolutionListTest, AMoveIsFramedOnItsTwoSquaresAndACaptureGetsTheX) {
  ASSERT_TRUE(SolveProblem(kFourKeys, 2));
  ASSERT_EQ(window->SelectedLine, " e2-e4    ");
  EXPECT_TRUE(window->MarkFrom->isVisible() && window->MarkTo->isVisible());
  EXPECT_EQ(window->MarkFrom->geometry(), Around(Sq("e2"), Sq("e2"), 2));
  EXPECT_EQ(window->MarkTo->geometry(), Around(Sq("e4"), Sq("e4"), 2));
  EXPECT_FALSE(window->MarkX->isVisible());

  ASSERT_TRUE(SolveProblem(kCaptureInOne, 1));
  ASSERT_EQ(window->SelectedLine, "Re2xe8   #");
  EXPECT_EQ(window->MarkFrom->geometry(), Around(Sq("e2"), Sq("e2"), 2));
  EXPECT_EQ(window->MarkTo->geometry(), Around(Sq("e8"), Sq("e8"), 2));
  EXPECT_TRUE(window->MarkX->isVisible());
  EXPECT_EQ(window->MarkX->geometry(), window->feld[Sq("e8")]->geometry());
  EXPECT_EQ(window->MarkX->tag, Sq("e8"));
}

// The king's frame runs 2 pixels outside the pictures, the rook's lies flush with them.
TEST_F(SolutionListTest, CastlingIsFramedOnTheRankOfTheSideThatMoved) {
  struct Case {
    const char *fen, *box;
    bool mate;
    const char *line, *squares; // king frame first..last, rook frame first..last
  };
  const Case cases[] = {{"8/8/8/8/8/8/R7/2k1K2R", "chkCWS", true, "  0-0    #", "e1h1f1g1"},
                        {"4k2r/8/8/8/8/8/8/4K3", "chkCBS", false, "  0-0     ", "e8h8f8g8"},
                        {"8/8/8/8/8/8/R7/R3K1k1", "chkCWL", true, "  0-0-0  #", "a1e1c1d1"}};
  for (const Case &c : cases) {
    SCOPED_TRACE(c.line);
    SetUpBoard(c.fen);
    auto *box = window->findChild<QCheckBox *>(c.box);
    ASSERT_TRUE(box->isVisible());
    QTest::mouseClick(box, Qt::LeftButton);
    ASSERT_TRUE(box->isChecked());
    ASSERT_TRUE(Solve(c.mate ? window->matecmd : window->defencecmd));
    ClickLine(RowOf(c.line));
    ASSERT_EQ(window->SelectedLine, c.line);
    const std::string_view s = c.squares;
    EXPECT_TRUE(window->MarksShown && window->MarkFrom->isVisible() && window->MarkTo->isVisible());
    EXPECT_EQ(window->MarkFrom->geometry(), Around(Sq(s.substr(0, 2)), Sq(s.substr(2, 2)), 2));
    EXPECT_EQ(window->MarkTo->geometry(), Around(Sq(s.substr(4, 2)), Sq(s.substr(6, 2)), 0));
    EXPECT_FALSE(window->MarkX->isVisible());
  }
}

TEST_F(SolutionListTest, ANoticeOrTheTimeLineShowsNoMove) {
  ASSERT_TRUE(SolveProblem(kTwoKeys, 2));
  for (int row : {2, 3}) {
    SCOPED_TRACE(row);
    ClickLine(0);
    ASSERT_TRUE(window->MarkFrom->isVisible());
    ClickLine(row);
    EXPECT_EQ(window->SelectedLine, Lines()[row]);
    EXPECT_FALSE(window->MarksShown || window->MarkFrom->isVisible() ||
                 window->MarkTo->isVisible());
  }
}

} // namespace
