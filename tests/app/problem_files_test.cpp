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
  explicit Layout(QByteArray comment = {}, int depth = 0)
      : comment(std::move(comment)), depth(depth) {}

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
  SetBoxValues({1, 0, 2, 1});
  SaveAs(Path("p.cmt"));

  Layout expected("Loyd, 1859", 3);
  expected.states = std::array<int, 4>{1, 0, 2, 1};
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

TEST_F(ProblemFilesTest, DialogsAreSetUpForProblemFilesAndStartInTheLastFolderUsed) {
  window->LSavePath = QStringLiteral("/srv/problems/");
  SaveAs(QString());
  Open(QString());
  const QString saved = Folder() + QStringLiteral("saved here/");
  const QString opened = Folder() + QStringLiteral("opened here/");
  SaveAs(saved + QStringLiteral("p.cmt")); // no such folder yet: refused
  ASSERT_TRUE(QDir().mkpath(saved) && QDir().mkpath(opened));
  SaveAs(saved + QStringLiteral("p.cmt"));
  EXPECT_EQ(window->LSavePath, saved);
  Open(QString());
  ASSERT_TRUE(QFile::copy(saved + QStringLiteral("p.cmt"), opened + QStringLiteral("q.cmt")));
  Open(opened + QStringLiteral("q.cmt"));
  EXPECT_EQ(window->LSavePath, opened);
  SaveAs(QString());

  const QString folders[] = {
      "/srv/problems/", "/srv/problems/", "/srv/problems/", "/srv/problems/", saved, saved, opened};
  ASSERT_EQ(dialogs.fileRequests.size(), std::size(folders));
  for (std::size_t i = 0; i < std::size(folders); ++i) {
    const FileDialogRequest &request = dialogs.fileRequests[i];
    SCOPED_TRACE(i);
    EXPECT_EQ(request.title, request.save ? "Quintabell - Save as" : "Quintabell - Open");
    EXPECT_EQ(request.fileName, request.save ? "Problem1.cmt" : "");
    EXPECT_EQ(request.filter, "Quintabell Files *.cmt|*.cmt");
    EXPECT_EQ(request.folder, folders[i]);
  }
  EXPECT_FALSE(dialogs.fileRequests[1].save);
  EXPECT_TRUE(dialogs.fileRequests[6].save);
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
    EXPECT_EQ(bytes.left(1002), Layout(c.stored).Bytes().left(1002));
    window->commenttxt->setPlainText(QStringLiteral("something else"));
    Open(Path("breaks.cmt"));
    EXPECT_EQ(window->commenttxt->toPlainText(), c.text);
  }
}

TEST_F(ProblemFilesTest, SavingOverALongerFileKeepsItsTail) {
  const QByteArray tail(300, '\xA5');
  WriteBytes(Path("long.cmt"), QByteArray(1293, '\x11') + tail);
  SetUpBoard(kTwoKeys);
  SetBoxValues({0, 0, 0, 0});
  SaveAs(Path("long.cmt"));
  Layout expected;
  expected.board = Codes();
  expected.states = std::array<int, 4>{0, 0, 0, 0};
  EXPECT_EQ(FileBytes(Path("long.cmt")), expected.Bytes() + tail);
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
    Layout file("White to play", 4);
    file.marker = c.marker;
    file.states = c.stored;
    file.board[Sq("e1")] = kWK;
    file.board[Sq("h1")] = kWR;
    file.board[Sq("e8")] = kBK;
    file.board[Sq("d7")] = kBP;
    WriteBytes(Path("in.cmt"), file.Bytes() + c.tail);

    SetUpBoard(kTwoKeys);
    window->commenttxt->setPlainText(QStringLiteral("old"));
    SetBoxValues({(c.expected[0] + 1) % 3, (c.expected[1] + 1) % 3, (c.expected[2] + 1) % 3,
                  (c.expected[3] + 1) % 3});
    Open(Path("in.cmt"));
    EXPECT_EQ(Codes(), file.board);
    EXPECT_EQ(window->commenttxt->toPlainText(), "White to play");
    EXPECT_EQ(window->mdscroll->value(), 4);
    EXPECT_EQ(window->cm->cmMD(), 5);
    EXPECT_EQ(window->mdlbl->text(), "mate in 5 moves");
    EXPECT_EQ(BoxValues(), c.expected);
    EXPECT_TRUE(dialogs.messages.empty());
  }
}

// Nothing of an unreadable file reaches the board, and the user is told instead of left
// wondering why Open did nothing.
TEST_F(ProblemFilesTest, AFileThatCannotBeReadChangesNothingAndIsReported) {
  ASSERT_TRUE(QDir().mkpath(Path("folder.cmt")));
  WriteBytes(Path("short.cmt"), Layout("cut").Bytes().left(1282));
  WriteBytes(Path("empty.cmt"), QByteArray());
  const char *names[] = {"missing.cmt", "short.cmt", "empty.cmt", "folder.cmt"};
  for (const char *name : names) {
    SCOPED_TRACE(name);
    SetUpBoard(kCaptureInOne);
    window->commenttxt->setPlainText(QStringLiteral("keep me"));
    window->mdscroll->setValue(2);
    SetBoxValues({0, 2, 0, 2});
    window->LSavePath = QStringLiteral("/before/");
    const std::array<int, 64> before = Codes();
    dialogs.messages.clear();

    Open(Path(QString::fromLatin1(name)));
    EXPECT_EQ(Codes(), before);
    EXPECT_EQ(window->commenttxt->toPlainText(), "keep me");
    EXPECT_EQ(window->mdscroll->value(), 2);
    EXPECT_EQ(window->cm->cmMD(), 3);
    EXPECT_EQ(BoxValues(), (std::array<int, 4>{0, 2, 0, 2}));
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

// Values outside the window's ranges are brought into them; unknown men become empty squares
// instead of stopping the load half-way.
TEST_F(ProblemFilesTest, FieldsOutsideTheWindowsRangesAreBroughtIntoThem) {
  const struct {
    int depth, slider;
    int length, shown;
  } cases[] = {{40, 29, -5, 0}, {29, 29, 1000, 999}, {-3, 0, 1500, 999}, {7, 7, 12, 12}};
  for (const auto &c : cases) {
    SCOPED_TRACE(c.depth);
    Layout file(QByteArray(1000, 'k'), c.depth);
    file.length = c.length;
    file.board[Sq("a1")] = 13;
    file.board[Sq("b1")] = -1;
    file.board[Sq("c1")] = 200;
    file.board[Sq("e1")] = kWK;
    file.board[Sq("h8")] = kBK;
    WriteBytes(Path("range.cmt"), file.Bytes());
    SetUpBoard("8/8/8/8/8/8/8/QQQ5");
    window->mdscroll->setValue(12);
    Open(Path("range.cmt"));
    EXPECT_EQ(window->mdscroll->value(), c.slider);
    EXPECT_EQ(window->cm->cmMD(), c.slider + 1);
    EXPECT_EQ(window->mdlbl->text(),
              QStringLiteral("mate in %1 move").arg(c.slider + 1) + (c.slider > 0 ? "s" : ""));
    EXPECT_EQ(window->commenttxt->toPlainText(), QString(c.shown, QLatin1Char('k')));
    std::array<int, 64> expected{};
    expected[Sq("e1")] = kWK;
    expected[Sq("h8")] = kBK;
    EXPECT_EQ(Codes(), expected);
  }
}

} // namespace
