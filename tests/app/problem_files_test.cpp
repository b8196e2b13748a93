// Problem files through the window: Save As and Open with their dialogs, the bytes of a saved
// problem, and files that are short, damaged or hold values the window cannot show as they are.
#include "tests/app/window_fixture.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTemporaryDir>
#include <optional>

namespace {

using namespace testing_support;

QByteArray Word(int value) {
  QByteArray word(2, '\0');
  word[0] = static_cast<char>(value & 0xFF);
  word[1] = static_cast<char>((value >> 8) & 0xFF);
  return word;
}

// A problem file put together field by field from the layout table, so that the window's
// writer is checked against the layout and not against itself.
struct Layout {
  QByteArray comment;
  std::optional<int> length; // the comment's own length unless given
  std::array<int, 64> board{};
  int depth = 0;
  int marker = 15;
  std::optional<std::array<int, 4>> states; // CWS, CWL, CBS, CBL; none: the record alone

  QByteArray Bytes() const {
    QByteArray bytes = comment.left(1000);
    bytes += QByteArray(1000 - bytes.size(), 'X');
    bytes += Word(length.value_or(static_cast<int>(comment.size())));
    bytes += QByteArray(145 + 2, '\0');
    for (int code : board)
      bytes += Word(code);
    bytes += Word(depth) + QByteArray(4, '\0');
    if (states) {
      bytes += Word(marker);
      for (int state : *states)
        bytes += Word(state);
    }
    return bytes;
  }
};

std::array<int, 4> States(const chessfrm &window) {
  return {window.chkCWS->checkState(), window.chkCWL->checkState(), window.chkCBS->checkState(),
          window.chkCBL->checkState()};
}

void SetStates(chessfrm &window, const std::array<int, 4> &states) {
  const std::array<QCheckBox *, 4> boxes = {window.chkCWS, window.chkCWL, window.chkCBS,
                                            window.chkCBL};
  for (int i = 0; i < 4; ++i)
    boxes[i]->setCheckState(static_cast<Qt::CheckState>(states[i]));
}

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

  QTemporaryDir dir;
};

