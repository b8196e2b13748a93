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
      {"r3k2r/8/8/8/8/8/8/R3K2R",
       "Rooks\nmate",
       4,
       true,
       false,
       true,
       {0, 1, 2, 1},
       {43, 37},
       {700, 520}},
      {kCaptureInOne, "", 0, false, true, false, {2, 0, 0, 2}, {40, 300}, {}},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.fen);
    StartWindow();
    SetUpBoard(c.fen);
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
    if (c.size.isValid())
      window->resize(c.size);
    QCoreApplication::processEvents();
    const QPoint position = window->pos();
    const QSize size = window->size();
    const int dpi = window->logicalDpiX();

    // The stored forms the earlier versions wrote: flags as -1, boxes as files number them,
    // positions in twips.
    window->menquit->trigger();
    EXPECT_EQ(Stored("StopOnFound"), c.stopOnFound ? "-1" : "0");
    EXPECT_EQ(Stored("Beep"), c.beep ? "-1" : "0");
    const char *const boxes[] = {"CWS", "CWL", "CBS", "CBL"};
    for (int i = 0; i < 4; ++i)
      EXPECT_EQ(Stored(boxes[i]), QString::number(c.states[i])) << boxes[i];
    EXPECT_EQ(Stored("LastPosX"), QString::number(position.x() * 1440 / dpi));
    EXPECT_EQ(Stored("LastPosY"), QString::number(position.y() * 1440 / dpi));

    StartWindow();
    EXPECT_EQ(Codes(), Board(c.fen));
    EXPECT_EQ(window->commenttxt->toPlainText(), c.comment);
    EXPECT_EQ(window->mdscroll->value(), c.depth);
    EXPECT_EQ(window->cm->cmMD(), c.depth + 1);
    EXPECT_EQ(window->StopOnFound, c.stopOnFound ? -1 : 0);
    EXPECT_EQ(window->menstoponfound->isChecked(), c.stopOnFound);
    EXPECT_EQ(window->Beep, c.beep ? -1 : 0);
    EXPECT_EQ(window->menbeep->isChecked(), c.beep);
    EXPECT_EQ(window->Check1->isChecked(), c.scramble);
    EXPECT_EQ(BoxValues(), c.states);
    EXPECT_EQ(window->LSavePath, "/srv/problems/");
    EXPECT_LE((window->pos() - position).manhattanLength(), 1) << window->x() << "," << window->y();
    EXPECT_LE(std::abs(window->width() - size.width()) + std::abs(window->height() - size.height()),
              1);
    ClearStores();
  }
}

// Values edited by hand must not leave the window in a state it cannot reach itself.
TEST_F(SettingsTest, AFirstStartBringsTheDefaultsAndGarbledValuesFallBackToThem) {
  StartWindow();
  const QString appPath = QCoreApplication::applicationDirPath() + QLatin1Char('/');
  EXPECT_EQ(window->AppPath, appPath);
  EXPECT_EQ(window->HelpFile, appPath + "Quintabell.hlp");
  EXPECT_EQ(window->LSavePath, appPath + "CMT/");
  EXPECT_EQ(BoxValues(), (std::array<int, 4>{1, 1, 1, 1}));
  EXPECT_TRUE(window->menbeep->isChecked() && !window->menstoponfound->isChecked());
  EXPECT_EQ(Codes(), (std::array<int, 64>{}));
  const QPoint offCentre =
      window->frameGeometry().center() - window->screen()->availableGeometry().center();
  EXPECT_LE(offCentre.manhattanLength(), 4) << offCentre.x() << "," << offCentre.y();
  const int centredX = window->x();
  const auto state = [this] { // slider, Beep, StopOnFound, CWS, scramble box
    return std::array<int, 5>{window->mdscroll->value(), window->Beep, window->StopOnFound,
                              BoxValues()[0], window->Check1->isChecked()};
  };
  const std::array<int, 5> defaults = {1, -1, 0, 1, 0};
  EXPECT_EQ(state(), defaults);
  const struct {
    const char *name, *stored;
    int slider;
  } cases[] = {{"MaxDepth", "5", 5},  {"MaxDepth", "abc", 1}, {"MaxDepth", "99", 29},
               {"MaxDepth", "-4", 0}, {"Beep", "", 1},        {"StopOnFound", "x", 1},
               {"CWS", "x", 1},       {"CWS", "7", 1},        {"Scramble", "abc", 1},
               {"LastPosX", "abc", 1}};
  for (const auto &c : cases) {
    SCOPED_TRACE(testing::Message() << c.name << "=\"" << c.stored << "\"");
    ClearStores();
    Store(QString::fromLatin1(c.name), QString::fromLatin1(c.stored));
    StartWindow();
    std::array<int, 5> expected = defaults;
    expected[0] = c.slider;
    EXPECT_EQ(state(), expected);
    EXPECT_EQ(window->cm->cmMD(), c.slider + 1);
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
      {"2147483647", "2147483647"},
      {"-2147483648", "0"},
      {"-300000", "-300000"},
      {"0", "999999"},
      {"12000", "-900"},
  };
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
    window->menquit->trigger();
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
  window->SaveSettings();
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
    window->commenttxt->setPlainText(QStringLiteral("from the file"));
    ASSERT_TRUE(QDir().mkpath(folder));
    dialogs.fileAnswers = {folder + QStringLiteral("/MY PROBLEM.CMT")};
    window->menclose->trigger();
    SetUpBoard(kStored);
    window->commenttxt->setPlainText(QStringLiteral("remembered"));
    window->LSavePath = QStringLiteral("/srv/problems/");
    window->SaveSettings();
  }

  QTemporaryDir dir;
  const QString folder = dir.filePath(QStringLiteral("My Problems"));
};

