// Solving runs with the real control: the lines a run lists, the window while it runs, cancelling,
// the depth slider and the options; the solution list with its marks, and scrambling.
#include "tests/app/window_fixture.h"

#include "app/run_texts.h"

#include <QRegularExpression>
#include <chrono>
#include <thread>

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
  EXPECT_EQ(window->focusWidget(), ui->slist);
  EXPECT_EQ(ui->MarkFrom->geometry(), Around(Sq("e8"), Sq("e8"), 2));
  EXPECT_EQ(ui->MarkTo->geometry(), Around(Sq("c7"), Sq("c7"), 2));
  EXPECT_FALSE(ui->MarkX->isVisible());
  EXPECT_EQ(dialogs.beeps, 0);

  Trigger("menstoponfound");
  Trigger("menbeep");
  ASSERT_TRUE(Solve(ui->matecmd));
  EXPECT_EQ(WithoutTimeLine(Lines()), (std::vector<QString>{"Ne8-c7   #", ">> - stopped - "}));
  EXPECT_EQ(dialogs.beeps, 1);
}

// The engine's notices become the window's own lines and beep whatever the option says.
TEST_F(SolvingRunTest, RunsWithoutKeysEndWithNoSolutionAndNoticesBeep) {
  const struct {
    const char *fen;
    int depth;
    bool mate;
    int beeps;
    std::vector<QString> lines;
  } cases[] = {{"4k3/8/8/8/8/8/8/6K1", 1, true, 0, {"No Solution found"}},
               {"4k3/8/8/8/8/8/8/4R1K1", 1, true, 1, {">> CHECKMATE!", "No Solution found"}},
               {"8/8/8/8/8/1q6/8/K6k", 1, true, 1, {">> STALEMATE!", "No Solution found"}},
               {"k3N3/P7/7p/K7/8/8/4P3/8",
                2,
                false,
                0,
                {" h6-h5    ", "Ka8-b7    ", "Ka8xa7    ", ">> 3 Solutions"}}};
  for (const auto &c : cases) {
    SCOPED_TRACE(c.fen);
    dialogs.beeps = 0;
    ASSERT_TRUE(SolveProblem(c.fen, c.depth, c.mate));
    EXPECT_EQ(WithoutTimeLine(Lines()), c.lines);
    EXPECT_EQ(dialogs.beeps, c.beeps);
  }
}

// While a run lasts both task buttons cancel it, and what would change the problem is off. That
// nothing of a cancelled run arrives afterwards is the soak's to show, over many runs.
TEST_F(SolvingRunTest, WhileARunLastsTheButtonsCancelAndTheEditingCommandsAreOff) {
  const char *const off[] = {"mennew", "menopen", "menclearboard", "menstoponfound", "menPasteFen"};
  SetUpProblem(kDeepSix, 6);
  ChooseMan(kWQ);
  ui->matecmd->click();
  QTest::qWait(300);
  ASSERT_EQ(ui->matecmd->text(), "CANCEL") << "the search ended by itself";
  EXPECT_EQ(ui->defencecmd->text(), "CANCEL");
  EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d{1,3}%$")).match(ui->Info->text()).hasMatch())
      << ui->Info->text().toStdString();
  EXPECT_EQ(ui->SelectedMan, kEmpty);
  EXPECT_EQ(window->centralWidget()->cursor().shape(), Qt::BusyCursor);
  for (const char *entry : off)
    EXPECT_FALSE(ui->Menu(entry)->isEnabled()) << entry;
  EXPECT_FALSE(ui->mdscroll->isEnabled());
  EXPECT_TRUE(ui->Menu("menbeep")->isEnabled() && ui->Menu("mentoggle")->isEnabled());

  ui->defencecmd->click();
  EXPECT_FALSE(ui->Busy);
  ASSERT_TRUE(WaitForRunEnd(10));
  const std::vector<QString> lines = WithoutTimeLine(Lines());
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back(), ">> - terminated -");
  EXPECT_TRUE(std::none_of(lines.begin(), lines.end() - 1, IsNotice));
  EXPECT_TRUE(ui->matecmd->text() == "Mate" && ui->defencecmd->text() == "Defend");
  EXPECT_NE(window->centralWidget()->cursor().shape(), Qt::BusyCursor);
  for (const char *entry : off)
    EXPECT_TRUE(ui->Menu(entry)->isEnabled()) << entry;
  EXPECT_TRUE(ui->mdscroll->isEnabled());
  EXPECT_EQ(ui->Info->text(), "");
}

