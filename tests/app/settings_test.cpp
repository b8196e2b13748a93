// Start-up and shut-down: defaults, remembered values through a restart, stored values edited by
// hand, a problem file on the command line and the file type.
#include "tests/app/window_fixture.h"

#include "platform/registry.h"

#include <QScreen>
#include <sys/stat.h>

namespace {

using namespace testing_support;

QString Stored(const char *name) {
  return QSettings().value(QStringLiteral("Config/") + name).toString();
}

using SettingsTest = WindowTest;

// Stored as the earlier versions wrote them: flags as -1, boxes as files number them, places in
// twips. The place is the frame's corner with the inner size.
TEST_F(SettingsTest, EveryRememberedValueComesBackAfterARestart) {
  const auto state = [this] {
    return std::tuple(Codes(), ui->commenttxt->toPlainText(), ui->cm.cmMD(), ui->StopOnFound,
                      ui->Beep, ui->Menu("menbeep")->isChecked(), ui->Check1->isChecked(),
                      BoxValues(), ui->LSavePath, window->pos(), window->size());
  };
  // The board, the comment, the slider, stop on the first solution (and no beep) or the reverse,
  // scramble, the boxes CWS, CWL, CBS, CBL, the place.
  const std::tuple<const char *, const char *, int, bool, bool, std::array<int, 4>, QRect> cases[] =
      {{kTwoKeys, "Loyd\nmate", 4, true, true, {0, 1, 2, 1}, {43, 37, 700, 520}},
       {kCaptureInOne, "", 0, false, false, {2, 0, 0, 2}, {40, 300, 0, 0}}};
  for (const auto &[fen, comment, depth, stop, scramble, states, place] : cases) {
    ClearStores();
    StartWindow();
    SetUpBoard(fen);
    ui->commenttxt->setPlainText(comment);
    ui->mdscroll->setValue(depth);
    if (stop) {
      Trigger("menstoponfound");
      Trigger("menbeep");
    }
    ui->Check1->setChecked(scramble);
    SetBoxValues(states);
    ui->LSavePath = QStringLiteral("/srv/problems/");
    window->move(place.topLeft());
    window->resize(place.isEmpty() ? window->size() : place.size());
    QCoreApplication::processEvents();
    const auto before = state();
    Trigger("menquit");
    EXPECT_EQ(Stored("StopOnFound"), stop ? "-1" : "0");
    EXPECT_EQ(Stored("CBS"), QString::number(states[2]));
    EXPECT_EQ(Stored("LastPosX"), QString::number(window->x() * 1440 / window->logicalDpiX()));
    StartWindow();
    EXPECT_EQ(state(), before) << fen;
  }
}

// Values edited by hand must not leave the window in a state it cannot reach itself: they fall
// back to the first start's, the board is placed up to the first value that is no man, a depth
// comes into the slider's range. A place off every screen, as another screen or a garbled value
// leaves it, comes back onto the screen, and what is saved afterwards is a place on it.
TEST_F(SettingsTest, AFirstStartBringsTheDefaultsAndGarbledValuesFallBackToThem) {
  // What is stored (name=value;...), the slider then, the board then.
  const std::tuple<const char *, int, const char *> cases[] = {
      {"", 1, ""},
      {"MaxDepth=abc", 1, ""},
      {"MaxDepth=99", 29, ""},
      {"MaxDepth=-4", 0, ""},
      {"CWS=7", 1, ""},
      {"BoardSetup=6 0 12 13 6 ", 1, "8/8/8/8/8/k7/8/K7"},
      {"BoardSetup=6 0 12 -1 6 ", 1, "8/8/8/8/8/k7/8/K7"},
      {"LastPosX=2147483647;LastPosY=2147483647;LastFrameLeft=4;LastFrameTop=2147483647", 1, ""},
      {"LastPosX=-2147483648;LastPosY=999999;LastFrameLeft=4;LastFrameTop=999999", 1, ""},
      {"LastPosX=12000;LastPosY=-900;LastFrameLeft=4;LastFrameTop=-900", 1, ""}};
  for (const auto &[stored, slider, board] : cases) {
    SCOPED_TRACE(stored);
    ClearStores();
    for (const QString &value : QString::fromLatin1(stored).split(';', Qt::SkipEmptyParts))
      QSettings().setValue("Config/" + value.section('=', 0, 0), value.section('=', 1));
    StartWindow();
    // slider, Beep, StopOnFound, CWS, scramble box
    EXPECT_EQ((std::array<int, 5>{ui->mdscroll->value(), ui->Beep, ui->StopOnFound, BoxValues()[0],
                                  ui->Check1->isChecked()}),
              (std::array<int, 5>{slider, -1, 0, 1, 0}));
    EXPECT_EQ(ui->cm.cmMD(), slider + 1);
    EXPECT_EQ(Codes(), Board(board));
    const QRect screen = window->screen()->availableGeometry();
    EXPECT_TRUE(screen.contains(window->frameGeometry()));
    if (*stored == '\0') {
      EXPECT_EQ(ui->LSavePath, QCoreApplication::applicationDirPath() + "/CMT/");
      EXPECT_LE((window->frameGeometry().center() - screen.center()).manhattanLength(), 4);
    }
    Trigger("menquit");
    EXPECT_EQ(Stored("LastPosX").toInt(), window->x() * 1440 / window->logicalDpiX());
    EXPECT_EQ(Stored("LastPosY").toInt(), window->y() * 1440 / window->logicalDpiX());
  }
}

// A problem file named on the command line comes in over the remembered board. What is said
// about one that cannot be read stands over the window, and a pipe is refused before anything
// waits on it. Every start registers the problem file type and tells the desktop of it.
TEST_F(SettingsTest, AProblemFileOnTheCommandLineComesInOverTheRememberedBoard) {
  const QString folder = Path("My Problems");
  ASSERT_TRUE(QDir().mkpath(folder));
  SetUpBoard(kTwoKeys);
  dialogs.fileAnswers = {folder + QStringLiteral("/MY PROBLEM.CMT")};
  Trigger("menclose");
  SetUpBoard(kCaptureInOne);
  ui->LSavePath = QStringLiteral("/srv/problems/");
  ui->SaveSettings();
  const QString pipe = folder + QStringLiteral("/pipe.cmt");
  ASSERT_EQ(::mkfifo(pipe.toLocal8Bit().constData(), 0600), 0);
  // The command line, whether it is loaded, whether it is refused.
  const std::tuple<QString, bool, bool> cases[] = {
      {QStringLiteral("\"%1/MY PROBLEM.CMT\"").arg(folder), true, false},
      {folder + QStringLiteral("/MY PROBLEM.CM"), false, false},
      {QStringLiteral("\"%1/notes.txt\"").arg(folder), false, false},
      {folder + QStringLiteral("/missing.cmt"), false, true},
      {pipe, false, true}};
  for (const auto &[argument, loaded, refused] : cases) {
    SCOPED_TRACE(argument.toStdString());
    dialogs.messages.clear();
    StartWindow(argument);
    EXPECT_EQ(Codes(), Board(loaded ? kTwoKeys : kCaptureInOne));
    EXPECT_EQ(ui->LSavePath, loaded ? folder + QLatin1Char('/') : "/srv/problems/");
    ASSERT_EQ(dialogs.messages.size(), refused ? 1u : 0u);
    EXPECT_TRUE(!refused || dialogs.messages[0].overTheWindow);
  }
  EXPECT_EQ(platform::Registry().QueryValue(platform::RegistryRoot::ClassesRoot,
                                            "ChessProblem\\shell\\Open\\command", ""),
            "\"" + (ui->AppPath + "quintabell").toStdString() + "\" \"%1\"");
  EXPECT_TRUE(QFileInfo::exists(qEnvironmentVariable("XDG_DATA_HOME") +
                                "/mime/packages/quintabell-chessproblem.xml"));
}

} // namespace
