// The load step and the end of the program: a problem file named on the command line over the
// remembered board, the file type registered at start, and a search stopped at shut-down.
#include "tests/app/window_fixture.h"

#include "platform/registry.h"

#include <QCoreApplication>
#include <QDir>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

using namespace testing_support;

class StartupTest : public WindowTest {
protected:
  void SetUp() override {
    WindowTest::SetUp();
    ASSERT_TRUE(dir.isValid());
    // A mate in two in a problem file, and a rook endgame left behind by the last run.
    SetUpBoard(kTwoKeys);
    window->commenttxt->setPlainText(QStringLiteral("from the file"));
    problemBoard = Codes();
    ASSERT_TRUE(QDir().mkpath(folder));
    dialogs.fileAnswers = {folder + QStringLiteral("/MY PROBLEM.CMT")};
    window->menclose->trigger();
    SetUpBoard("4k3/8/8/8/8/8/8/R3K3");
    storedBoard = Codes();
    window->commenttxt->setPlainText(QStringLiteral("remembered"));
    window->LSavePath = QStringLiteral("/srv/problems/");
    window->SaveSettings();
  }

  QTemporaryDir dir;
  const QString folder = dir.filePath(QStringLiteral("My Problems"));
  std::array<int, 64> problemBoard{};
  std::array<int, 64> storedBoard{};
};

TEST_F(StartupTest, AQuotedCapitalisedProblemPathIsLoadedOverTheRememberedBoard) {
  StartWindow(QStringLiteral("\"%1/MY PROBLEM.CMT\"").arg(folder));
  EXPECT_EQ(Codes(), problemBoard);
  EXPECT_EQ(window->commenttxt->toPlainText(), "from the file");
  EXPECT_EQ(window->LSavePath, folder + QLatin1Char('/'));
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_TRUE(window->isVisible());
}

TEST_F(StartupTest, AnArgumentWithoutTheExtensionLeavesTheRememberedBoard) {
  const QString arguments[] = {QString(), folder + QStringLiteral("/MY PROBLEM.CM"),
                               QStringLiteral("\"%1/notes.txt\"").arg(folder),
                               QStringLiteral("--fullscreen")};
  for (const QString &argument : arguments) {
    SCOPED_TRACE(argument.toStdString());
    StartWindow(argument);
    EXPECT_EQ(Codes(), storedBoard);
    EXPECT_EQ(window->commenttxt->toPlainText(), "remembered");
    EXPECT_EQ(window->LSavePath, "/srv/problems/");
    EXPECT_TRUE(dialogs.messages.empty());
  }
}

TEST(StripQuotes, RemovesOneQuoteAtEachEndAtMost) {
  const struct {
    const char *text;
    const char *stripped;
  } cases[] = {{"\"a b.cmt\"", "a b.cmt"},
               {"\"a.cmt", "a.cmt"},
               {"a.cmt\"", "a.cmt"},
               {"a.cmt", "a.cmt"},
               {"\"\"a\"\"", "\"a\""},
               {"\"", ""},
               {"\"\"", ""},
               {"", ""},
               {"a\"b", "a\"b"}};
  for (const auto &c : cases)
    EXPECT_EQ(StripQuotes(QString::fromLatin1(c.text)), c.stripped) << c.text;
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

TEST_F(StartupTest, ClosingDuringASearchStopsItAndSavesTheSettings) {
  StartWindow();
  SetUpProblem("4k3/1pp2pp1/8/b1B1pB2/rp6/p5N1/3R4/R2bK3 w Q - 0 1", 6);
  window->commenttxt->setPlainText(QStringLiteral("deep"));
  window->matecmd->click();
  ASSERT_TRUE(window->Busy);
  QTest::qWait(200);
  ASSERT_TRUE(window->Busy) << "the search ended too soon to be stopped";
  const int lines = window->slist->count();

  window->close();
  EXPECT_EQ(window->Busy, 0);
  EXPECT_EQ(QSettings().value("Config/MaxDepth").toString(), "5");
  EXPECT_EQ(QSettings().value("Config/CommentText").toString(), "deep");
  // Nothing of the stopped run arrives any more: no event, no closing lines.
  EXPECT_FALSE(window->Tim->isActive());
  QTest::qWait(400);
  EXPECT_EQ(window->slist->count(), lines);
  EXPECT_EQ(window->Busy, 0);
  // The worker is gone, so the control takes a new task at once.
  window->cm->Mate(0);
  EXPECT_EQ(window->cm->LSuccess(), 1);
  window->cm->Panic();
}

} // namespace