TEST_F(StartupTest, AQuotedCapitalisedProblemPathIsLoadedOverTheRememberedBoard) {
  StartWindow(QStringLiteral("\"%1/MY PROBLEM.CMT\"").arg(folder));
  EXPECT_EQ(Codes(), Board(kTwoKeys));
  EXPECT_EQ(window->commenttxt->toPlainText(), "from the file");
  EXPECT_EQ(window->LSavePath, folder + QLatin1Char('/'));
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_TRUE(window->isVisible());
}

// What is said about a file named on the command line stands over the window, and a pipe is
// refused before anything waits on it.
TEST_F(StartupTest, AProblemFileThatCannotBeReadIsReportedOverTheWindowWithTheBoardKept) {
  const QString pipe = folder + QStringLiteral("/pipe.cmt");
  ASSERT_EQ(::mkfifo(pipe.toLocal8Bit().constData(), 0600), 0);
  for (const QString &argument : {folder + QStringLiteral("/missing.cmt"), pipe}) {
    SCOPED_TRACE(argument.toStdString());
    dialogs.messages.clear();
    StartWindow(argument);
    EXPECT_EQ(Codes(), Board(kStored));
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_TRUE(dialogs.messages[0].overTheWindow);
    EXPECT_TRUE(dialogs.messages[0].text.contains(argument));
  }
}

TEST_F(StartupTest, AnArgumentWithoutTheExtensionLeavesTheRememberedBoard) {
  const QString arguments[] = {QString(), folder + QStringLiteral("/MY PROBLEM.CM"),
                               QStringLiteral("\"%1/notes.txt\"").arg(folder),
                               QStringLiteral("--fullscreen")};
  for (const QString &argument : arguments) {
    SCOPED_TRACE(argument.toStdString());
    StartWindow(argument);
    EXPECT_EQ(Codes(), Board(kStored));
    EXPECT_EQ(window->commenttxt->toPlainText(), "remembered");
    EXPECT_EQ(window->LSavePath, "/srv/problems/");
    EXPECT_TRUE(dialogs.messages.empty());
  }
}

TEST_F(StartupTest, TheLoadStepRegistersTheProblemFileType) {
  StartWindow();
  const platform::Registry registry;
  constexpr auto kClasses = platform::RegistryRoot::ClassesRoot;
  EXPECT_EQ(registry.QueryValue(kClasses, ".cmt", ""), "ChessProblem");
  EXPECT_EQ(registry.QueryValue(kClasses, "ChessProblem\\shell\\Open\\command", ""),
            "\"" + (window->AppPath + "quintabell").toStdString() + "\" \"%1\"");
  EXPECT_TRUE(QFileInfo::exists(qEnvironmentVariable("XDG_DATA_HOME") +
                                "/mime/packages/quintabell-chessproblem.xml"));
}

TEST_F(StartupTest, ClosingDuringASearchStopsItSavesTheSettingsAndEndsTheProgram) {
  StartWindow();
  SetUpProblem(kDeepSix, 6);
  window->commenttxt->setPlainText(QStringLiteral("deep"));
  window->matecmd->click();
  QTest::qWait(200);
  ASSERT_TRUE(window->Busy) << "the search ended too soon to be stopped";
  const int lines = window->slist->count();

  // Closing from within the program's event loop must end that loop, not just the window.
  QTimer::singleShot(0, window.get(), [&] { window->close(); });
  QTimer stuck;
  QObject::connect(&stuck, &QTimer::timeout, [] { QCoreApplication::exit(1); });
  stuck.start(10000);
  EXPECT_EQ(QCoreApplication::exec(), 0) << "the program did not quit";
  EXPECT_EQ(window->Busy, 0);
  EXPECT_EQ(QSettings().value("Config/MaxDepth").toString(), "5");
  EXPECT_EQ(QSettings().value("Config/CommentText").toString(), "deep");
  // Nothing of the stopped run arrives any more: no event, no closing lines.
  EXPECT_FALSE(window->Tim->isActive());
  QTest::qWait(400);
  EXPECT_EQ(window->slist->count(), lines);
  // The worker is gone, so the control takes a new task at once.
  window->cm->Mate(0);
  EXPECT_EQ(window->cm->LSuccess(), 1);
  window->cm->Panic();
}

} // namespace
