// Solving runs with the real control: the lines a run lists, the window's state while it runs,
// cancelling a deep search, the depth slider and the options.
#include "tests/app/window_fixture.h"

#include "app/run_texts.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTest>

namespace {

using namespace testing_support;
using SolvingRunTest = WindowTest;

// A mate in six with White's long castling: far too deep to finish while a test waits.
const char *const kDeepSix = "4k3/1pp2pp1/8/b1B1pB2/rp6/p5N1/3R4/R2bK3";

bool IsTimeLine(const QString &line) {
  static const QRegularExpression pattern(QStringLiteral("^>> time: \\d+s$"));
  return pattern.match(line).hasMatch();
}

// The lines of the run without its time line, which must be the last.
std::vector<QString> WithoutTimeLine(std::vector<QString> lines) {
  EXPECT_TRUE(!lines.empty() && IsTimeLine(lines.back()));
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
  EXPECT_EQ(dialogs.beeps, 0);

  window->menstoponfound->trigger();
  ASSERT_TRUE(window->StopOnFound);
  ASSERT_TRUE(Solve(window->matecmd));
  EXPECT_EQ(WithoutTimeLine(Lines()), (std::vector<QString>{"Ne8-c7   #", ">> - stopped - "}));
}

TEST_F(SolvingRunTest, RunsWithoutKeysEndWithNoSolutionAndNoticesBeep) {
  struct Case {
    const char *name;
    const char *fen;
    int depth;
    bool mate;
    std::vector<QString> lines;
    int beeps;
  };
  const Case cases[] = {{"no mate", "4k3/8/8/8/8/8/8/6K1", 1, true, {"No Solution found"}, 0},
                        {"black in check",
                         "4k3/8/8/8/8/8/8/4R1K1",
                         1,
                         true,
                         {">> CHECKMATE!", "No Solution found"},
                         1},
                        {"white stalemated",
                         "8/8/8/8/8/1q6/8/K6k",
                         1,
                         true,
                         {">> STALEMATE!", "No Solution found"},
                         1},
                        {"defence after the key Ka6-b6",
                         "k3N3/P7/1K5p/8/8/8/8/8",
                         2,
                         false,
                         {"No Solution found"},
                         0},
                        {"defence after Ka6-a5",
                         "k3N3/P7/7p/K7/8/8/4P3/8",
                         2,
                         false,
                         {" h6-h5    ", "Ka8-b7    ", "Ka8xa7    ", ">> 3 Solutions"},
                         0}};
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    dialogs.beeps = 0;
    ASSERT_TRUE(SolveProblem(c.fen, c.depth, c.mate));
    EXPECT_EQ(WithoutTimeLine(Lines()), c.lines);
    EXPECT_EQ(dialogs.beeps, c.beeps);
  }
}

TEST_F(SolvingRunTest, WhileRunningTheButtonsCancelAndTheBoardCommandsAreOff) {
  QAction *const off[] = {window->mennew, window->menopen, window->menclearboard,
                          window->menstoponfound};
  SetUpProblem(kTwoKeys, 2);
  ChooseMan(kWQ);
  window->matecmd->click();
  // The run's events wait in the queue until the loop runs again: this is the middle of it.
  EXPECT_EQ(window->matecmd->text(), "CANCEL");
  EXPECT_EQ(window->defencecmd->text(), "CANCEL");
  EXPECT_EQ(window->Info->text(), "0%");
  EXPECT_EQ(window->SelectedMan, kEmpty);
  EXPECT_EQ(window->centralWidget()->cursor().shape(), Qt::BusyCursor);
  for (QAction *item : off)
    EXPECT_FALSE(item->isEnabled()) << item->objectName().toStdString();
  EXPECT_FALSE(window->mdscroll->isEnabled());
  EXPECT_TRUE(window->menbeep->isEnabled() && window->mentoggle->isEnabled() &&
              window->menclearcomment->isEnabled());

  ASSERT_TRUE(WaitForRunEnd());
  EXPECT_EQ(window->matecmd->text(), "Mate");
  EXPECT_EQ(window->defencecmd->text(), "Defend");
  EXPECT_EQ(window->Info->text(), "");
  EXPECT_EQ(window->centralWidget()->cursor().hotSpot(), QPoint(10, 6));
  for (QAction *item : off)
    EXPECT_TRUE(item->isEnabled()) << item->objectName().toStdString();
  EXPECT_TRUE(window->mdscroll->isEnabled());
}

