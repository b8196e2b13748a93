// The problem in and out of the window: problem files through its dialogs, what it hands to a
// file and shows from one, the files it cannot read or write, and FEN through the clipboard. The
// file layout, which files are refused and FEN itself are the problem library's to test.
#include "tests/app/window_fixture.h"

#include "problem/cmt_file.h"

#include <QClipboard>
#include <QGuiApplication>

namespace {

using namespace testing_support;

class ProblemFilesTest : public WindowTest {
protected:
  void SetUp() override {
    WindowTest::SetUp();
    ui->LSavePath = Path();
  }
};

// Save with no file yet is Save As; then it goes back to the file, and the title names the file
// and marks a change not saved. Qt numbers a grayed box 1 and a checked one 2, the files the
// other way round. Opening over a change asks first, and Undo brings the old problem back. The
// dialogs start in the folder of the last file saved or opened.
TEST_F(ProblemFilesTest, SaveAndOpenCarryTheProblemAndTheTitleMarksWhatIsNotSaved) {
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  SetUpBoard("r3k3/8/8/8/8/8/8/4K2R");
  ui->commenttxt->setPlainText(QStringLiteral("Loyd, 1859\nMate in 3"));
  ui->mdscroll->setValue(3);
  SetBoxValues({1, 0, 2, 1});
  dialogs.fileAnswers = {Path("p.cmt")};
  QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(window->windowTitle(), "p.cmt[*] - Quintabell 1.5");
  EXPECT_FALSE(window->isWindowModified());
  ClickSquare(Sq("h1"), Qt::RightButton);
  EXPECT_TRUE(window->isWindowModified());
  QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier);
  EXPECT_FALSE(window->isWindowModified());
  problem::ProblemFile file;
  std::string error;
  ASSERT_TRUE(problem::ReadProblemFile(Path("p.cmt").toStdString(), file, error)) << error;
  EXPECT_EQ(file.board, Board("r3k3/8/8/8/8/8/8/4K3"));
  EXPECT_EQ(file.comment, "Loyd, 1859\r\nMate in 3");
  EXPECT_EQ(file.maxDepth, 3);
  EXPECT_EQ(file.castling, (std::array<short, 4>{1, 0, 2, 1}));

  file.castling = {0, 2, 1, 0};
  file.maxDepth = 29;
  ASSERT_TRUE(QDir().mkpath(Path("sub")));
  ASSERT_TRUE(problem::WriteProblemFile(Path("sub/in.cmt").toStdString(), file, error));
  SetUpBoard(kCaptureInOne);
  dialogs.answer = false;
  Open(Path("sub/in.cmt"), false);
  EXPECT_EQ(Codes(), Board(kCaptureInOne)) << "No keeps the change";
  dialogs.answer = true;
  Open(Path("sub/in.cmt"), false);
  EXPECT_EQ(Codes(), file.board);
  EXPECT_EQ(ui->commenttxt->toPlainText(), "Loyd, 1859\nMate in 3");
  EXPECT_EQ(ui->cm.cmMD(), 30);
  EXPECT_EQ(ui->mdlbl->text(), "mate in 30 moves");
  EXPECT_EQ(BoxValues(), (std::array<int, 4>{0, 2, 1, 0}));
  Trigger("menUndo");
  EXPECT_EQ(Codes(), Board(kCaptureInOne));
  EXPECT_TRUE(window->isWindowModified());
  Trigger("menclose"); // Save As, cancelled
  EXPECT_EQ(dialogs.fileRequests.at(3).folder, Path() + "sub/");
}

// Nothing of a damaged file, or of one that cannot be written, reaches the window or its folder,
// and the user is told instead of left wondering why nothing happened.
TEST_F(ProblemFilesTest, AFileThatCannotBeReadOrWrittenChangesNothingAndIsReported) {
  ASSERT_TRUE(QDir().mkpath(Path("folder.cmt")));
  QFile damaged(Path("damaged.cmt"));
  ASSERT_TRUE(damaged.open(QIODevice::WriteOnly) && damaged.write("Loyd, 1859") > 0);
  damaged.close();
  SetUpBoard(kCaptureInOne);
  ui->commenttxt->setPlainText(QStringLiteral("keep me"));
  SetBoxValues({0, 2, 0, 2});
  dialogs.fileAnswers = {Path("folder.cmt")};
  Trigger("menclose");
  Open(Path("damaged.cmt"), false);
  EXPECT_EQ(Codes(), Board(kCaptureInOne));
  EXPECT_EQ(ui->commenttxt->toPlainText(), "keep me");
  EXPECT_EQ(BoxValues(), (std::array<int, 4>{0, 2, 0, 2}));
  EXPECT_EQ(ui->LSavePath, Path());
  EXPECT_TRUE(window->isWindowModified());
  EXPECT_EQ(dialogs.messages.size(), 2u);
  EXPECT_TRUE(dialogs.questions.empty());
}

// Out: White to move, the letters of the ticked boxes (a grayed one is the user's "undecided")
// whose king and rook stand at home; a box shows only while they do. In: the board and the four
// boxes, from either side to move; the comment stays. A refusal changes
// nothing and says why; a good FEN comes back out with Undo, boxes and all.
TEST_F(ProblemFilesTest, TheBoardAndItsBoxesMakeTheRoundTripThroughTheClipboard) {
  const char *fen = "r3k2r/8/8/8/8/8/8/R3K2R w Kq - 0 1";
  QClipboard &clipboard = *QGuiApplication::clipboard();
  SetUpBoard("r3k2r/8/8/8/8/8/8/R3K2R");
  SetBoxValues({1, 0, 2, 1});
  Trigger("menCopyFen");
  EXPECT_EQ(clipboard.text(), fen);
  Trigger("mennew");
  SetUpBoard(kCaptureInOne);
  ui->commenttxt->setPlainText(QStringLiteral("stays"));
  EXPECT_TRUE(ui->castlingBoxes[1]->isVisible() && !ui->castlingBoxes[0]->isVisible() &&
              !ui->castlingBoxes[2]->isVisible() && !ui->castlingBoxes[3]->isVisible());
  clipboard.setText("4k3/8/8/8/8/8/8/P3K3 w - - 0 1");
  Trigger("menPasteFen");
  EXPECT_EQ(Codes(), Board(kCaptureInOne));
  EXPECT_TRUE(dialogs.messages.at(0).text.contains("A pawn can never stand on a BaseLine!"));
  clipboard.setText(QString::fromLatin1(fen).replace(" w ", " b "));
  Trigger("menPasteFen");
  EXPECT_EQ(Codes(), Board("r3k2r/8/8/8/8/8/8/R3K2R"));
  EXPECT_EQ(BoxValues(), (std::array<int, 4>{1, 0, 0, 1}));
  EXPECT_EQ(ui->commenttxt->toPlainText(), "stays");
  Trigger("menUndo");
  EXPECT_EQ(Codes(), Board(kCaptureInOne));
  EXPECT_EQ(BoxValues(), (std::array<int, 4>{1, 0, 2, 1}));
}

} // namespace
