// Problem files through the window: its dialogs, what it hands to a file and shows from one, and
// the files it cannot read or write. The layout and which files are refused are the problem
// library's to test.
#include "tests/app/window_fixture.h"

#include "problem/cmt_file.h"

namespace {

using namespace testing_support;

class ProblemFilesTest : public WindowTest {
protected:
  void SetUp() override {
    WindowTest::SetUp();
    ASSERT_TRUE(dir.isValid());
    ui->LSavePath = Folder();
  }
  QString Path(const QString &name) const { return dir.filePath(name); }
  QString Folder() const { return dir.path() + QLatin1Char('/'); }

  void SaveAs(const QString &answer) {
    dialogs.fileAnswers = {answer};
    Trigger("menclose");
  }
  void Open(const QString &answer) {
    dialogs.fileAnswers = {answer};
    Trigger("menopen");
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
  ui->commenttxt->setPlainText(QStringLiteral("Loyd, 1859\nMate in 3"));
  ui->mdscroll->setValue(3);
  SetBoxValues({1, 0, 2, 1});
  SaveAs(Path("p.cmt"));
  const problem::ProblemFile saved = Read("p.cmt");
  EXPECT_EQ(saved.board, Codes());
  EXPECT_EQ(saved.comment, "Loyd, 1859\r\nMate in 3");
  EXPECT_EQ(saved.maxDepth, 3);
  EXPECT_EQ(saved.castling, (std::array<short, 4>{1, 0, 2, 1}));

  const std::pair<std::array<int, 4>, short> cases[] = {{{0, 2, 1, 0}, 4}, {{2, 2, 2, 2}, 29}};
  for (const auto &[states, depth] : cases) {
    SCOPED_TRACE(depth);
    problem::ProblemFile file = saved;
    file.board[Sq("d7")] = kBP;
    std::copy(states.begin(), states.end(), file.castling.begin());
    file.maxDepth = depth;
    Write("in.cmt", file);
    SetUpBoard(kTwoKeys);
    ui->commenttxt->clear();
    SetBoxValues({1, 1, 1, 1});
    Open(Path("in.cmt"));
    EXPECT_EQ(Codes(), file.board);
    EXPECT_EQ(ui->commenttxt->toPlainText(), "Loyd, 1859\nMate in 3");
    EXPECT_EQ(ui->mdscroll->value(), depth);
    EXPECT_EQ(ui->cm.cmMD(), depth + 1);
    EXPECT_EQ(ui->mdlbl->text(), QStringLiteral("mate in %1 moves").arg(depth + 1));
    EXPECT_EQ(BoxValues(), states);
  }
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(ProblemFilesTest, DialogsStartInTheFolderOfTheLastFileSavedOrOpened) {
  ui->LSavePath = QStringLiteral("/srv/problems/");
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
  const struct {
    QString text;
    bool save;
    QString kept;
  } cases[] = {{digits.left(999), true, digits.left(999)},
               {digits, false, digits.left(999)},
               {digits.left(998) + QStringLiteral("\nmore"), true, digits.left(998)}};
  for (const auto &c : cases) {
    SCOPED_TRACE(testing::Message() << c.text.size() << (c.save ? " saved" : " cancelled"));
    ui->commenttxt->setPlainText(c.text);
    SaveAs(c.save ? Path("long.cmt") : QString());
    EXPECT_EQ(ui->commenttxt->toPlainText(), c.kept);
    if (c.save) {
      EXPECT_EQ(QString::fromStdString(Read("long.cmt").comment), c.kept);
    }
  }
}

// Nothing of a file that fails reaches the window or its folder, and the user is told instead of
// left wondering why nothing happened.
TEST_F(ProblemFilesTest, AFileThatCannotBeReadOrWrittenChangesNothingAndIsReported) {
  ASSERT_TRUE(QDir().mkpath(Path("folder.cmt")));
  SetUpBoard(kCaptureInOne);
  ui->commenttxt->setPlainText(QStringLiteral("keep me"));
  SetBoxValues({0, 2, 0, 2});
  ui->SetMan(Sq("a2"), kWP); // a change not saved, which no refused file asks about
  for (const bool save : {false, true}) {
    SCOPED_TRACE(save ? "save" : "open");
    dialogs.messages.clear();
    if (save)
      SaveAs(Path("folder.cmt"));
    else
      Open(Path("missing.cmt"));
    EXPECT_EQ(Codes(), Board("4n1k1/5ppp/8/8/8/8/P3R3/R3K3"));
    EXPECT_EQ(ui->commenttxt->toPlainText(), "keep me");
    EXPECT_EQ(BoxValues(), (std::array<int, 4>{0, 2, 0, 2}));
    EXPECT_EQ(ui->LSavePath, Folder());
    EXPECT_TRUE(window->isWindowModified());
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].title, "Quintabell Error");
  }
  EXPECT_TRUE(QFileInfo(Path("folder.cmt")).isDir());
  EXPECT_TRUE(dialogs.questions.empty());
}

// Save goes back to the file the problem came from; the title names it and marks a change
// not saved yet. Opening over such a change asks first, and Undo brings the old problem back.
TEST_F(ProblemFilesTest, SaveWritesToTheFileOpenedAndTheTitleMarksWhatIsNotSaved) {
  problem::ProblemFile file;
  file.board = Board(kTwoKeys);
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

  QTest::keyClick(ui->board, Qt::Key_Z, Qt::ControlModifier);
  QTest::keyClick(ui->board, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Codes(), Board(kCaptureInOne));
  EXPECT_TRUE(window->isWindowModified());
}

} // namespace
