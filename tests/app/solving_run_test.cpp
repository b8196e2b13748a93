// Solving runs with the real control: the lines a run lists, the window while it runs, cancelling,
// the depth slider and the options; the solution list with its marks, and scrambling.
#include "tests/app/window_fixture.h"

#include "app/run_texts.h"

#include <QRegularExpression>

namespace {

using namespace testing_support;
using SolvingRunTest = WindowTest;

// The lines of the run without its time line, which must be the last.
std::vector<QString> WithoutTimeLine(std::vector<QString> lines) {
  static const QRegularExpression time(QStringLiteral("^>> time: \\d+s$"));
  EXPECT_TRUE(!lines.empty() && time.match(lines.back()).hasMatch());
  if (!lines.empty())
    lines.pop_back();
  return lines;
}

TEST_F(SolvingRunTest, TwoKeysAreListedWithTheirSummaryAndTheFirstIsShown) {
  ASSERT_TRUE(SolveProblem(kTwoKeys, 2));
  EXPECT_EQ(WithoutTimeLine(Lines()),
            (std::vector<QString>{"Ne8-c7   #", "Ka6-b6    ", ">> 2 Solutions"}));
  EXPECT_EQ(window->slist->currentRow(), 0);
  EXPECT_EQ(window->focusWidget(), window->slist);
  EXPECT_EQ(window->MarkFrom->geometry(), Around(Sq("e8"), Sq("e8"), 2));
  EXPECT_EQ(window->MarkTo->geometry(), Around(Sq("c7"), Sq("c7"), 2));
  EXPECT_FALSE(window->MarkX->isVisible());
  EXPECT_EQ(dialogs.beeps, 0);

  window->menstoponfound->trigger();
  window->menbeep->trigger();
  ASSERT_TRUE(Solve(window->matecmd));
  EXPECT_EQ(WithoutTimeLine(Lines()), (std::vector<QString>{"Ne8-c7   #", ">> - stopped - "}));
  EXPECT_EQ(dialogs.beeps, 1);
}

TEST_F(SolvingRunTest, RunsWithoutKeysEndWithNoSolutionAndNoticesBeep) {
  const std::vector<QString> defences = {" h6-h5    ", "Ka8-b7    ", "Ka8xa7    ",
                                         ">> 3 Solutions"};
  const struct {
    const char *fen;
    int depth;
    bool mate;
    int beeps;
    std::vector<QString> lines;
  } cases[] = {{"4k3/8/8/8/8/8/8/6K1", 1, true, 0, {"No Solution found"}},
               {"4k3/8/8/8/8/8/8/4R1K1", 1, true, 1, {">> CHECKMATE!", "No Solution found"}},
               {"8/8/8/8/8/1q6/8/K6k", 1, true, 1, {">> STALEMATE!", "No Solution found"}},
               {"k3N3/P7/1K5p/8/8/8/8/8", 2, false, 0, {"No Solution found"}},
               {"k3N3/P7/7p/K7/8/8/4P3/8", 2, false, 0, defences}};
  for (const auto &c : cases) {
    SCOPED_TRACE(c.fen);
    dialogs.beeps = 0;
    ASSERT_TRUE(SolveProblem(c.fen, c.depth, c.mate));
    EXPECT_EQ(WithoutTimeLine(Lines()), c.lines);
    EXPECT_EQ(dialogs.beeps, c.beeps);
  }
}

// While a run lasts both task buttons cancel it, and what would change the problem is off.
TEST_F(SolvingRunTest, CancelEndsADeepSearchWithoutASummaryAndTheNextRunStarts) {
  QAction *const off[] = {window->mennew, window->menopen, window->menclearboard,
                          window->menstoponfound};
  SetUpBoard(kDeepSix);
  QTest::mouseClick(window->chkCWL, Qt::LeftButton);
  ASSERT_TRUE(window->chkCWL->isChecked());
  window->mdscroll->setValue(5);
  ChooseMan(kWQ);
  window->matecmd->click();
  QTest::qWait(400);
  ASSERT_EQ(window->matecmd->text(), "CANCEL") << "the search ended by itself";
  EXPECT_EQ(window->defencecmd->text(), "CANCEL");
  EXPECT_TRUE(
      QRegularExpression(QStringLiteral("^\\d{1,3}%$")).match(window->Info->text()).hasMatch())
      << window->Info->text().toStdString();
  EXPECT_EQ(window->SelectedMan, kEmpty);
  EXPECT_EQ(window->centralWidget()->cursor().shape(), Qt::BusyCursor);
  for (QAction *item : off)
    EXPECT_FALSE(item->isEnabled()) << item->objectName().toStdString();
  EXPECT_FALSE(window->mdscroll->isEnabled());
  EXPECT_TRUE(window->menbeep->isEnabled() && window->mentoggle->isEnabled());

  window->matecmd->click();
  EXPECT_FALSE(window->Busy);
  ASSERT_TRUE(WaitForRunEnd(10));
  std::vector<QString> lines = WithoutTimeLine(Lines());
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back(), ">> - terminated -");
  for (std::size_t i = 0; i + 1 < lines.size(); ++i)
    EXPECT_FALSE(IsNotice(lines[i])) << i;
  EXPECT_TRUE(window->matecmd->text() == "Mate" && window->defencecmd->text() == "Defend");
  EXPECT_NE(window->centralWidget()->cursor().shape(), Qt::BusyCursor);
  for (QAction *item : off)
    EXPECT_TRUE(item->isEnabled()) << item->objectName().toStdString();
  EXPECT_TRUE(window->mdscroll->isEnabled());
  EXPECT_TRUE(window->cm->CouplingWhiteLarge());
  lines = Lines();
  QTest::qWait(500);
  EXPECT_EQ(Lines(), lines) << "a line of the stopped run arrived late";
  EXPECT_EQ(window->Info->text(), "");

