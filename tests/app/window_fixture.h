// The main window under test: headless, with scripted dialogs, and a real control loaded from
// the library beside the tests. Its insides are reached through chessfrm::TestAccess alone.
#pragma once

#include "app/chessfrm.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <deque>
#include <optional>
#include <string_view>
#include <vector>

// The controls, state and operations of the window under the names it gives them. A control is
// taken once: the window never replaces one.
struct chessfrm::TestAccess {
  explicit TestAccess(chessfrm &window) : w(window) {}
  chessfrm &w;

  PictureBox *const board = w.board;
  const std::array<PictureBox *, 64> &feld = w.feld;
  PictureBox *const chest = w.chest;
  const std::array<PictureBox *, 12> &tile = w.tile;
  PictureBox *const imgNoTile = w.imgNoTile;
  FrameMark *const MarkFrom = w.MarkFrom;
  FrameMark *const MarkTo = w.MarkTo;
  PictureBox *const MarkX = w.MarkX;
  const std::array<QCheckBox *, 4> castlingBoxes = w.CastlingBoxes(); // CWS, CWL, CBS, CBL
  QLabel *const mdlbl = w.mdlbl;
  QScrollBar *const mdscroll = w.mdscroll;
  QPushButton *const matecmd = w.matecmd;
  QPushButton *const defencecmd = w.defencecmd;
  QCheckBox *const Check1 = w.Check1;
  QListWidget *const slist = w.slist;
  QPlainTextEdit *const commenttxt = w.commenttxt;
  QTimer *const Tim = w.Tim;
  PlayPanel *const &playPanel = w.playPanel_; // null before the first Show Play
  SolverControl &cm = *w.cm;

  short &Busy = w.Busy;
  short &ResultsShown = w.ResultsShown;
  short &MarksShown = w.MarksShown;
  short &StopOnFound = w.StopOnFound;
  short &Beep = w.Beep;
  int &SelectedMan = w.SelectedMan;
  QString &AppPath = w.AppPath;
  QString &LSavePath = w.LSavePath;

  QAction *Menu(const char *name) const {
    return w.findChild<QAction *>(QString::fromLatin1(name));
  }
  int Code(int square) const { return w.Code(square); }
  void SetMan(int square, int man) { w.SetMan(square, man); }
  void SaveSettings() { w.SaveSettings(); }
};

// Failures show texts as text, not as the bytes of a QString.
inline void PrintTo(const QString &text, std::ostream *os) {
  *os << '"' << text.toStdString() << '"';
}

namespace testing_support {

// Records what the window would show or sound instead of blocking.
class FakeDialogs : public UserDialogs {
public:
  struct Message {
    QString text;
    bool overTheWindow; // the window it belongs to was on the screen
  };
  int beeps = 0;
  std::vector<Message> messages;
  std::vector<QString> questions; // all answered with `answer`
  bool answer = true;
  // The answers to the next file dialogs, in turn; an empty answer, or none left, is a cancel.
  std::deque<QString> fileAnswers;
  std::vector<FileDialogRequest> fileRequests;
  // Plays the user's part on the program's own dialogs; without it each is cancelled.
  std::function<int(QDialog &)> onModal;

  void Beep() override { ++beeps; }
  void ShowMessage(QWidget *parent, const QString &, const QString &text, Icon) override {
    messages.push_back({text, parent != nullptr && parent->isVisible()});
  }
  bool Confirm(QWidget *, const QString &, const QString &text) override {
    questions.push_back(text);
    return answer;
  }
  QString AskFileName(QWidget *, const FileDialogRequest &request) override;
  int RunModal(QDialog &dialog) override { return onModal ? onModal(dialog) : 0; }
};

// The square number of "e1" and the like: 8 * file + rank.
constexpr int Sq(std::string_view name) { return 8 * (name[0] - 'a') + (name[1] - '1'); }

// ManCodes by name, as the piece box orders them.
enum Man { kEmpty, kWP, kWR, kWN, kWB, kWQ, kWK, kBP, kBR, kBN, kBB, kBQ, kBK };

// Positions that several tests solve; their keys were worked out with quintabell-solve.
// Mate in two: Ne8-c7 mates at once, Ka6-b6 waits for ...h5.
inline constexpr const char *kTwoKeys = "k3N3/P7/K6p/8/8/8/8/8";
// The same with a white pawn on e2: at depth 2 e2-e4 and e2-e3 are keys too, and come first.
inline constexpr const char *kFourKeys = "k3N3/P7/K6p/8/8/8/4P3/8";
// Mate in one by Re2xe8, taking the knight; king e1 and rook a1 stand at home.
inline constexpr const char *kCaptureInOne = "4n1k1/5ppp/8/8/8/8/4R3/R3K3";
// A mate in six with White's long castling: far too deep to finish while a test waits.
inline constexpr const char *kDeepSix = "4k3/1pp2pp1/8/b1B1pB2/rp6/p5N1/3R4/R2bK3";

// The ManCodes of a FEN placement ("" is the empty board).
std::array<int, 64> Board(const std::string &fen);

// All tests of the binary share one temporary home: each starts as from a first start, with no
// settings, no registry and nothing under the data home.
void ClearStores();

class WindowTest : public ::testing::Test {
protected:
  // A window shown without the load step, over empty stores.
  void SetUp() override {
    ClearStores();
    Launch(std::nullopt);
  }

