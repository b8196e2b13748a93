// What survives from one run to the next: the defaults of a first start, every remembered value
// through a shut-down and a new start, and stored values that were edited by hand.
#include "tests/app/window_fixture.h"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollBar>
#include <QSettings>
#include <functional>

namespace {

using namespace testing_support;

void Store(const QString &name, const QString &value) {
  QSettings settings;
  settings.setValue(QStringLiteral("Config/") + name, value);
  settings.sync();
}

QString Stored(const QString &name) {
  return QSettings().value(QStringLiteral("Config/") + name).toString();
}

using SettingsTest = WindowTest;

TEST_F(SettingsTest, AFirstStartBringsTheDefaults) {
  StartWindow();
  const QString appPath = QCoreApplication::applicationDirPath() + QLatin1Char('/');
  EXPECT_EQ(window->AppPath, appPath);
  EXPECT_EQ(window->HelpFile, appPath + "Quintabell.hlp");
  EXPECT_EQ(window->LSavePath, appPath + "CMT/");
  EXPECT_EQ(window->windowTitle(), "Quintabell 1.5");
  EXPECT_EQ(window->mdscroll->value(), 1);
  EXPECT_EQ(window->mdlbl->text(), "mate in 2 moves");
  EXPECT_EQ(window->cm->cmMD(), 2);
  EXPECT_EQ(window->StopOnFound, 0);
  EXPECT_FALSE(window->menstoponfound->isChecked());
  EXPECT_NE(window->Beep, 0);
  EXPECT_TRUE(window->menbeep->isChecked());
  EXPECT_EQ(BoxValues(), (std::array<int, 4>{1, 1, 1, 1}));
  EXPECT_FALSE(window->Check1->isChecked());
  EXPECT_EQ(window->Scramble, 0);
  EXPECT_EQ(Codes(), (std::array<int, 64>{}));
  EXPECT_EQ(window->commenttxt->toPlainText(), "");
  EXPECT_EQ(window->BoardSetupText(), QStringLiteral("0 ").repeated(64));

  const QPoint screenCentre = window->screen()->availableGeometry().center();
  const QPoint centre = window->frameGeometry().center();
  EXPECT_LE(std::abs(centre.x() - screenCentre.x()), 2) << centre.x();
  EXPECT_LE(std::abs(centre.y() - screenCentre.y()), 2) << centre.y();
}

TEST_F(SettingsTest, EveryRememberedValueComesBackAfterARestart) {
  const struct {
    const char *fen;
    QString comment;
    int depth;
    bool stopOnFound, beep, scramble;
    std::array<int, 4> states; // CWS, CWL, CBS, CBL
    QPoint position;
  } cases[] = {
      {"r3k2r/8/8/8/8/8/8/R3K2R", "Rooks\nmate", 4, true, false, true, {0, 1, 2, 1}, {123, 87}},
      {kCaptureInOne, "", 0, false, true, false, {2, 0, 0, 2}, {40, 300}},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.fen);
    StartWindow();
    SetUpBoard(c.fen);
    const std::array<int, 64> board = Codes();
    window->commenttxt->setPlainText(c.comment);
    window->mdscroll->setValue(c.depth);
    if (c.stopOnFound != window->menstoponfound->isChecked())
      window->menstoponfound->trigger();
    if (c.beep != window->menbeep->isChecked())
      window->menbeep->trigger();
    window->Check1->setChecked(c.scramble);
    SetBoxValues(c.states);
    window->LSavePath = QStringLiteral("/srv/problems/");
    window->move(c.position);
    QCoreApplication::processEvents();
    const QPoint position = window->pos();
    const int dpi = window->logicalDpiX();

    window->menquit->trigger();
    EXPECT_EQ(Stored("MaxDepth"), QString::number(c.depth));
    EXPECT_EQ(Stored("StopOnFound"), c.stopOnFound ? "-1" : "0");
    EXPECT_EQ(Stored("Beep"), c.beep ? "-1" : "0");
    EXPECT_EQ(Stored("Scramble"), c.scramble ? "1" : "0");
    EXPECT_EQ(Stored("CWS"), QString::number(c.states[0]));
    EXPECT_EQ(Stored("CWL"), QString::number(c.states[1]));
    EXPECT_EQ(Stored("CBS"), QString::number(c.states[2]));
    EXPECT_EQ(Stored("CBL"), QString::number(c.states[3]));
    EXPECT_EQ(Stored("CommentText"), c.comment);
    EXPECT_EQ(Stored("LSavePath"), "/srv/problems/");
    QString setup;
    for (int code : board)
      setup += QString::number(code) + QLatin1Char(' ');
    EXPECT_EQ(Stored("BoardSetup"), setup);
    EXPECT_EQ(Stored("LastPosX"), QString::number(position.x() * 1440 / dpi));
    EXPECT_EQ(Stored("LastPosY"), QString::number(position.y() * 1440 / dpi));

    StartWindow();
    EXPECT_EQ(Codes(), board);
    EXPECT_EQ(window->commenttxt->toPlainText(), c.comment);
    EXPECT_EQ(window->mdscroll->value(), c.depth);
    EXPECT_EQ(window->cm->cmMD(), c.depth + 1);
    EXPECT_EQ(window->StopOnFound, c.stopOnFound ? -1 : 0);
    EXPECT_EQ(window->menstoponfound->isChecked(), c.stopOnFound);
    EXPECT_EQ(window->Beep, c.beep ? -1 : 0);
    EXPECT_EQ(window->menbeep->isChecked(), c.beep);
    EXPECT_EQ(window->Check1->isChecked(), c.scramble);
    EXPECT_EQ(window->Scramble, c.scramble ? 1 : 0);
    EXPECT_EQ(BoxValues(), c.states);
    EXPECT_EQ(window->LSavePath, "/srv/problems/");
    EXPECT_LE((window->pos() - position).manhattanLength(), 1) << window->x() << "," << window->y();
    ClearStores();
  }
}