  window->mdscroll->setValue(0);
  window->matecmd->click();
  EXPECT_EQ(window->matecmd->text(), "CANCEL");
  ASSERT_TRUE(WaitForRunEnd());
  EXPECT_EQ(WithoutTimeLine(Lines()), (std::vector<QString>{"No Solution found"}));
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_EQ(dialogs.beeps, 0);
}

// A control that is still busy with a task of its own refuses the window's.
TEST_F(SolvingRunTest, AStartTheControlRefusesIsClosedAtOnce) {
  SetUpProblem(kDeepSix, 6);
  ASSERT_FALSE(window->CheckPosition()); // the control gets a search that lasts
  window->cm->Mate(0);
  ASSERT_EQ(window->cm->LSuccess(), 1);
  window->matecmd->click();
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].title, "Quintabell Error");
  EXPECT_EQ(dialogs.messages[0].text, "unable to create Thread");
  EXPECT_EQ(dialogs.messages[0].icon, UserDialogs::Icon::Critical);
  EXPECT_FALSE(window->Busy);
  EXPECT_EQ(window->matecmd->text(), "Mate");
  EXPECT_EQ(WithoutTimeLine(Lines()), std::vector<QString>{});
  window->cm->Panic();
}

TEST_F(SolvingRunTest, TheTimeLineWritesDaysHoursAndMinutesFromTheFirstNonZero) {
  const long long seconds[] = {0, 59, 60, 3599, 3600, 86400, 90061};
  const char *const texts[] = {"0s",       "59s",         "1m 0s",      "59m 59s",
                               "1h 0m 0s", "1d 0h 0m 0s", "1d 1h 1m 1s"};
  for (int i = 0; i < 7; ++i)
    EXPECT_EQ(ElapsedTimeLine(seconds[i]), QStringLiteral(">> time: ") + texts[i]) << seconds[i];
}

