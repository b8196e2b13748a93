// The window's arrangement at its design size and larger, and its keyboard: the keys of the
// commands and where the focus goes.
#include "tests/app/window_fixture.h"

#include <QApplication>
#include <QShortcut>
#include <QSignalSpy>
#include <map>

namespace {

using namespace testing_support;
using WindowLayoutTest = WindowTest;

// The design: squares of 40 pixels with the men 4 pixels inside, a piece box of 190 by 114.
TEST_F(WindowLayoutTest, AtItsDesignSizeTheWindowKeepsTheDesignsMeasures) {
  EXPECT_EQ(ui->board->contentsRect().size(), QSize(352, 352));
  EXPECT_EQ(ui->chest->contentsRect().size(), QSize(190, 114));
  for (int n : {Sq("a1"), Sq("e4"), Sq("h8")})
    EXPECT_EQ(ui->feld[n]->geometry(), QRect(20 + 40 * (n / 8), 300 - 40 * (n % 8), 32, 32)) << n;
  const QPoint box = ui->chest->contentsRect().topLeft();
  EXPECT_EQ(ui->tile[kWK - 1]->geometry().topLeft() - box, QPoint(41, 3));
  EXPECT_EQ(ui->imgNoTile->geometry().topLeft() - box, QPoint(155, 41));
}

TEST_F(WindowLayoutTest, WhiteSitsAtTheBottomAndNoControlCoversAnotherAtAnySize) {
  for (const QSize size : {QSize(), QSize(1000, 560), QSize(700, 900)}) {
    if (size.isValid())
      window->resize(size);
    QCoreApplication::processEvents();
    SCOPED_TRACE(testing::Message() << window->width() << "x" << window->height());
    for (int n = 0; n < 64; ++n) {
      const QRect square = ui->feld[n]->geometry();
      // A rank up is higher on the screen, a file on further right.
      EXPECT_TRUE(ui->board->contentsRect().contains(square)) << n;
      EXPECT_TRUE(n % 8 == 0 || square.bottom() < ui->feld[n - 1]->geometry().top()) << n;
      EXPECT_TRUE(n < 8 || square.left() > ui->feld[n - 8]->geometry().right()) << n;
    }
    // Every control of the window but the hidden list, the column's background and the slider,
    // which lies inside its label.
    QList<QWidget *> controls =
        window->centralWidget()->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly);
    controls.removeIf([&](const QWidget *w) {
      return w->isHidden() || w == ui->blist || w == ui->mdscroll || w->objectName() == "Teppich";
    });
    for (QCheckBox *box : ui->castlingBoxes)
      controls.append(box);
    const QRect client = window->centralWidget()->rect();
    for (const QWidget *a : controls) {
      EXPECT_TRUE(client.contains(a->geometry())) << a->objectName().toStdString();
      for (const QWidget *b : controls) {
        EXPECT_TRUE(a == b || !a->geometry().intersects(b->geometry()))
            << a->objectName().toStdString() << " over " << b->objectName().toStdString();
      }
    }
  }
}

// A larger window: larger squares with men drawn for them, not blown up, a larger piece box,
// marks that follow, and the solution list takes most of the height gained.
TEST_F(WindowLayoutTest, ALargerWindowGrowsTheBoardThePieceBoxAndTheSolutionList) {
  SetUpBoard("4k3/8/8/8/8/8/4P3/4K3");
  const auto lines = [this] {
    return ui->slist->viewport()->height() / QFontMetrics(ui->slist->font()).height();
  };
  EXPECT_LE(lines(), 4);
  window->resize(1260, 980);
  QCoreApplication::processEvents();
  const int square = ui->SquareSize();
  EXPECT_GE(square, 80);
  const int man = (32 * square + 20) / 40;
  EXPECT_EQ(ui->feld[Sq("e1")]->size(), QSize(man, man));
  EXPECT_EQ(ui->feld[Sq("e1")]->picture().toImage().size(), QSize(man, man));
  ExpectPicturesFollowCodes();
  EXPECT_EQ(ui->tile[0]->size(), QSize(man, man));
  EXPECT_GE(ui->chest->width(), 190 * square / 40);
  EXPECT_GE(lines(), 20);
  ui->SelectedLine = QStringLiteral(" e2-e4    ");
  ui->ShowMove();
  EXPECT_EQ(ui->MarkTo->geometry(), Around(Sq("e4"), Sq("e4"), 2));
}

// Tab goes on to the next control instead of typing a tab over the selected text.
TEST_F(WindowLayoutTest, TabLeavesTheCommentBoxWithItsTextAsItWas) {
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  ui->commenttxt->setPlainText(QStringLiteral("Loyd, 1859"));
  ui->commenttxt->selectAll();
  ui->commenttxt->setFocus();
  QTest::keyClick(ui->commenttxt, Qt::Key_Tab);
  EXPECT_EQ(ui->commenttxt->toPlainText(), "Loyd, 1859");
  EXPECT_NE(QApplication::focusWidget(), ui->commenttxt);
}

// The keys of the menus, the task buttons and the board editor are each one command's.
TEST_F(WindowLayoutTest, NoTwoCommandsShareAKeyAndTheTaskButtonsHaveTheirs) {
  std::map<QString, QString> owners = {
      {"Space", "editor"}, {"Del", "editor"}, {"Esc", "editor"}, {"B", "editor"}, {"W", "editor"}};
  const auto claim = [&](const QKeySequence &keys, const QString &owner) {
    if (keys.isEmpty())
      return;
    const auto [at, fresh] = owners.emplace(keys.toString(), owner);
    EXPECT_TRUE(fresh) << keys.toString().toStdString() << ": " << owner.toStdString() << " and "
                       << at->second.toStdString();
  };
  for (const QAction *action : window->findChildren<QAction *>())
    claim(action->shortcut(), action->objectName());
  for (const QShortcut *shortcut : window->findChildren<QShortcut *>())
    claim(shortcut->key(), QStringLiteral("a task button"));

  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  for (const auto &[key, button] :
       {std::pair{Qt::Key_M, ui->matecmd}, {Qt::Key_D, ui->defencecmd}}) {
    QSignalSpy clicks(button, &QPushButton::clicked);
    QTest::keyClick(window.get(), key, Qt::ControlModifier);
    EXPECT_EQ(clicks.count(), 1) << button->text().toStdString();
  }
}

TEST_F(WindowLayoutTest, ActivatingTheWindowGivesTheBoardTheKeyboard) {
  ui->slist->setFocus();
  QWidget other;
  other.show();
  other.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  EXPECT_EQ(QApplication::focusWidget(), ui->board);
}

} // namespace
