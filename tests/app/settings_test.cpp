// Start-up and shut-down: defaults, remembered values through a restart, stored values edited by
// hand, a problem file on the command line, the file type, and a search stopped at the end.
#include "tests/app/window_fixture.h"

#include "platform/registry.h"

#include <QCoreApplication>
#include <QScreen>
#include <climits>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using namespace testing_support;

void Store(const QString &name, const QString &value) {
  QSettings().setValue(QStringLiteral("Config/") + name, value);
}

QString Stored(const QString &name) {
  return QSettings().value(QStringLiteral("Config/") + name).toString();
}

using SettingsTest = WindowTest;

TEST_F(SettingsTest, EveryRememberedValueComesBackAfterARestart) {
  const struct {
    const char *fen;
    QString comment;
    int depth;
    bool stopOnFound, beep, scramble;
    std::array<int, 4> states; // CWS, CWL, CBS, CBL
    QPoint position;
    QSize size; // invalid: the design's
  } cases[] = {
      {kTwoKeys, "Loyd\nmate", 4, true, false, true, {0, 1, 2, 1}, {43, 37}, {700, 520}},
      {kCaptureInOne, "", 0, false, true, false, {2, 0, 0, 2}, {40, 300}, {}},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.fen);
    StartWindow();
    SetUpBoard(c.fen);
    ui->commenttxt->setPlainText(c.comment);
    ui->mdscroll->setValue(c.depth);
    if (c.stopOnFound != ui->Menu("menstoponfound")->isChecked())
      Trigger("menstoponfound");
    if (c.beep != ui->Menu("menbeep")->isChecked())
      Trigger("menbeep");
    ui->Check1->setChecked(c.scramble);
    SetBoxValues(c.states);
    ui->LSavePath = QStringLiteral("/srv/problems/");
    window->move(c.position);
    if (c.size.isValid())
      window->resize(c.size);
    QCoreApplication::processEvents();
    const QRect place(window->pos(), window->size()); // the frame's corner, the inner size
    const int dpi = window->logicalDpiX();

    // The stored forms the earlier versions wrote: flags as -1, boxes as files number them,
    // positions in twips.
    Trigger("menquit");
    EXPECT_EQ(Stored("StopOnFound"), c.stopOnFound ? "-1" : "0");
    EXPECT_EQ(Stored("Beep"), c.beep ? "-1" : "0");
    for (int i = 0; i < 4; ++i)
      EXPECT_EQ(Stored(QStringList{"CWS", "CWL", "CBS", "CBL"}[i]), QString::number(c.states[i]));
    EXPECT_EQ(Stored("LastPosX"), QString::number(place.x() * 1440 / dpi));

    StartWindow();
    EXPECT_EQ(Codes(), Board(c.fen));
    EXPECT_EQ(ui->commenttxt->toPlainText(), c.comment);
    EXPECT_EQ(ui->mdscroll->value(), c.depth);
    EXPECT_EQ(ui->cm.cmMD(), c.depth + 1);
    EXPECT_EQ(ui->StopOnFound, c.stopOnFound ? -1 : 0);
    EXPECT_EQ(ui->Menu("menstoponfound")->isChecked(), c.stopOnFound);
    EXPECT_EQ(ui->Beep, c.beep ? -1 : 0);
    EXPECT_EQ(ui->Menu("menbeep")->isChecked(), c.beep);
    EXPECT_EQ(ui->Check1->isChecked(), c.scramble);
    EXPECT_EQ(BoxValues(), c.states);
    EXPECT_EQ(ui->LSavePath, "/srv/problems/");
    const QRect back(window->pos(), window->size());
    EXPECT_LE((back.topLeft() - place.topLeft()).manhattanLength(), 1);
    EXPECT_LE(std::abs(back.width() - place.width()) + std::abs(back.height() - place.height()), 1);
    ClearStores();
  }
}