TEST_F(ProblemFilesTest, SaveAsWritesTheWindowsProblemInTheExactLayout) {
  SetUpBoard("r3k3/8/8/8/8/8/8/4K2R");
  window->commenttxt->setPlainText(QStringLiteral("Loyd, 1859"));
  window->mdscroll->setValue(3);
  SetStates(*window, {Qt::Checked, Qt::Unchecked, Qt::PartiallyChecked, Qt::Checked});
  SaveAs(Path("p.cmt"));

  Layout expected{"Loyd, 1859", {}, {}, 3, 15, std::array<int, 4>{1, 0, 2, 1}};
  expected.board[Sq("a8")] = kBR;
  expected.board[Sq("e8")] = kBK;
  expected.board[Sq("e1")] = kWK;
  expected.board[Sq("h1")] = kWR;
  const QByteArray bytes = FileBytes(Path("p.cmt"));
  ASSERT_EQ(bytes.size(), 1293);
  EXPECT_EQ(bytes, expected.Bytes());
  EXPECT_EQ(bytes.mid(1149 + 2 * Sq("e1"), 2), Word(kWK));
  EXPECT_EQ(bytes.mid(1285, 8), Word(1) + Word(0) + Word(2) + Word(1));
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(ProblemFilesTest, BothDialogsAreSetUpForProblemFilesInTheLastFolder) {
  window->LSavePath = QStringLiteral("/srv/problems/");
  SaveAs(QString());
  Open(QString());
  ASSERT_EQ(dialogs.fileRequests.size(), 2u);
  const FileDialogRequest &save = dialogs.fileRequests[0];
  const FileDialogRequest &open = dialogs.fileRequests[1];
  EXPECT_TRUE(save.save);
  EXPECT_EQ(save.title, "Quintabell - Save as");
  EXPECT_EQ(save.fileName, "Problem1.cmt");
  EXPECT_FALSE(open.save);
  EXPECT_EQ(open.title, "Quintabell - Open");
  EXPECT_EQ(open.fileName, "");
  for (const FileDialogRequest &request : dialogs.fileRequests) {
    EXPECT_EQ(request.folder, "/srv/problems/");
    EXPECT_EQ(request.filter, "Quintabell Files *.cmt|*.cmt");
  }
}

TEST_F(ProblemFilesTest, ALongCommentIsCutInTheBoxBeforeTheDialog) {
  QString digits;
  for (int i = 0; i < 1200; ++i)
    digits += QChar(u'0' + i % 10);
  const struct {
    int length;
    bool save;
  } cases[] = {{999, true}, {1200, false}, {1200, true}};
  for (const auto &c : cases) {
    SCOPED_TRACE(testing::Message() << c.length << (c.save ? " saved" : " cancelled"));
    window->commenttxt->setPlainText(digits.left(c.length));
    QFile::remove(Path("long.cmt"));
    SaveAs(c.save ? Path("long.cmt") : QString());
    EXPECT_EQ(window->commenttxt->toPlainText(), digits.left(999));
    if (!c.save) {
      EXPECT_FALSE(QFileInfo::exists(Path("long.cmt")));
      continue;
    }
    const QByteArray bytes = FileBytes(Path("long.cmt"));
    EXPECT_EQ(bytes.left(1000), digits.left(999).toLatin1() + "X");
    EXPECT_EQ(bytes.mid(1000, 2), Word(999));
  }
}

TEST_F(ProblemFilesTest, LineBreaksAreStoredAsTwoCharactersAndReadBackAsOne) {
  const struct {
    QString text;
    QByteArray stored;
  } cases[] = {{"", ""}, {"Loyd\nMate in 3", "Loyd\r\nMate in 3"}, {"a\n\nb", "a\r\n\r\nb"}};
  for (const auto &c : cases) {
    SCOPED_TRACE(c.text.toStdString());
    window->commenttxt->setPlainText(c.text);
    SaveAs(Path("breaks.cmt"));
    const QByteArray bytes = FileBytes(Path("breaks.cmt"));
    EXPECT_EQ(bytes.left(1002), Layout{c.stored}.Bytes().left(1002));
    window->commenttxt->setPlainText(QStringLiteral("something else"));
    Open(Path("breaks.cmt"));
    EXPECT_EQ(window->commenttxt->toPlainText(), c.text);
  }
}

TEST_F(ProblemFilesTest, SavingOverALongerFileKeepsItsTailAndLoadingIgnoresIt) {
  const QByteArray tail(300, '\xA5');
  WriteBytes(Path("long.cmt"), QByteArray(1293, '\x11') + tail);
  SetUpBoard(kTwoKeys);
  SaveAs(Path("long.cmt"));
  const QByteArray bytes = FileBytes(Path("long.cmt"));
  ASSERT_EQ(bytes.size(), 1593);
  EXPECT_EQ(bytes.mid(1293), tail);
  EXPECT_EQ(bytes.mid(1283, 2), Word(15));

  const std::array<int, 64> saved = Codes();
  SetUpBoard("");
  Open(Path("long.cmt"));
  EXPECT_EQ(Codes(), saved);
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(ProblemFilesTest, TheFolderOfTheSavedOrOpenedFileIsWhereTheNextDialogsStart) {
  const QString saved = Folder() + QStringLiteral("saved here/");
  const QString opened = Folder() + QStringLiteral("opened here/");
  ASSERT_TRUE(QDir().mkpath(saved) && QDir().mkpath(opened));

  SaveAs(saved + QStringLiteral("p.cmt"));
  EXPECT_EQ(window->LSavePath, saved);
  SaveAs(QString());
  Open(QString());
  ASSERT_EQ(dialogs.fileRequests.size(), 3u);
  EXPECT_EQ(dialogs.fileRequests[1].folder, saved);
  EXPECT_EQ(dialogs.fileRequests[2].folder, saved);

  ASSERT_TRUE(QFile::copy(saved + QStringLiteral("p.cmt"), opened + QStringLiteral("q.cmt")));
  Open(opened + QStringLiteral("q.cmt"));
  EXPECT_EQ(window->LSavePath, opened);
}

TEST_F(ProblemFilesTest, OpenRestoresBoardCommentDepthAndTheFourBoxes) {
  using States = std::array<int, 4>;
  const struct {
    const char *name;
    std::optional<States> stored;
    int marker;
    QByteArray tail;
    States expected;
  } cases[] = {
      {"record only, 1283 bytes", std::nullopt, 15, {}, {1, 1, 1, 1}},
      {"marker 15, 1293 bytes", States{0, 2, 1, 0}, 15, {}, {0, 2, 1, 0}},
      {"all grayed, then more bytes", States{2, 2, 2, 2}, 15, QByteArray(40, '\x07'), {2, 2, 2, 2}},
      {"marker other than 15", States{0, 0, 0, 0}, 14, {}, {1, 1, 1, 1}},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.name);
    Layout file{"White to play", {}, {}, 4, c.marker, c.stored};
    file.board[Sq("e1")] = kWK;
    file.board[Sq("h1")] = kWR;
    file.board[Sq("e8")] = kBK;
    file.board[Sq("d7")] = kBP;
    WriteBytes(Path("in.cmt"), file.Bytes() + c.tail);

    SetUpBoard(kTwoKeys);
    window->commenttxt->setPlainText(QStringLiteral("old"));
    SetStates(*window, {c.expected[0] == 1 ? 0 : 1, c.expected[1] == 1 ? 0 : 1,
                        c.expected[2] == 1 ? 0 : 1, c.expected[3] == 1 ? 0 : 1});
    Open(Path("in.cmt"));
    EXPECT_EQ(Codes(), file.board);
    EXPECT_EQ(window->commenttxt->toPlainText(), "White to play");
    EXPECT_EQ(window->mdscroll->value(), 4);
    EXPECT_EQ(window->cm->cmMD(), 5);
    EXPECT_EQ(window->mdlbl->text(), "mate in 5 moves");
    EXPECT_EQ(States(*window), c.expected);
    EXPECT_TRUE(dialogs.messages.empty());
  }
}

// Nothing of an unreadable file reaches the board, and the user is told instead of left
// wondering why Open did nothing.
TEST_F(ProblemFilesTest, AFileThatCannotBeReadChangesNothingAndIsReported) {
  ASSERT_TRUE(QDir().mkpath(Path("folder.cmt")));
  WriteBytes(Path("short.cmt"), Layout{"cut"}.Bytes().left(1282));
  WriteBytes(Path("empty.cmt"), QByteArray());
  const char *names[] = {"missing.cmt", "short.cmt", "empty.cmt", "folder.cmt"};
  for (const char *name : names) {
    SCOPED_TRACE(name);
    SetUpBoard(kCaptureInOne);
    window->commenttxt->setPlainText(QStringLiteral("keep me"));
    window->mdscroll->setValue(2);
    SetStates(*window, {0, 2, 0, 2});
    window->LSavePath = QStringLiteral("/before/");
    const std::array<int, 64> before = Codes();
    dialogs.messages.clear();

    Open(Path(QString::fromLatin1(name)));
    EXPECT_EQ(Codes(), before);
    EXPECT_EQ(window->commenttxt->toPlainText(), "keep me");
    EXPECT_EQ(window->mdscroll->value(), 2);
    EXPECT_EQ(window->cm->cmMD(), 3);
    EXPECT_EQ(States(*window), (std::array<int, 4>{0, 2, 0, 2}));
    EXPECT_EQ(window->LSavePath, "/before/");
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].title, "Quintabell Error");
    EXPECT_EQ(dialogs.messages[0].icon, UserDialogs::Icon::Critical);
  }
}