// A search may end by itself just as the user cancels it: its closing events are on their way
// and the control has nothing left to stop. That is a cancel like any other, not an error.
TEST_F(SolvingRunTest, ACancelAsTheSearchEndsByItselfIsAnOrdinaryCancel) {
  SetUpProblem(kTwoKeys, 2);
  ui->matecmd->click();
  // The worker ends while the window's thread sleeps, so that nothing of it is delivered yet.
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  ASSERT_TRUE(ui->Busy);
  ui->matecmd->click();
  ASSERT_TRUE(WaitForRunEnd());
  EXPECT_TRUE(dialogs.messages.empty()) << dialogs.messages.front().text.toStdString();
  EXPECT_EQ(WithoutTimeLine(Lines()), std::vector<QString>{">> - terminated -"});
}

// A control that is still busy with a task of its own refuses the window's.
TEST_F(SolvingRunTest, AStartTheControlRefusesIsClosedAtOnce) {
  SetUpProblem(kDeepSix, 6);
  ASSERT_FALSE(ui->CheckPosition()); // the control gets a search that lasts
  ui->cm.Mate(0);
  ASSERT_EQ(ui->cm.LSuccess(), 1);
  ui->matecmd->click();
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].text, "unable to create Thread");
  EXPECT_FALSE(ui->Busy);
  EXPECT_EQ(ui->matecmd->text(), "Mate");
  EXPECT_EQ(WithoutTimeLine(Lines()), std::vector<QString>{});
  ui->cm.Panic();
}

TEST_F(SolvingRunTest, TheTimeLineWritesDaysHoursAndMinutesFromTheFirstNonZero) {
  const std::pair<long long, const char *> cases[] = {
      {59, "59s"}, {60, "1m 0s"}, {3600, "1h 0m 0s"}, {90061, "1d 1h 1m 1s"}};
  for (const auto &[seconds, text] : cases)
    EXPECT_EQ(ElapsedTimeLine(seconds), QStringLiteral(">> time: ") + text) << seconds;
}

// A drag names the depth as it goes and sets it when the thumb is let go; a new depth clears
// the results of a run, and nothing else.
TEST_F(SolvingRunTest, TheSliderSetsTheDepthAndItsLabelAndClearsTheResultsOfARun) {
  ui->matecmd->click(); // the empty board: an illegal position, not a run
  ui->mdscroll->setValue(2);
  EXPECT_EQ(ui->mdlbl->text(), "mate in 3 moves");
  EXPECT_EQ(ui->cm.cmMD(), 3);
  EXPECT_EQ(Lines(), (std::vector<QString>{">> illegal position"}));
  ui->mdscroll->setSliderDown(true);
  ui->mdscroll->setSliderPosition(0);
  EXPECT_EQ(ui->mdlbl->text(), "mate in 1 moves");
  EXPECT_EQ(ui->cm.cmMD(), 3);
  ui->mdscroll->setSliderDown(false);
  EXPECT_EQ(ui->mdlbl->text(), "mate in 1 move");
  EXPECT_EQ(ui->cm.cmMD(), 1);

  ASSERT_TRUE(SolveProblem(kTwoKeys, 1));
  ui->mdscroll->setValue(2);
  EXPECT_TRUE(Lines().empty());
  EXPECT_FALSE(ui->MarkFrom->isVisible() || ui->MarkTo->isVisible());
  EXPECT_FALSE(ui->MarksShown || ui->ResultsShown);
}

using SolutionListTest = WindowTest;

