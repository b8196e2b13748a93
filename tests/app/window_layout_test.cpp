// The arrangement of the main window in pixels around the board and the piece box, and its
// menu bar.
#include "tests/app/window_fixture.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

namespace {

using namespace testing_support;
using WindowLayoutTest = WindowTest;

// Right and bottom edges one past the last pixel, as the arrangement counts them.
int Right(const QWidget *w) { return w->x() + w->width(); }
int Bottom(const QWidget *w) { return w->y() + w->height(); }

TEST_F(WindowLayoutTest, BoardBoxesAndStatusLineSitAroundTheBoard) {
  const int m = window->chkCBL->height();
  const QWidget *board = window->board;
  EXPECT_EQ(board->pos(), QPoint(m, m));
  EXPECT_EQ(board->contentsRect().size(), QSize(352, 352));
  for (QCheckBox *box : {window->chkCBL, window->chkCBS, window->chkCWL, window->chkCWS}) {
    EXPECT_EQ(box->size(), QSize(m, m)) << box->objectName().toStdString();
  }
  EXPECT_EQ(window->chkCBL->pos(), QPoint(m, 0));
  EXPECT_EQ(window->chkCBS->pos(), QPoint(Right(board) - m, 0));
  EXPECT_EQ(window->chkCWL->pos(), QPoint(m, Bottom(board)));
  EXPECT_EQ(window->chkCWS->pos(), QPoint(Right(board) - m, Bottom(board)));
  for (QCheckBox *box : {window->chkCWS, window->chkCBS})
    EXPECT_EQ(box->toolTip(), "allow K-side castle");
  for (QCheckBox *box : {window->chkCWL, window->chkCBL})
    EXPECT_EQ(box->toolTip(), "allow Q-side castle");
  EXPECT_EQ(window->Info->y(), Bottom(board));
  EXPECT_EQ(window->Info->geometry().center().x(), board->geometry().center().x());
  EXPECT_TRUE(window->Info->alignment() & Qt::AlignHCenter);

  const QPoint inner = board->contentsRect().topLeft();
  for (int n = 0; n < 64; ++n) {
    EXPECT_EQ(window->feld[n]->geometry(),
              QRect(inner + QPoint(20 + 40 * (n / 8), 300 - 40 * (n % 8)), QSize(32, 32)))
        << n;
  }
}

TEST_F(WindowLayoutTest, ThePieceBoxHoldsTheMenInColumnsOfThree) {
  const int m = window->chkCBL->height();
  const QWidget *chest = window->chest;
  EXPECT_EQ(chest->pos(), QPoint(window->board->width() + 2 * m, 0));
  EXPECT_EQ(chest->contentsRect().size(), QSize(190, 114));
  const QPoint inner = chest->contentsRect().topLeft();
  for (int k = 0; k < 12; ++k) {
    EXPECT_EQ(window->tile[k]->geometry(),
              QRect(inner + QPoint(3 + 38 * (k / 3), 79 - 38 * (k % 3)), QSize(32, 32)))
        << k;
  }
  EXPECT_EQ(window->imgNoTile->pos(), inner + QPoint(155, 41));
}

TEST_F(WindowLayoutTest, TheRightColumnStacksItsControlsTwoPixelsApart) {
  const int m = window->chkCBL->height();
  const int x = window->chest->x();
  const int column = window->chest->width();
  const int bottomLine = window->board->height() + 2 * m + 2;

  const QWidget *label = window->mdlbl;
  EXPECT_EQ(label->geometry(), QRect(x, Bottom(window->chest) + 2, column, label->height()));
  const QWidget *slider = window->mdscroll;
  EXPECT_EQ(QRect(QPoint(slider->x(), slider->y()), QPoint(Right(slider), Bottom(slider))),
            QRect(QPoint(x + 3, slider->y()), QPoint(x + column - 3, Bottom(label) - 3)));
  EXPECT_GT(slider->y(), label->y());

  const int buttonW = column / 2 - 1, buttonH = window->matecmd->height();
  EXPECT_EQ(window->matecmd->geometry(), QRect(x, Bottom(label) + 2, buttonW, buttonH));
  EXPECT_EQ(window->defencecmd->geometry(),
            QRect(x + column - buttonW, Bottom(label) + 2, buttonW, buttonH));

  const QWidget *solutions = window->lblSolution, *check = window->Check1;
  const int rowH = solutions->height();
  EXPECT_EQ(solutions->pos(), QPoint(x, Bottom(window->matecmd) + 2));
  EXPECT_EQ(check->geometry(),
            QRect(x + column - check->width(), solutions->y(), check->width(), rowH));
  EXPECT_EQ(window->lblSolution->text(), "Solution(s):");
  EXPECT_EQ(window->Check1->text(), "scramble");
  EXPECT_EQ(window->Check1->toolTip(), "encrypts all solutions in the list");

  const QWidget *list = window->slist;
  EXPECT_EQ(list->geometry(),
            QRect(x, Bottom(solutions) + 2, column, (bottomLine - Bottom(solutions) - 2) / 3));
  EXPECT_TRUE(window->blist->isHidden());

  EXPECT_EQ(window->lblComment->geometry(), QRect(x, Bottom(list) + 2, column, rowH));
  EXPECT_EQ(window->lblComment->text(), "Comments:");
  const QWidget *comment = window->commenttxt;
  const int commentTop = Bottom(window->lblComment) + 2;
  EXPECT_EQ(comment->geometry(), QRect(x, commentTop, column, bottomLine - rowH - commentTop));

  EXPECT_EQ(window->Teppich->geometry(), QRect(x, 0, column, Bottom(comment)));
  EXPECT_EQ(window->centralWidget()->size(), QSize(x + column + m, bottomLine));
  EXPECT_EQ(window->windowTitle(), "Quintabell 1.5");
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

TEST_F(WindowLayoutTest, TheMenuBarHasEveryItemWithItsCaptionAndShortcut) {
  struct Item {
    QMenu *menu;
    const char *name;
    const char *caption;
    const char *shortcut;
  };
  const Item items[] = {{window->menFile, "mennew", "&New", ""},
                        {window->menFile, "menopen", "&Open", ""},
                        {window->menFile, "menclose", "&Save As ...", ""},
                        {window->menFile, "menPrint", "&Print Board ...", "Ctrl+P"},
                        {window->menFile, "menXportBmp", "&Export Bitmap File ...", "Ctrl+E"},
                        {window->menFile, "menquit", "E&xit Quintabell", ""},
                        {window->menEdit, "menCopy", "&Copy", "Ctrl+C"},
                        {window->menEdit, "menclearboard", "C&lear Board", "Shift+Del"},
                        {window->menEdit, "menclearcomment", "Clear Comment &Text", ""},
                        {window->menEdit, "mentoggle", "&Switch Black && White", ""},
                        {window->menoptions, "menstoponfound", "&Stop on first solution", ""},
                        {window->menoptions, "menbeep", "&Beep when ready", ""},
                        {window->menhelp, "menViewHelp", "&Contents", ""},
                        {window->menhelp, "meninfo", "&Info", ""}};
  std::vector<QString> captions;
  for (const Item &item : items) {
    SCOPED_TRACE(item.name);
    const QAction *action = item.menu->findChild<QAction *>(item.name);
    ASSERT_NE(action, nullptr);
    EXPECT_EQ(action->text(), item.caption);
    EXPECT_EQ(action->shortcut(), QKeySequence(QString::fromLatin1(item.shortcut)));
  }
  for (const QAction *bar : window->menuBar()->actions()) {
    const QMenu *menu = bar->menu();
    captions.push_back(menu->title());
    for (const QAction *action : menu->actions())
      captions.push_back(action->objectName());
  }
  EXPECT_EQ(captions, (std::vector<QString>{"&File",           "mennew",
                                            "menopen",         "menclose",
                                            "menPrint",        "menFileSeperator1",
                                            "menXportBmp",     "menFileSeperator2",
                                            "menquit",         "&Edit",
                                            "menCopy",         "menclearboard",
                                            "menclearcomment", "mentoggle",
                                            "&Options",        "menstoponfound",
                                            "menbeep",         "&Help",
                                            "menViewHelp",     "meninfo"}));
  EXPECT_TRUE(window->menstoponfound->isCheckable() && window->menbeep->isCheckable());
}

} // namespace