TEST_F(ProblemFilesTest, ASaveThatCannotBeWrittenIsReportedAndKeepsTheFolder) {
  ASSERT_TRUE(QDir().mkpath(Path("taken.cmt")));
  const QString targets[] = {Path("no such folder/p.cmt"), Path("taken.cmt")};
  for (const QString &target : targets) {
    SCOPED_TRACE(target.toStdString());
    dialogs.messages.clear();
    SaveAs(target);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].title, "Quintabell Error");
    EXPECT_EQ(window->LSavePath, Folder());
  }
  EXPECT_FALSE(QFileInfo::exists(Path("no such folder")));
  EXPECT_TRUE(QFileInfo(Path("taken.cmt")).isDir());
}

TEST_F(ProblemFilesTest, AStoredDepthOutsideTheSliderIsBroughtIntoIt) {
  const struct {
    int stored;
    int slider;
    const char *label;
  } cases[] = {{40, 29, "mate in 30 moves"}, {29, 29, "mate in 30 moves"},
               {0, 0, "mate in 1 move"},     {-3, 0, "mate in 1 move"},
               {7, 7, "mate in 8 moves"}};
  for (const auto &c : cases) {
    SCOPED_TRACE(c.stored);
    WriteBytes(Path("depth.cmt"), Layout{"", {}, {}, c.stored}.Bytes());
    window->mdscroll->setValue(12);
    Open(Path("depth.cmt"));
    EXPECT_EQ(window->mdscroll->value(), c.slider);
    EXPECT_EQ(window->cm->cmMD(), c.slider + 1);
    EXPECT_EQ(window->mdlbl->text(), c.label);
  }
}

TEST_F(ProblemFilesTest, UnknownMenCodesLoadAsEmptySquaresAndTheRestStillLoads) {
  Layout file{"", {}, {}, 1, 15, std::array<int, 4>{1, 1, 1, 1}};
  file.board[Sq("a1")] = 13;
  file.board[Sq("b1")] = -1;
  file.board[Sq("c1")] = 200;
  file.board[Sq("e1")] = kWK;
  file.board[Sq("h8")] = kBK;
  WriteBytes(Path("codes.cmt"), file.Bytes());
  SetUpBoard("8/8/8/8/8/8/8/QQQ5");
  Open(Path("codes.cmt"));
  std::array<int, 64> expected{};
  expected[Sq("e1")] = kWK;
  expected[Sq("h8")] = kBK;
  EXPECT_EQ(Codes(), expected);
}

TEST_F(ProblemFilesTest, CommentLengthsOutsideTheFieldAreClamped) {
  const QByteArray field(1000, 'k');
  const struct {
    int length;
    int expected;
  } cases[] = {{-5, 0}, {1000, 999}, {1500, 999}, {12, 12}};
  for (const auto &c : cases) {
    SCOPED_TRACE(c.length);
    WriteBytes(Path("length.cmt"), Layout{field, c.length}.Bytes());
    Open(Path("length.cmt"));
    EXPECT_EQ(window->commenttxt->toPlainText(), QString(c.expected, QLatin1Char('k')));
  }
}

} // namespace