// Values edited by hand must not leave the window in a state it cannot reach itself.
TEST_F(SettingsTest, AFirstStartBringsTheDefaultsAndGarbledValuesFallBackToThem) {
  StartWindow();
  const QString appPath = QCoreApplication::applicationDirPath() + QLatin1Char('/');
  EXPECT_EQ(ui->AppPath, appPath);
  EXPECT_EQ(ui->HelpFile, appPath + "Quintabell.hlp");
  EXPECT_EQ(ui->LSavePath, appPath + "CMT/");
  EXPECT_EQ(Codes(), (std::array<int, 64>{}));
  const QPoint offCentre =
      window->frameGeometry().center() - window->screen()->availableGeometry().center();
  EXPECT_LE(offCentre.manhattanLength(), 4) << offCentre.x() << "," << offCentre.y();
  const int centredX = window->x();
  const auto state = [this] { // slider, Beep, StopOnFound, CWS, scramble box
    return std::array<int, 5>{ui->mdscroll->value(), ui->Beep, ui->StopOnFound, BoxValues()[0],
                              ui->Check1->isChecked()};
  };
  const std::array<int, 5> defaults = {1, -1, 0, 1, 0};
  EXPECT_EQ(state(), defaults);
  const struct {
    const char *name, *stored;
    int slider;
  } cases[] = {{"MaxDepth", "abc", 1},
               {"MaxDepth", "99", 29},
               {"MaxDepth", "-4", 0},
               {"CWS", "7", 1},
               {"LastPosX", "abc", 1}};
  for (const auto &c : cases) {
    SCOPED_TRACE(testing::Message() << c.name << "=\"" << c.stored << "\"");
    ClearStores();
    Store(QString::fromLatin1(c.name), QString::fromLatin1(c.stored));
    StartWindow();
    std::array<int, 5> expected = defaults;
    expected[0] = c.slider;
    EXPECT_EQ(state(), expected);
    EXPECT_EQ(ui->cm.cmMD(), c.slider + 1);
    EXPECT_EQ(window->x(), centredX);
  }
}

// The reading of the text is the problem library's; which values stand for men is the window's.
TEST_F(SettingsTest, TheStoredBoardIsPlacedUpToTheFirstValueThatIsNoMan) {
  for (const char *text : {"6 0 12 13 6 ", "6 0 12 -1 6 "}) {
    SCOPED_TRACE(text);
    ClearStores();
    Store(QStringLiteral("BoardSetup"), QString::fromLatin1(text));
    StartWindow();
    EXPECT_EQ(Codes(), (std::array<int, 64>{kWK, kEmpty, kBK}));
  }
}

// A place off every screen, as another screen or a garbled value leaves it, comes back onto the
// screen, and what is saved afterwards is a place on it.
TEST_F(SettingsTest, AWindowThatWouldLieOffTheScreensComesBackOntoOne) {
  const std::pair<const char *, const char *> places[] = {
      {"2147483647", "2147483647"}, {"-2147483648", "999999"}, {"12000", "-900"}};
  for (const auto &[x, y] : places) {
    SCOPED_TRACE(testing::Message() << x << "," << y);
    ClearStores();
    Store(QStringLiteral("LastPosX"), QString::fromLatin1(x));
    Store(QStringLiteral("LastPosY"), QString::fromLatin1(y));
    Store(QStringLiteral("LastFrameTop"), QString::fromLatin1(y)); // as garbled
    StartWindow();
    const QRect screen = window->screen()->availableGeometry();
    EXPECT_TRUE(screen.contains(window->frameGeometry()))
        << window->frameGeometry().x() << "," << window->frameGeometry().y();
    Trigger("menquit");
    const int dpi = window->logicalDpiX();
    EXPECT_EQ(Stored("LastPosX").toInt(), window->x() * 1440 / dpi);
    EXPECT_EQ(Stored("LastPosY").toInt(), window->y() * 1440 / dpi);
  }
}

// The values are written as one file put in place whole: a program killed while saving leaves
// the old values or the new ones, never some of each.
TEST_F(SettingsTest, TheSettingsReachTheStoreInOneWrite) {
  StartWindow();
  const QString store = QFileInfo(QSettings().fileName()).absolutePath();
  const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  ASSERT_GE(watch, 0);
  ASSERT_GE(::inotify_add_watch(watch, store.toLocal8Bit().constData(), IN_CREATE | IN_MOVED_TO),
            0);
  ui->SaveSettings();
  int writes = 0;
  alignas(inotify_event) char events[64 * (sizeof(inotify_event) + NAME_MAX + 1)];
  for (ssize_t n; (n = ::read(watch, events, sizeof events)) > 0;) {
    for (char *at = events; at < events + n;) {
      const auto *event = reinterpret_cast<const inotify_event *>(at);
      // Each write puts a whole new file in place under the store's name.
      writes += (event->mask & (IN_CREATE | IN_MOVED_TO)) != 0 &&
                QFileInfo(QSettings().fileName()).fileName() == QString::fromLocal8Bit(event->name);
      at += sizeof(inotify_event) + event->len;
    }
  }
  ::close(watch);
  EXPECT_EQ(writes, 1);
  EXPECT_EQ(Stored("MaxDepth"), "1");
}