  // A new window in place of the current one (which goes without saving anything), through the
  // load step with this command line, as the program starts.
  void StartWindow(const QString &commandLine = QString()) { Launch(commandLine); }
  void Launch(const std::optional<QString> &commandLine);

  // Puts the men on the board through SetMan; rights are the boxes' business.
  void SetUpBoard(const std::string &fen);
  // Waits for the run to end, the timer's tick included, within a bound.
  bool WaitForRunEnd() {
    return QTest::qWaitFor([&] { return !ui->Busy && !ui->Tim->isActive() && ui->ResultsShown; },
                           30000);
  }
  bool SolveProblem(const std::string &fen, int depth, bool mate = true) {
    SetUpBoard(fen);
    ui->mdscroll->setValue(depth - 1);
    (mate ? ui->matecmd : ui->defencecmd)->click();
    return WaitForRunEnd();
  }
  void Trigger(const char *menuEntry) { ui->Menu(menuEntry)->trigger(); }
  // File > Open with a file the user names; an example from the program's folder by default.
  void Open(const QString &file, bool example = true) {
    dialogs.fileAnswers = {example ? QCoreApplication::applicationDirPath() + "/CMT/" + file
                                   : file};
    Trigger("menopen");
  }
  std::array<int, 64> Codes() const;
  // The castling boxes CWS, CWL, CBS, CBL as files and settings number them: 0 unchecked,
  // 1 checked, 2 grayed.
  std::array<int, 4> BoxValues() const;
  void SetBoxValues(const std::array<int, 4> &values);
  // The lines of slist, or of blist.
  std::vector<QString> Lines() const;

  // As the user does it: a press on a square, a click in the piece box (0 is the empty-square
  // tool), a click on a line of the solution list, a man carried to a point of the board.
  void ClickSquare(int square, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mouseClick(ui->feld[square], button);
  }
  void ChooseMan(int man) {
    QTest::mouseClick(man == 0 ? ui->imgNoTile : ui->tile[man - 1], Qt::LeftButton);
  }
  void ClickLine(int row) {
    QTest::mouseClick(ui->slist->viewport(), Qt::LeftButton, {},
                      ui->slist->visualItemRect(ui->slist->item(row)).center());
  }
  void Drag(int from, QPoint drop);
  QPoint Centre(int square) const { return ui->feld[square]->geometry().center(); }

  // The rectangle a frame covers around the squares named, "e4" or first and last as "e1h1",
  // `margin` pixels outside them.
  QRect Around(std::string_view squares, int margin) const {
    return ui->feld[Sq(squares.substr(0, 2))]
        ->geometry()
        .united(ui->feld[Sq(squares.substr(squares.size() - 2))]->geometry())
        .adjusted(-margin, -margin, margin, margin);
  }
  // Every square shows the picture of the man it holds.
  void ExpectPicturesFollowCodes() const {
    for (int n = 0; n < 64; ++n)
      EXPECT_EQ(ui->feld[n]->picture().toImage(), TilePicture(ui->Code(n))) << "square " << n;
  }
  QImage TilePicture(int man) const {
    return man == 0 ? QImage() : ui->tile[man - 1]->picture().toImage();
  }

  // A file or folder in a temporary folder of the test's own; the folder itself, separator
  // included, without a name.
  QString Path(const QString &name = QString()) const { return dir.path() + "/" + name; }

  QTemporaryDir dir;
  FakeDialogs dialogs;
  std::unique_ptr<chessfrm> window;
  std::optional<chessfrm::TestAccess> ui;
};

} // namespace testing_support