// Values edited by hand must not leave the window in a state it cannot reach itself.
TEST_F(SettingsTest, StoredNumbersAreClampedOrFallBackToTheirDefaultsWhenGarbled) {
  StartWindow();
  const int centredX = window->x();
  using Read = std::function<int(const chessfrm &)>;
  const Read depth = [](const chessfrm &w) { return w.mdscroll->value(); };
  const Read solverDepth = [](const chessfrm &w) { return int{w.cm->cmMD()}; };
  const Read beep = [](const chessfrm &w) { return int{w.Beep}; };
  const Read stop = [](const chessfrm &w) { return int{w.StopOnFound}; };
  const Read cws = [this](const chessfrm &) { return BoxValues()[0]; };
  const Read cbl = [this](const chessfrm &) { return BoxValues()[3]; };
  const Read scramble = [](const chessfrm &w) { return int{w.Check1->isChecked()}; };
  const Read left = [](const chessfrm &w) { return w.x(); };
  const struct {
    const char *name;
    const char *stored;
    Read read;
    int expected;
  } cases[] = {
      {"MaxDepth", "5", depth, 5},
      {"MaxDepth", "5", solverDepth, 6},
      {"MaxDepth", "abc", depth, 1},
      {"MaxDepth", "", depth, 1},
      {"MaxDepth", "99", depth, 29},
      {"MaxDepth", "99", solverDepth, 30},
      {"MaxDepth", "-4", depth, 0},
      {"MaxDepth", "-4", solverDepth, 1},
      {"Beep", "abc", beep, -1},
      {"Beep", "", beep, -1},
      {"StopOnFound", "x", stop, 0},
      {"CWS", "x", cws, 1},
      {"CWS", "7", cws, 1},
      {"CBL", "", cbl, 1},
      {"Scramble", "abc", scramble, 0},
      {"LastPosX", "abc", left, centredX},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(testing::Message() << c.name << "=\"" << c.stored << "\"");
    ClearStores();
    Store(QString::fromLatin1(c.name), QString::fromLatin1(c.stored));
    StartWindow();
    EXPECT_EQ(c.read(*window), c.expected);
  }
}

TEST_F(SettingsTest, BoardSetupPlacesSquaresInTurnUntilTheFirstBadValue) {
  // At start-up the board is emptied before the stored one comes in.
  Store(QStringLiteral("BoardSetup"), QStringLiteral("6 0 12 "));
  StartWindow();
  std::array<int, 64> expected{kWK, kEmpty, kBK};
  EXPECT_EQ(Codes(), expected);

  const struct {
    QString text;
    int squares; // how many of the values 6, 0, 12, 3 land on squares 0, 1, 2, ...
  } cases[] = {
      {"6 0 12 3 ", 4}, {"6 x 12 ", 1}, {"6 13 12 ", 1}, {"6 -1 12 ", 1},
      {"6 0 12", 2},    {"", 0},        {" 6 0 ", 0},    {"6 0 12 3.5 ", 3},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.text.toStdString());
    expected = {kWK, kEmpty, kBK, kWN};
    for (int n = c.squares; n < 64; ++n)
      expected[n] = kWP; // squares after the last one set keep what they held
    for (int n = 0; n < 64; ++n)
      window->SetMan(n, kWP);
    window->ApplyBoardSetup(c.text);
    EXPECT_EQ(Codes(), expected);
  }
  window->ApplyBoardSetup(QStringLiteral("5 ").repeated(65));
  expected.fill(kWQ);
  EXPECT_EQ(Codes(), expected);
}

} // namespace