class StartupTest : public WindowTest {
protected:
  static constexpr const char *kStored = "4k3/8/8/8/8/8/8/R3K3";
  void SetUp() override {
    WindowTest::SetUp();
    ASSERT_TRUE(dir.isValid());
    // A mate in two in a problem file, and a rook endgame left behind by the last run.
    SetUpBoard(kTwoKeys);
    ui->commenttxt->setPlainText(QStringLiteral("from the file"));
    ASSERT_TRUE(QDir().mkpath(folder));
    dialogs.fileAnswers = {folder + QStringLiteral("/MY PROBLEM.CMT")};
    Trigger("menclose");
    SetUpBoard(kStored);
    ui->commenttxt->setPlainText(QStringLiteral("remembered"));
    ui->LSavePath = QStringLiteral("/srv/problems/");
    ui->SaveSettings();
  }

  QTemporaryDir dir;
  const QString folder = dir.filePath(QStringLiteral("My Problems"));
};

// A problem file named on the command line comes in over the remembered board. What is said
// about one that cannot be read stands over the window, and a pipe is refused before anything
// waits on it. Every start registers the problem file type.
TEST_F(StartupTest, AProblemFileOnTheCommandLineComesInOverTheRememberedBoard) {
  const QString pipe = folder + QStringLiteral("/pipe.cmt");
  ASSERT_EQ(::mkfifo(pipe.toLocal8Bit().constData(), 0600), 0);
  const struct {
    QString argument;
    bool loaded, refused;
  } cases[] = {{QStringLiteral("\"%1/MY PROBLEM.CMT\"").arg(folder), true, false},
               {folder + QStringLiteral("/MY PROBLEM.CM"), false, false},
               {QStringLiteral("\"%1/notes.txt\"").arg(folder), false, false},
               {folder + QStringLiteral("/missing.cmt"), false, true},
               {pipe, false, true}};
  for (const auto &c : cases) {
    SCOPED_TRACE(c.argument.toStdString());
    dialogs.messages.clear();
    StartWindow(c.argument);
    EXPECT_EQ(Codes(), Board(c.loaded ? kTwoKeys : kStored));
    EXPECT_EQ(ui->commenttxt->toPlainText(), c.loaded ? "from the file" : "remembered");
    EXPECT_EQ(ui->LSavePath, c.loaded ? folder + QLatin1Char('/') : "/srv/problems/");
    ASSERT_EQ(dialogs.messages.size(), c.refused ? 1u : 0u);
    EXPECT_TRUE(!c.refused || (dialogs.messages[0].overTheWindow &&
                               dialogs.messages[0].text.contains(c.argument)));
  }
  EXPECT_EQ(platform::Registry().QueryValue(platform::RegistryRoot::ClassesRoot,
                                            "ChessProblem\\shell\\Open\\command", ""),
            "\"" + (ui->AppPath + "quintabell").toStdString() + "\" \"%1\"");
  EXPECT_TRUE(QFileInfo::exists(qEnvironmentVariable("XDG_DATA_HOME") +
                                "/mime/packages/quintabell-chessproblem.xml"));
}

TEST_F(StartupTest, ClosingDuringASearchStopsItSavesTheSettingsAndEndsTheProgram) {
  StartWindow();
  SetUpProblem(kDeepSix, 6);
  ui->commenttxt->setPlainText(QStringLiteral("deep"));
  ui->matecmd->click();
  QTest::qWait(200);
  ASSERT_TRUE(ui->Busy) << "the search ended too soon to be stopped";
  const int lines = ui->slist->count();

  // Closing from within the program's event loop must end that loop, not just the window.
  QTimer::singleShot(0, window.get(), [&] { window->close(); });
  QTimer stuck;
  QObject::connect(&stuck, &QTimer::timeout, [] { QCoreApplication::exit(1); });
  stuck.start(10000);
  EXPECT_EQ(QCoreApplication::exec(), 0) << "the program did not quit";
  EXPECT_EQ(ui->Busy, 0);
  EXPECT_EQ(Stored("MaxDepth"), "5");
  EXPECT_EQ(Stored("CommentText"), "deep");
  // Nothing of the stopped run arrives any more: no event, no closing lines.
  EXPECT_FALSE(ui->Tim->isActive());
  QTest::qWait(400);
  EXPECT_EQ(ui->slist->count(), lines);
  // The worker is gone, so the control takes a new task at once.
  ui->cm.Mate(0);
  EXPECT_EQ(ui->cm.LSuccess(), 1);
  ui->cm.Panic();
}

} // namespace
