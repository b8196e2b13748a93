// Problem files through the window: its dialogs, what it hands to a file and shows from one, and
// the files it cannot read or write. The layout itself is the problem library's to test.
#include "tests/app/window_fixture.h"

#include "problem/cmt_file.h"

#include <sys/stat.h>

namespace {

using namespace testing_support;

class ProblemFilesTest : public WindowTest {
protected:
  void SetUp() override {
    WindowTest::SetUp();
    ASSERT_TRUE(dir.isValid());
    window->LSavePath = Folder();
  }
  QString Path(const QString &name) const { return dir.filePath(name); }
  QString Folder() const { return dir.path() + QLatin1Char('/'); }

  void SaveAs(const QString &answer) {
    dialogs.fileAnswers = {answer};
    window->menclose->trigger();
  }
  void Open(const QString &answer) {
    dialogs.fileAnswers = {answer};
    window->menopen->trigger();
  }
  // The library reads and writes the files the window is checked against.
  problem::ProblemFile Read(const QString &name) const {
    problem::ProblemFile file;
    std::string error;
    EXPECT_TRUE(problem::ReadProblemFile(Path(name).toStdString(), file, error)) << error;
    return file;
  }
  void Write(const QString &name, const problem::ProblemFile &file) const {
    std::string error;
    ASSERT_TRUE(problem::WriteProblemFile(Path(name).toStdString(), file, error)) << error;
  }

  QTemporaryDir dir;
};

// Qt numbers a grayed box 1 and a checked one 2, the files the other way round: a window that
// handed its check states over as they are swapped the two.
TEST_F(ProblemFilesTest, SaveAsAndOpenCarryTheProblemWithTheBoxesAsFilesNumberThem) {
  SetUpBoard("r3k3/8/8/8/8/8/8/4K2R");
  window->commenttxt->setPlainText(QStringLiteral("Loyd, 1859\nMate in 3"));
  window->mdscroll->setValue(3);
  SetBoxValues({1, 0, 2, 1});
  SaveAs(Path("p.cmt"));
  const problem::ProblemFile saved = Read("p.cmt");
  EXPECT_EQ(saved.board, Codes());
  EXPECT_EQ(saved.comment, "Loyd, 1859\r\nMate in 3");
  EXPECT_EQ(saved.maxDepth, 3);
  EXPECT_EQ(saved.castling, (std::array<short, 4>{1, 0, 2, 1}));

  const struct {
    std::array<int, 4> states;
    short depth;
    const char *label;
  } cases[] = {{{0, 2, 1, 0}, 4, "mate in 5 moves"},
               {{2, 2, 2, 2}, 29, "mate in 30 moves"},
               {{1, 1, 0, 0}, 0, "mate in 1 move"}};
  for (const auto &c : cases) {
    SCOPED_TRACE(c.depth);
    problem::ProblemFile file = saved;
    file.board[Sq("d7")] = kBP;
    for (int i = 0; i < 4; ++i)
      file.castling[i] = static_cast<short>(c.states[i]);
    file.maxDepth = c.depth;
    Write("in.cmt", file);
    SetUpBoard(kTwoKeys);
    window->commenttxt->clear();
    SetBoxValues({1, 1, 1, 1});
    Open(Path("in.cmt"));
    EXPECT_EQ(Codes(), file.board);
    EXPECT_EQ(window->commenttxt->toPlainText(), "Loyd, 1859\nMate in 3");
    EXPECT_EQ(window->mdscroll->value(), c.depth);
    EXPECT_EQ(window->cm->cmMD(), c.depth + 1);
    EXPECT_EQ(window->mdlbl->text(), c.label);
    EXPECT_EQ(BoxValues(), c.states);
  }
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(ProblemFilesTest, DialogsStartInTheFolderOfTheLastFileSavedOrOpened) {
  window->LSavePath = QStringLiteral("/srv/problems/");
  SaveAs(Path("p.cmt"));
  ASSERT_TRUE(QDir().mkpath(Path("sub")) && QFile::copy(Path("p.cmt"), Path("sub/q.cmt")));
  Open(QString());
  Open(Path("sub/q.cmt"));
  SaveAs(QString());
  const QString folders[] = {"/srv/problems/", Folder(), Folder(), Folder() + "sub/"};
  ASSERT_EQ(dialogs.fileRequests.size(), std::size(folders));
  for (std::size_t i = 0; i < std::size(folders); ++i) {
    const FileDialogRequest &request = dialogs.fileRequests[i];
    EXPECT_EQ(request.folder, folders[i]) << i;
    EXPECT_EQ(request.title, request.save ? "Quintabell - Save as" : "Quintabell - Open");
    EXPECT_EQ(request.fileName, request.save ? "Problem1.cmt" : "");
    EXPECT_EQ(request.filter, "Quintabell Files *.cmt|*.cmt");
  }
  EXPECT_TRUE(dialogs.fileRequests[0].save && !dialogs.fileRequests[2].save);
}

// The box shows what the file will hold, even when the user cancels the dialog; a cut that
// would part a line break's two characters takes both.
TEST_F(ProblemFilesTest, ALongCommentIsCutInTheBoxBeforeTheDialog) {
  QString digits;
  for (int i = 0; i < 1200; ++i)
    digits += QChar(u'0' + i % 10);
  const QString broken = digits.left(998) + QStringLiteral("\nmore");
  const struct {
    QString text;
    bool save;
    QString kept;
  } cases[] = {{digits.left(999), true, digits.left(999)},
               {digits, false, digits.left(999)},
               {digits, true, digits.left(999)},
               {broken, true, digits.left(998)}};
  for (const auto &c : cases) {
    SCOPED_TRACE(testing::Message() << c.text.size() << (c.save ? " saved" : " cancelled"));
    window->commenttxt->setPlainText(c.text);
    QFile::remove(Path("long.cmt"));
    SaveAs(c.save ? Path("long.cmt") : QString());
    EXPECT_EQ(window->commenttxt->toPlainText(), c.kept);
    EXPECT_EQ(QFileInfo::exists(Path("long.cmt")), c.save);
    if (c.save) {
      EXPECT_EQ(QString::fromStdString(Read("long.cmt").comment), c.kept);
    }
  }
}

// Nothing of a file that fails reaches the window or its folder, and the user is told instead of
// left wondering why nothing happened.
TEST_F(ProblemFilesTest, AFileThatCannotBeReadOrWrittenChangesNothingAndIsReported) {
  ASSERT_TRUE(QDir().mkpath(Path("folder.cmt")));
  Write("short.cmt", problem::ProblemFile());
  std::filesystem::resize_file(Path("short.cmt").toStdString(), 1282);
  QFile noise(Path("noise.cmt"));
  ASSERT_TRUE(noise.open(QIODevice::WriteOnly));
  for (int i = 0; i < 5000; ++i)
    noise.putChar(static_cast<char>(i * 7919 % 251));
  noise.close();
  ASSERT_EQ(::mkfifo(Path("pipe.cmt").toLocal8Bit().constData(), 0600), 0);
  SetUpBoard(kCaptureInOne);
  window->commenttxt->setPlainText(QStringLiteral("keep me"));
  window->mdscroll->setValue(2);
  SetBoxValues({0, 2, 0, 2});
  window->SetMan(Sq("a2"), kWP); // a change not saved, which no refused file asks about
  const std::pair<bool, const char *> cases[] = {
      {false, "missing.cmt"}, {false, "short.cmt"},  {false, "noise.cmt"},
      {false, "pipe.cmt"},    {false, "folder.cmt"}, {true, "no such folder/p.cmt"},
      {true, "folder.cmt"}};
  for (const auto &[save, name] : cases) {
    SCOPED_TRACE(testing::Message() << (save ? "save " : "open ") << name);
    dialogs.messages.clear();
    if (save)
      SaveAs(Path(QString::fromLatin1(name)));
    else
      Open(Path(QString::fromLatin1(name)));
    EXPECT_EQ(Codes(), Board("4n1k1/5ppp/8/8/8/8/P3R3/R3K3"));
    EXPECT_EQ(window->commenttxt->toPlainText(), "keep me");
    EXPECT_EQ(window->cm->cmMD(), 3);
    EXPECT_EQ(BoxValues(), (std::array<int, 4>{0, 2, 0, 2}));
    EXPECT_EQ(window->LSavePath, Folder());
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].title, "Quintabell Error");
    EXPECT_EQ(dialogs.messages[0].icon, UserDialogs::Icon::Critical);
  }
  EXPECT_FALSE(QFileInfo::exists(Path("no such folder")));
  EXPECT_TRUE(QFileInfo(Path("folder.cmt")).isDir());
  EXPECT_TRUE(dialogs.questions.empty());
}

