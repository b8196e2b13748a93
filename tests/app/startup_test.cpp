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

namespace {

using namespace testing_support;

class StartupTest : public WindowTest {
protected:
  void SetUp() override {
    WindowTest::SetUp();
    ASSERT_TRUE(dir.isValid());
    // The last run left a rook endgame and its folder behind.
    QSettings settings;
    settings.setValue("Config/BoardSetup", stored);
    settings.setValue("Config/CommentText", "remembered");
    settings.setValue("Config/LSavePath", "/srv/problems/");
    settings.sync();
  }

  // A mate in two written as Save As writes it.
  QString SaveProblem(const QString &path) {
    SetUpBoard(kTwoKeys);
    window->commenttxt->setPlainText(QStringLiteral("from the file"));
    problemBoard = Codes();
    EXPECT_TRUE(QDir().mkpath(QFileInfo(path).absolutePath()));
    dialogs.fileAnswers = {path};
    window->menclose_Click();
    EXPECT_TRUE(QFileInfo::exists(path));
    return path;
  }
  std::array<int, 64> StoredBoard() const {
    std::array<int, 64> board{};
    board[Sq("e1")] = kWK;
    board[Sq("a1")] = kWR;
    board[Sq("e8")] = kBK;
    return board;
  }

  const QString stored = []() {
    QString text = QStringLiteral("0 ").repeated(64);
    text.replace(0, 2, QStringLiteral("2 ")); // a1: white rook
    return text.replace(2 * 32, 2, QStringLiteral("6 ")).replace(2 * 39, 2, QStringLiteral("12 "));
  }();
  std::array<int, 64> problemBoard{};
  QTemporaryDir dir;
};

TEST_F(StartupTest, AQuotedCapitalisedProblemPathIsLoadedOverTheRememberedBoard) {
  const QString folder = dir.filePath(QStringLiteral("My Problems"));
  SaveProblem(folder + QStringLiteral("/MY PROBLEM.CMT"));
  StartWindow(QStringLiteral("\"%1/MY PROBLEM.CMT\"").arg(folder));
  EXPECT_EQ(Codes(), problemBoard);
  EXPECT_EQ(window->commenttxt->toPlainText(), "from the file");
  EXPECT_EQ(window->LSavePath, folder + QLatin1Char('/'));
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_TRUE(window->isVisible());
}

TEST_F(StartupTest, AnArgumentWithoutTheExtensionLeavesTheRememberedBoard) {
  SaveProblem(dir.filePath(QStringLiteral("p.cmt")));
  const QString arguments[] = {QString(), dir.filePath(QStringLiteral("p.cm")),
                               QStringLiteral("\"%1\"").arg(dir.filePath(QStringLiteral("p.txt"))),
                               QStringLiteral("--fullscreen")};
  for (const QString &argument : arguments) {
    SCOPED_TRACE(argument.toStdString());
    StartWindow(argument);
    ASSERT_EQ(window->BoardSetupText(), stored);
    EXPECT_EQ(Codes(), StoredBoard());
    EXPECT_EQ(window->commenttxt->toPlainText(), "remembered");
    EXPECT_EQ(window->LSavePath, "/srv/problems/");
    EXPECT_TRUE(dialogs.messages.empty());
  }
}

TEST(StripQuotes, RemovesOneQuoteAtEachEndAtMost) {
  const struct {
    const char *text;
    const char *stripped;
  } cases[] = {{"\"a b.cmt\"", "a b.cmt"}, {"\"a.cmt", "a.cmt"},  {"a.cmt\"", "a.cmt"},
               {"a.cmt", "a.cmt"},         {"\"\"a\"\"", "\"a\""}, {"\"", ""},
               {"\"\"", ""},               {"", ""},               {"a\"b", "a\"b"}};
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
  QTest::qWait(400);
  EXPECT_EQ(window->slist->count(), lines);
  EXPECT_EQ(window->Busy, 0);
}

} // namespace