TEST_F(SolvingRunTest, CancelEndsADeepSearchWithoutASummaryAndTheNextRunStarts) {
  SetUpBoard(kDeepSix);
  QTest::mouseClick(window->chkCWL, Qt::LeftButton);
  ASSERT_TRUE(window->chkCWL->isChecked());
  window->mdscroll->setValue(5);
  window->matecmd->click();
  QTest::qWait(400);
  ASSERT_EQ(window->matecmd->text(), "CANCEL") << "the search ended by itself";
  EXPECT_TRUE(
      QRegularExpression(QStringLiteral("^\\d{1,3}%$")).match(window->Info->text()).hasMatch())
      << window->Info->text().toStdString();

  window->matecmd->click();
  EXPECT_FALSE(window->Busy);
  ASSERT_TRUE(WaitForRunEnd(10));
  std::vector<QString> lines = WithoutTimeLine(Lines());
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back(), ">> - terminated -");
  for (std::size_t i = 0; i + 1 < lines.size(); ++i)
    EXPECT_FALSE(IsNotice(lines[i])) << i;
  EXPECT_EQ(window->matecmd->text(), "Mate");
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
  const long long seconds[] = {0, 5, 59, 60, 125, 3599, 3600, 86400, 90061};
  const char *const texts[] = {"0s",      "5s",       "59s",         "1m 0s",      "2m 5s",
                               "59m 59s", "1h 0m 0s", "1d 0h 0m 0s", "1d 1h 1m 1s"};
  for (int i = 0; i < 9; ++i)
    EXPECT_EQ(ElapsedTimeLine(seconds[i]), QStringLiteral(">> time: ") + texts[i]) << seconds[i];
}

TEST_F(SolvingRunTest, TheSliderSetsTheDepthAndItsLabelWhileDraggedAndAfter) {
  EXPECT_EQ(DepthLabel(0, false), "mate in 1 move");
  EXPECT_EQ(DepthLabel(0, true), "mate in 1 moves");
  EXPECT_EQ(DepthLabel(2, false), "mate in 3 moves");
  EXPECT_EQ(DepthLabel(2, true), "mate in 3 moves");

  EXPECT_EQ(window->mdlbl->text(), "mate in 1 move");
  EXPECT_EQ(window->cm->cmMD(), 1);
  window->mdscroll->setValue(2);
  EXPECT_EQ(window->mdlbl->text(), "mate in 3 moves");
  EXPECT_EQ(window->cm->cmMD(), 3);
  // A drag names the depth as it goes and sets it when the thumb is let go.
  window->mdscroll->setSliderDown(true);
  window->mdscroll->setSliderPosition(0);
  EXPECT_EQ(window->mdlbl->text(), "mate in 1 moves");
  EXPECT_EQ(window->cm->cmMD(), 3);
  window->mdscroll->setSliderDown(false);
  EXPECT_EQ(window->mdlbl->text(), "mate in 1 move");
  EXPECT_EQ(window->cm->cmMD(), 1);
}

TEST_F(SolvingRunTest, ADepthChangeClearsTheResultsOfARunOnly) {
  window->matecmd->click(); // the empty board: an illegal position, not a run
  window->mdscroll->setValue(1);
  EXPECT_EQ(Lines(), (std::vector<QString>{">> illegal position"}));

  ASSERT_TRUE(SolveProblem(kTwoKeys, 1));
  ASSERT_TRUE(window->MarkFrom->isVisible());
  window->mdscroll->setValue(2);
  EXPECT_TRUE(Lines().empty());
  EXPECT_FALSE(window->MarkFrom->isVisible() || window->MarkTo->isVisible());
  EXPECT_FALSE(window->MarksShown || window->ResultsShown);
}

TEST_F(SolvingRunTest, BeepWhenReadySoundsOnceAtTheEndOfARun) {
  window->menbeep->trigger();
  ASSERT_TRUE(window->Beep);
  ASSERT_TRUE(SolveProblem(kTwoKeys, 2));
  QTest::qWait(200);
  EXPECT_EQ(dialogs.beeps, 1);
}

} // namespace
