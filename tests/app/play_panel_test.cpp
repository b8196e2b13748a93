// Show Play: the key's play from the real control in its panel, the window busy while it is
// worked out, cancelling, and the scramble option.
#include "tests/app/window_fixture.h"

#include "app/play_panel.h"

#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

namespace {

using namespace testing_support;

class PlayPanelTest : public WindowTest {
protected:
  // Opens an example problem from the program's folder, solves it and selects the first line.
  void SolveExample(const char *file) {
    Open(file);
    ui->matecmd->click();
    ASSERT_TRUE(WaitForRunEnd());
    ClickLine(0);
  }
  QTreeWidget *Tree() const { return ui->playPanel->findChild<QTreeWidget *>(); }
  QString Status() const { return ui->playPanel->findChild<QLabel *>("status")->text(); }
  // Every item, two blanks further in for each level, "-" before a folded one.
  std::vector<QString> Items() const {
    std::vector<QString> items;
    for (QTreeWidgetItemIterator it(Tree()); *it; ++it) {
      QString in = (*it)->childCount() > 0 && !(*it)->isExpanded() ? "-" : "";
      for (const QTreeWidgetItem *up = (*it)->parent(); up != nullptr; up = up->parent())
        in.prepend("  ");
      items.push_back(in + (*it)->text(0));
    }
    return items;
  }
  QTreeWidgetItem *Item(const char *text) const {
    return Tree()->findItems(text, Qt::MatchExactly | Qt::MatchRecursive).value(0);
  }
};

TEST_F(PlayPanelTest, ShowPlayListsTheKeysPrintedPlayAndFramesTheMoveChosen) {
  SolveExample("Karge-mate-in-3.cmt");
  const std::vector<QString> lines = Lines();
  Trigger("menShowPlay");
  ASSERT_NE(ui->playPanel, nullptr);
  EXPECT_TRUE(ui->playPanel->isVisible() && ui->playPanel->isWindow());
  EXPECT_EQ(ui->matecmd->text(), "CANCEL") << "the window is not busy while the play runs";
  ASSERT_TRUE(QTest::qWaitFor([&] { return !ui->Busy; }, 30000));
  EXPECT_EQ(Items(), (std::vector<QString>{
                         "1.Qf8-e7 !", "  threat:", "    2.Ra1-a3 (dual)", "      2...Ke5xe4",
                         "        3.Qe7xe6 #", "    2.Rh1-h3 (dual)", "      2...Ke5xe4",
                         "        3.Qe7xe6 #", "  1...Ke5xe4", "    2.Qe7xe6 +", "      2...Ke4-f3",
                         "        3.0-0 #", "      2...Ke4-d3", "        3.0-0-0 #"}));
  EXPECT_EQ(Status(), "");
  EXPECT_EQ(Lines(), lines);
  EXPECT_EQ(ui->matecmd->text(), "Mate");

  // A Black move and a castling deep in the play are framed as the list frames its lines; the
  // X lies only on a man the move takes.
  // The item, the squares of the two frames, the second frame's margin, the X shown.
  const std::tuple<const char *, const char *, const char *, int, bool> framed[] = {
      {"2...Ke4-d3", "e4", "d3", 2, false},
      {"3.0-0-0 #", "a1e1", "c1d1", 0, false},
      {"2.Qe7xe6 +", "e7", "e6", 2, true},
      {"1...Ke5xe4", "e5", "e4", 2, true}};
  for (const auto &[item, from, to, margin, taken] : framed) {
    Tree()->setCurrentItem(Item(item));
    EXPECT_EQ(ui->MarkFrom->geometry(), Around(from, 2)) << item;
    EXPECT_EQ(ui->MarkTo->geometry(), Around(to, margin)) << item;
    EXPECT_EQ(ui->MarkX->isVisible(), taken) << item;
  }
  Tree()->setCurrentItem(Item("threat:"));
  EXPECT_FALSE(ui->MarkFrom->isVisible() || ui->MarksShown);
}

// While scrambled the panel names no key and shows no move; a Black move the threat answers is
// marked and folded.
TEST_F(PlayPanelTest, ADoubleClickOnAKeyOpensItsPlayWhichHidesWhileScrambled) {
  SolveExample("Schoepfer-mate-in-2.cmt");
  ui->Check1->click();
  QTest::mouseDClick(ui->slist->viewport(), Qt::LeftButton, {},
                     ui->slist->visualItemRect(ui->slist->item(0)).center());
  ASSERT_NE(ui->playPanel, nullptr);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !ui->Busy; }, 30000));
  EXPECT_EQ(Tree()->topLevelItemCount(), 0);
  EXPECT_FALSE(ui->playPanel->windowTitle().contains("Qa7"));
  EXPECT_FALSE(ui->MarksShown) << "a move shown while scrambled";

  ui->Check1->click();
  EXPECT_EQ(ui->playPanel->windowTitle(), "Play of Qa7-f2");
  EXPECT_EQ(Items(),
            (std::vector<QString>{"1.Qa7-f2 !", "  threat:", "    2.0-0 #",
                                  "  -1...Kc1-b1 (answered by the threat)", "    2.0-0 #"}));
}

// The first key of the four-mover at depth 6, found in a moment; its play takes seconds.
TEST_F(PlayPanelTest, CancelStopsThePlayAndNothingOfItArrivesAfterwards) {
  Trigger("menstoponfound");
  SetUpBoard("3b4/8/8/8/1p1P1p1p/5P1p/8/RRBNK1k1");
  ui->mdscroll->setValue(5);
  ui->matecmd->click();
  ASSERT_TRUE(WaitForRunEnd());
  ClickLine(0);
  const std::vector<QString> lines = Lines();
  const std::pair<const char *, std::function<void()>> cancels[] = {
      {"the panel's Cancel", [&] { ui->playPanel->findChild<QPushButton *>("cancel")->click(); }},
      {"the Defend button", [&] { ui->defencecmd->click(); }},
      {"closing the panel", [&] { ui->playPanel->close(); }}};
  for (const auto &[name, cancel] : cancels) {
    SCOPED_TRACE(name);
    Trigger("menShowPlay");
    QTest::qWait(200);
    ASSERT_TRUE(ui->Busy && ui->defencecmd->text() == "CANCEL");
    EXPECT_FALSE(ui->Menu("menPasteFen")->isEnabled());
    cancel();
    EXPECT_FALSE(ui->Busy);
    EXPECT_EQ(ui->defencecmd->text(), "Defend");
    QTest::qWait(300);
    EXPECT_EQ(Tree()->topLevelItemCount(), 0);
    EXPECT_EQ(Status(), "Cancelled.");
    EXPECT_EQ(Lines(), lines);
  }
  EXPECT_TRUE(dialogs.messages.empty());
  ui->cm.Mate(0); // the control is free again
  EXPECT_EQ(ui->cm.LSuccess(), 1);
  ui->cm.Panic();
}

} // namespace