// A drag names the depth as it goes and sets it when the thumb is let go; a new depth clears
// the results of a run, and nothing else.
TEST_F(SolvingRunTest, TheSliderSetsTheDepthAndItsLabelAndClearsTheResultsOfARun) {
  window->matecmd->click(); // the empty board: an illegal position, not a run
  window->mdscroll->setValue(2);
  EXPECT_EQ(window->mdlbl->text(), "mate in 3 moves");
  EXPECT_EQ(window->cm->cmMD(), 3);
  EXPECT_EQ(Lines(), (std::vector<QString>{">> illegal position"}));
  window->mdscroll->setSliderDown(true);
  window->mdscroll->setSliderPosition(0);
  EXPECT_EQ(window->mdlbl->text(), "mate in 1 moves");
  EXPECT_EQ(window->cm->cmMD(), 3);
  window->mdscroll->setSliderDown(false);
  EXPECT_EQ(window->mdlbl->text(), "mate in 1 move");
  EXPECT_EQ(window->cm->cmMD(), 1);

  ASSERT_TRUE(SolveProblem(kTwoKeys, 1));
  window->mdscroll->setValue(2);
  EXPECT_TRUE(Lines().empty());
  EXPECT_FALSE(window->MarkFrom->isVisible() || window->MarkTo->isVisible());
  EXPECT_FALSE(window->MarksShown || window->ResultsShown);
}

using SolutionListTest = WindowTest;

TEST_F(SolutionListTest, ScramblingHidesTheSolutionsAndClearingBringsThemBack) {
  ASSERT_TRUE(SolveProblem(kTwoKeys, 2));
  const std::vector<QString> lines = Lines();
  for (int row : {2, 3}) { // a notice and the time line show no move
    ClickLine(0);
    ClickLine(row);
    EXPECT_EQ(window->SelectedLine, lines[row]);
    EXPECT_FALSE(window->MarksShown || window->MarkFrom->isVisible() ||
                 window->MarkTo->isVisible());
  }
  ClickLine(1); // Ka6-b6
  ASSERT_EQ(window->MarkFrom->geometry(), Around(Sq("a6"), Sq("a6"), 2));

  window->Check1->click();
  EXPECT_EQ(Lines(), (std::vector<QString>{"Solution 1", "Solution 2", lines[2], lines[3]}));
  EXPECT_EQ(HiddenLines(), lines);
  EXPECT_FALSE(window->MarkFrom->isVisible() || window->MarksShown);

  window->Check1->click();
  EXPECT_EQ(Lines(), lines);
  EXPECT_TRUE(HiddenLines().empty());
  EXPECT_TRUE(window->MarkFrom->isVisible());
  EXPECT_EQ(window->MarkFrom->geometry(), Around(Sq("a6"), Sq("a6"), 2));
  EXPECT_EQ(window->MarkTo->geometry(), Around(Sq("b6"), Sq("b6"), 2));
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

  // Clearing puts back only as many lines as the list holds by then.
  window->mdscroll->setValue(2);
  ClickSquare(Sq("a8"), Qt::RightButton);
  window->matecmd->click(); // refused for the missing king: one line
  window->Check1->click();
  EXPECT_EQ(Lines(), (std::vector<QString>{" e2-e4    "}));
  EXPECT_TRUE(HiddenLines().empty());

  // Without solutions "No Solution found" stands in the place of one.
  SetUpBoard("4k3/8/8/8/8/8/8/6K1");
  window->mdscroll->setValue(0);
  ASSERT_TRUE(Solve(window->matecmd));
  window->Check1->click();
  EXPECT_EQ(Lines().front(), "Solution 1");
  EXPECT_EQ(HiddenLines().front(), "No Solution found");
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
    ClickLine(window->slist->row(window->slist->findItems(c.line, Qt::MatchExactly).value(0)));
    ASSERT_EQ(window->SelectedLine, c.line);
    const std::string_view s = c.squares;
    EXPECT_TRUE(window->MarksShown && window->MarkFrom->isVisible() && window->MarkTo->isVisible());
    EXPECT_EQ(window->MarkFrom->geometry(), Around(Sq(s.substr(0, 2)), Sq(s.substr(2, 2)), 2));
    EXPECT_EQ(window->MarkTo->geometry(), Around(Sq(s.substr(4, 2)), Sq(s.substr(6, 2)), 0));
  }
}

} // namespace