// Save goes back to the file the problem came from; the title names it and marks a change
// not saved yet. Opening over such a change asks first, and Undo brings the old problem back.
TEST_F(ProblemFilesTest, SaveWritesToTheFileOpenedAndTheTitleMarksWhatIsNotSaved) {
  problem::ProblemFile file;
  file.board = Board(kTwoKeys);
  file.comment = "two keys";
  Write("two.cmt", file);
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));

  QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier); // no file yet: Save As
  ASSERT_EQ(dialogs.fileRequests.size(), 1u);
  EXPECT_TRUE(dialogs.fileRequests[0].save);
  SetUpBoard(kCaptureInOne);
  EXPECT_TRUE(window->isWindowModified());
  dialogs.answer = false;
  Open(Path("two.cmt"));
  EXPECT_EQ(Codes(), Board(kCaptureInOne)) << "No keeps the change";
  dialogs.answer = true;
  Open(Path("two.cmt"));
  EXPECT_EQ(dialogs.questions.size(), 2u);
  EXPECT_EQ(Codes(), Board(kTwoKeys));
  EXPECT_EQ(window->windowTitle(), "two.cmt[*] - Quintabell 1.5");
  EXPECT_FALSE(window->isWindowModified());

  Place(kWR, Sq("h1"));
  EXPECT_TRUE(window->isWindowModified());
  QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(dialogs.fileRequests.size(), 3u) << "Save asked for a file";
  EXPECT_FALSE(window->isWindowModified());
  EXPECT_EQ(Read("two.cmt").board[Sq("h1")], kWR);

  QTest::keyClick(window->board, Qt::Key_Z, Qt::ControlModifier);
  QTest::keyClick(window->board, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Codes(), Board(kCaptureInOne));
  EXPECT_EQ(window->commenttxt->toPlainText(), "");
  EXPECT_TRUE(window->isWindowModified());
}

} // namespace
