// Solving runs with the real control: the check of the position, the lines a run lists, the
// options, the first line's move, and a cancel as the search ends. Which fault a position has is
// the problem library's to test; the window while it runs is the play panel's and the soak's.
#include "tests/app/window_fixture.h"

#include "app/run_texts.h"
#include "problem/position_check.h"

#include <QRegularExpression>
#include <chrono>
#include <thread>

namespace {

using namespace testing_support;
using SolvingRunTest = WindowTest;

// The lines of the run without its time line, which must be the last.
std::vector<QString> WithoutTimeLine(std::vector<QString> lines) {
  EXPECT_TRUE(!lines.empty() &&
              QRegularExpression("^>> time: \\d+s$").match(lines.back()).hasMatch());
  if (!lines.empty())
    lines.pop_back();
  return lines;
}

// An illegal position is refused with its fault. The engine's notices become the window's own
// lines and beep whatever the option says; the options stop at the first solution and beep at
// the end. The castling boxes grant their rights. The first line's move is shown.
TEST_F(SolvingRunTest, ARunListsItsSolutionsNoticesAndSummary) {
  SetUpBoard("4k3/8/8/8/8/8/8/4K2p");
  ui->defencecmd->click();
  EXPECT_EQ(Lines(), std::vector<QString>{">> illegal position"});
  EXPECT_EQ(dialogs.messages.at(0).text, QString::fromLatin1(problem::kPawnOnBaseLine.data()));
  const char *defend = "k3N3/P7/7p/K7/8/8/4P3/8"; // Black to move: its defences are listed
  // The board, the depth, Mate or Defend, the options on, the beeps, the lines.
  const std::tuple<const char *, int, bool, bool, int, std::vector<QString>> cases[] = {
      {kTwoKeys, 2, true, false, 0, {"Ne8-c7   #", "Ka6-b6    ", ">> 2 Solutions"}},
      {kTwoKeys, 2, true, true, 1, {"Ne8-c7   #", ">> - stopped - "}},
      {"4k3/8/8/8/8/8/8/6K1", 1, true, false, 0, {"No Solution found"}},
      {"4k3/8/8/8/8/8/8/4R1K1", 1, true, false, 1, {">> CHECKMATE!", "No Solution found"}},
      {"8/8/8/8/8/1q6/8/K6k", 1, true, false, 1, {">> STALEMATE!", "No Solution found"}},
      {defend, 2, false, false, 0, {" h6-h5    ", "Ka8-b7    ", "Ka8xa7    ", ">> 3 Solutions"}}};
  for (const auto &[fen, depth, mate, options, beeps, lines] : cases) {
    SCOPED_TRACE(fen);
    dialogs.beeps = 0;
    if (options != (ui->StopOnFound != 0)) {
      Trigger("menstoponfound");
      Trigger("menbeep");
    }
    ASSERT_TRUE(SolveProblem(fen, depth, mate));
    EXPECT_EQ(WithoutTimeLine(Lines()), lines);
    EXPECT_EQ(dialogs.beeps, beeps);
  }
  // Only a ticked box grants its right; a grayed one is the user's "undecided". 0-0 mates here.
  for (const int box : {2, 1}) {
    SetBoxValues({box, 0, 0, 0});
    ASSERT_TRUE(SolveProblem("8/8/8/8/8/8/R7/2k1K2R", 1));
    EXPECT_EQ(Lines().at(2) == "  0-0    #", box == 1) << Lines().at(2).toStdString();
  }
  ASSERT_TRUE(SolveProblem(kTwoKeys, 2));
  EXPECT_EQ(window->focusWidget(), ui->slist);
  EXPECT_EQ(ui->MarkFrom->geometry(), Around("e8", 2));
  EXPECT_EQ(ui->MarkTo->geometry(), Around("c7", 2));
  EXPECT_EQ(ElapsedTimeLine(90061), ">> time: 1d 1h 1m 1s");
  EXPECT_EQ(ElapsedTimeLine(3600), ">> time: 1h 0m 0s");
  EXPECT_EQ(ElapsedTimeLine(60), ">> time: 1m 0s");
}

// A search may end by itself just as the user cancels it: its closing events are on their way
// and the control has nothing left to stop. That is a cancel like any other, not an error.
TEST_F(SolvingRunTest, ACancelAsTheSearchEndsByItselfIsAnOrdinaryCancel) {
  SetUpBoard(kTwoKeys);
  ui->mdscroll->setValue(1);
  ui->matecmd->click();
  // The worker ends while the window's thread sleeps, so that nothing of it is delivered yet.
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  ui->matecmd->click();
  ASSERT_TRUE(WaitForRunEnd());
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_EQ(WithoutTimeLine(Lines()), std::vector<QString>{">> - terminated -"});
}

} // namespace