TEST_F(SolutionListTest, ScramblingHidesTheSolutionsAndClearingBringsThemBack) {
  ASSERT_TRUE(SolveProblem(kTwoKeys, 2));
  const std::vector<QString> lines = Lines();
  ClickLine(2); // a notice shows no move
  EXPECT_EQ(ui->SelectedLine, lines[2]);
  EXPECT_FALSE(ui->MarksShown || ui->MarkFrom->isVisible());
  ClickLine(1); // Ka6-b6
  ASSERT_EQ(ui->MarkFrom->geometry(), Around(Sq("a6"), Sq("a6"), 2));

  ui->Check1->click();
  EXPECT_EQ(Lines(), (std::vector<QString>{"Solution 1", "Solution 2", lines[2], lines[3]}));
  EXPECT_EQ(LinesOf(ui->blist), lines);
  EXPECT_FALSE(ui->MarkFrom->isVisible() || ui->MarksShown);

  ui->Check1->click();
  EXPECT_EQ(Lines(), lines);
  EXPECT_TRUE(LinesOf(ui->blist).empty());
  EXPECT_EQ(ui->MarkFrom->geometry(), Around(Sq("a6"), Sq("a6"), 2));
  EXPECT_EQ(ui->MarkTo->geometry(), Around(Sq("b6"), Sq("b6"), 2));
  EXPECT_TRUE(ui->MarkFrom->isVisible());
}

TEST_F(SolutionListTest, ScramblingDuringARunNumbersThePlaceholdersInArrivalOrder) {
  SetUpProblem(kFourKeys, 2);
  ui->matecmd->click();
  ui->Check1->click(); // the run's lines have not arrived yet
  ASSERT_TRUE(WaitForRunEnd());
  std::vector<QString> lines = Lines();
  ASSERT_EQ(lines.size(), 6u);
  lines.pop_back();
  EXPECT_EQ(lines, (std::vector<QString>{"Solution 1", "Solution 2", "Solution 3", "Solution 4",
                                         ">> 4 Solutions"}));
  EXPECT_EQ(LinesOf(ui->blist),
            (std::vector<QString>{" e2-e4    ", " e2-e3    ", "Ne8-c7   #", "Ka6-b6    "}));

  // Clearing puts back only as many lines as the list holds by then.
  ui->mdscroll->setValue(2);
  ClickSquare(Sq("a8"), Qt::RightButton);
  ui->matecmd->click(); // refused for the missing king: one line
  ui->Check1->click();
  EXPECT_EQ(Lines(), (std::vector<QString>{" e2-e4    "}));

  // Without solutions "No Solution found" stands in the place of one.
  SetUpProblem("4k3/8/8/8/8/8/8/6K1", 1);
  ASSERT_TRUE(Solve(ui->matecmd));
  ui->Check1->click();
  ASSERT_EQ(Lines().size(), 2u);
  EXPECT_EQ(Lines().front(), "Solution 1");
  EXPECT_EQ(LinesOf(ui->blist).front(), "No Solution found");
}

// The king's frame runs 2 pixels outside the pictures, the rook's lies flush with them; the
// rank is that of the side that moved.
TEST_F(SolutionListTest, CastlingIsFramedOnTheRankOfTheSideThatMoved) {
  const struct {
    const char *fen;
    std::array<int, 4> boxes;
    bool mate;
    const char *line, *squares; // king frame first..last, rook frame first..last
  } cases[] = {{"8/8/8/8/8/8/R7/2k1K2R", {1, 0, 0, 0}, true, "  0-0    #", "e1h1f1g1"},
               {"4k2r/8/8/8/8/8/8/4K3", {0, 0, 1, 0}, false, "  0-0     ", "e8h8f8g8"},
               {"8/8/8/8/8/8/R7/R3K1k1", {0, 1, 0, 0}, true, "  0-0-0  #", "a1e1c1d1"}};
  for (const auto &c : cases) {
    SCOPED_TRACE(c.line);
    SetUpBoard(c.fen);
    SetBoxValues(c.boxes);
    ASSERT_TRUE(Solve(c.mate ? ui->matecmd : ui->defencecmd));
    ClickLine(ui->slist->row(ui->slist->findItems(c.line, Qt::MatchExactly).value(0)));
    ASSERT_EQ(ui->SelectedLine, c.line);
    const std::string_view s = c.squares;
    EXPECT_EQ(ui->MarkFrom->geometry(), Around(Sq(s.substr(0, 2)), Sq(s.substr(2, 2)), 2));
    EXPECT_EQ(ui->MarkTo->geometry(), Around(Sq(s.substr(4, 2)), Sq(s.substr(6, 2)), 0));
  }
}

} // namespace
