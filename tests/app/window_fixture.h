// The main window under test: headless, with scripted dialogs, and a real control loaded from
// the library beside the tests.
#pragma once

#include "app/chessfrm.h"

#include <gtest/gtest.h>

#include <QString>
#include <array>
#include <deque>
#include <functional>
#include <string_view>
#include <vector>

class QPushButton;

// Failures show texts as text, not as the bytes of a QString.
inline void PrintTo(const QString &text, std::ostream *os) {
  *os << '"' << text.toStdString() << '"';
}

namespace testing_support {

// Records what the window would show or sound instead of blocking.
class FakeDialogs : public UserDialogs {
public:
  struct Message {
    QString title;
    QString text;
    Icon icon;
  };
  int beeps = 0;
  std::vector<Message> messages;
  // The answers to the next file dialogs, in turn; when they run out, `fileName` answers.
  // An empty answer is a cancel.
  std::deque<QString> fileAnswers;
  QString fileName;
  std::vector<FileDialogRequest> fileRequests;

  void Beep() override { ++beeps; }
  void ShowMessage(QWidget *, const QString &title, const QString &text, Icon icon) override {
    messages.push_back({title, text, icon});
  }
  QString AskFileName(QWidget *, const FileDialogRequest &request) override {
    fileRequests.push_back(request);
    if (fileAnswers.empty())
      return fileName;
    const QString answer = fileAnswers.front();
    fileAnswers.pop_front();
    return answer;
  }
  // The program's own dialogs are not shown: `onModal` plays the user's part on them (clicking
  // their buttons), and without it each answers as if cancelled.
  int modalRuns = 0;
  std::function<int(QDialog &)> onModal;
  int RunModal(QDialog &dialog) override {
    ++modalRuns;
    return onModal ? onModal(dialog) : 0;
  }
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

// A file's whole content, and a file written with exactly these bytes (folders made as needed).
QByteArray FileBytes(const QString &path);
void WriteBytes(const QString &path, const QByteArray &bytes);

// Every test starts from a first start: no settings, no registry, nothing under the data home.
// All tests of the binary share one temporary home, so what one test leaves must go.
void ClearStores();

class WindowTest : public ::testing::Test {
protected:
  void SetUp() override;
  void TearDown() override;

  // A new window in place of the current one (which goes without saving anything), through the
  // load step with this command line, as the program starts.
  void StartWindow(const QString &commandLine = QString());

  // Puts the men of a FEN placement (side and the rest may be left out; "" is the empty board)
  // on the board through SetMan; rights are the boxes' business.
  void SetUpBoard(const std::string &fen);
  // The board and the depth of a problem; solving it waits for the run to end.
  void SetUpProblem(const std::string &fen, int depth);
  bool SolveProblem(const std::string &fen, int depth, bool mate = true);
  std::array<int, 64> Codes() const;
  // The castling boxes CWS, CWL, CBS, CBL as files and settings hold them: 0 unchecked,
  // 1 checked, 2 grayed.
  std::array<int, 4> BoxValues() const;
  void SetBoxValues(const std::array<int, 4> &values);
  // The lines of slist, or of blist.
  std::vector<QString> Lines() const;
  std::vector<QString> HiddenLines() const;

  // As the user does it: a press on a square, a click in the piece box (0 is the empty-square
  // tool), a click on a line of the solution list.
  void ClickSquare(int square, Qt::MouseButton button = Qt::LeftButton);
  void ChooseMan(int man);
  void Place(int man, int square) {
    ChooseMan(man);
    ClickSquare(square);
  }
  void ClickLine(int row);
  int RowOf(const QString &text) const;

  // Processes events until the run has ended (the timer's tick included), within a bound.
  bool WaitForRunEnd(int seconds = 30);
  // Clicks the task button and waits for the run to end.
  bool Solve(QPushButton *button, int seconds = 30);

  // The rectangle a frame covers around a square's picture, `margin` pixels outside it.
  QRect Around(int first, int last, int margin) const;
  QImage PictureOf(int square) const;
  QImage TilePicture(int man) const;

  FakeDialogs dialogs;
  std::unique_ptr<chessfrm> window;
};

} // namespace testing_support
