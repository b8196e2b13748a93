// FEN through the clipboard: the board and the ticked boxes out, a FEN in as board and boxes, and
// the round trip through a problem file.
#include "tests/app/window_fixture.h"

#include <QClipboard>
#include <QGuiApplication>

namespace {

using namespace testing_support;
using ClipboardFenTest = WindowTest;

QString Clipboard() { return QGuiApplication::clipboard()->text(); }
void SetClipboard(const QString &text) { QGuiApplication::clipboard()->setText(text); }

// Out: White to move, the letters of the ticked boxes whose king and rook stand at home.
// In: the board and the four boxes, from either side to move; the comment stays. Then the
// problem goes through a file and comes back as the same FEN.
TEST_F(ClipboardFenTest, TheBoardAndItsBoxesMakeTheRoundTripThroughClipboardAndFile) {
  const struct {
    const char *placement;
    std::array<int, 4> boxes; // CWS, CWL, CBS, CBL
    const char *fen;
  } cases[] = {
      {"r3k2r/8/8/8/8/8/8/R3K2R", {1, 1, 1, 1}, "r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1"},
      {"r3k2r/8/8/8/8/8/8/R3K2R", {1, 0, 2, 1}, "r3k2r/8/8/8/8/8/8/R3K2R w Kq - 0 1"},
      {"r3k3/8/8/8/8/8/8/4K2R", {1, 1, 1, 1}, "r3k3/8/8/8/8/8/8/4K2R w Kq - 0 1"},
      {kTwoKeys, {0, 0, 0, 0}, "k3N3/P7/K6p/8/8/8/8/8 w - - 0 1"},
  };
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("fen.cmt"));
  for (const auto &c : cases) {
    SCOPED_TRACE(c.fen);
    SetUpBoard(c.placement);
    SetBoxValues(c.boxes);
    window->menCopyFen->trigger();
    EXPECT_EQ(Clipboard(), c.fen);

    window->mennew->trigger();
    SetBoxValues({2, 2, 2, 2});
    window->commenttxt->setPlainText(QStringLiteral("stays"));
    SetClipboard(QString::fromLatin1(c.fen).replace(QStringLiteral(" w "), QStringLiteral(" b ")));
    window->menPasteFen->trigger();
    EXPECT_EQ(Codes(), Board(c.placement));
    EXPECT_EQ(window->commenttxt->toPlainText(), "stays");

    dialogs.fileAnswers = {path};
    window->menclose->trigger();
    window->mennew->trigger();
    dialogs.fileAnswers = {path};
    window->menopen->trigger();
    SetClipboard(QString());
    window->menCopyFen->trigger();
    EXPECT_EQ(Clipboard(), c.fen);
  }
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(ClipboardFenTest, ATextThatIsNoFenOrAPositionRefusedChangesNothingAndSaysWhy) {
  const std::pair<const char *, const char *> cases[] = {
      {"Loyd, 1859", "The clipboard holds no FEN: "},
      {"", "The clipboard holds no FEN: "},
      {"4k3/8/8/8/8/8/8/8 w - - 0 1", "could not find a white king!"},
      {"4k3/8/8/8/8/8/8/P3K3 w - - 0 1", "A pawn can never stand on a BaseLine!"},
  };
  SetUpBoard(kCaptureInOne);
  SetBoxValues({0, 2, 0, 2});
  window->commenttxt->setPlainText(QStringLiteral("keep me"));
  for (const auto &[text, reason] : cases) {
    SCOPED_TRACE(text);
    dialogs.messages.clear();
    SetClipboard(QString::fromLatin1(text));
    window->menPasteFen->trigger();
    EXPECT_EQ(Codes(), Board(kCaptureInOne));
    EXPECT_EQ(BoxValues(), (std::array<int, 4>{0, 2, 0, 2}));
    EXPECT_EQ(window->commenttxt->toPlainText(), "keep me");
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_TRUE(dialogs.messages[0].text.contains(QString::fromLatin1(reason)))
        << dialogs.messages[0].text.toStdString();
  }
  // A good FEN comes back out with Undo, boxes and all.
  SetClipboard(QStringLiteral("4k3/8/8/8/8/8/8/R3K2R w K - 0 1"));
  window->menPasteFen->trigger();
  EXPECT_EQ(BoxValues(), (std::array<int, 4>{1, 0, 0, 0}));
  window->menUndo->trigger();
  EXPECT_EQ(Codes(), Board(kCaptureInOne));
  EXPECT_EQ(BoxValues(), (std::array<int, 4>{0, 2, 0, 2}));
}

} // namespace
