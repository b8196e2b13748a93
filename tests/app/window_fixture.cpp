#include "tests/app/window_fixture.h"

#include "platform/registry.h"
#include "problem/fen.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QSettings>

#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

namespace testing_support {

QByteArray FileBytes(const QString &path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteBytes(const QString &path, const QByteArray &bytes) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
  ASSERT_EQ(file.write(bytes), bytes.size());
}

void ClearStores() {
  QSettings settings;
  settings.clear();
  settings.sync();
  std::error_code error;
  std::filesystem::remove(platform::Registry::DefaultPath(), error);
  // The settings may live under the data home too; their folder stays, emptied above.
  const QString keep = QFileInfo(settings.fileName()).absolutePath();
  QDir data(qEnvironmentVariable("XDG_DATA_HOME"));
  for (const QFileInfo &entry :
       data.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)) {
    if (entry.absoluteFilePath() == keep)
      continue;
    if (entry.isDir() && !entry.isSymLink())
      QDir(entry.absoluteFilePath()).removeRecursively();
    else
      QFile::remove(entry.absoluteFilePath());
  }
}

void WindowTest::SetUp() {
  ClearStores();
  window = chessfrm::Create(dialogs);
  ASSERT_NE(window, nullptr) << (dialogs.messages.empty()
                                     ? std::string()
                                     : dialogs.messages.back().text.toStdString());
  window->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
}

void WindowTest::TearDown() { window.reset(); }

void WindowTest::StartWindow(const QString &commandLine) {
  window.reset();
  window = chessfrm::Create(dialogs);
  ASSERT_NE(window, nullptr);
  window->Form_Load(commandLine);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
}

void WindowTest::SetUpBoard(const std::string &fen) {
  problem::FenPosition position;
  if (!fen.empty()) {
    std::string error;
    const std::string full = fen.find(' ') == std::string::npos ? fen + " w - - 0 1" : fen;
    ASSERT_TRUE(problem::ParseFen(full, position, error)) << error;
  }
  for (int n = 0; n < 64; ++n)
    window->SetMan(n, position.board[n]);
}

void WindowTest::SetUpProblem(const std::string &fen, int depth) {
  SetUpBoard(fen);
  window->mdscroll->setValue(depth - 1);
}

bool WindowTest::SolveProblem(const std::string &fen, int depth, bool mate) {
  SetUpProblem(fen, depth);
  return Solve(mate ? window->matecmd : window->defencecmd);
}

std::array<int, 64> WindowTest::Codes() const {
  std::array<int, 64> codes{};
  for (int n = 0; n < 64; ++n)
    codes[n] = window->Code(n);
  return codes;
}

static std::array<QCheckBox *, 4> Boxes(const chessfrm &window) {
  return {window.chkCWS, window.chkCWL, window.chkCBS, window.chkCBL};
}

std::array<int, 4> WindowTest::BoxValues() const {
  std::array<int, 4> values{};
  for (int i = 0; i < 4; ++i) {
    const Qt::CheckState state = Boxes(*window)[i]->checkState();
    values[i] = state == Qt::Checked ? 1 : state == Qt::PartiallyChecked ? 2 : 0;
  }
  return values;
}

void WindowTest::SetBoxValues(const std::array<int, 4> &values) {
  for (int i = 0; i < 4; ++i) {
    Boxes(*window)[i]->setCheckState(values[i] == 1   ? Qt::Checked
                                     : values[i] == 2 ? Qt::PartiallyChecked
                                                      : Qt::Unchecked);
  }
}

static std::vector<QString> LinesOf(const QListWidget *list) {
  std::vector<QString> lines;
  for (int i = 0; i < list->count(); ++i)
    lines.push_back(list->item(i)->text());
  return lines;
}

std::vector<QString> WindowTest::Lines() const { return LinesOf(window->slist); }

std::vector<QString> WindowTest::HiddenLines() const { return LinesOf(window->blist); }

void WindowTest::ClickSquare(int square, Qt::MouseButton button) {
  QTest::mouseClick(window->feld[square], button);
}

void WindowTest::ChooseMan(int man) {
  QTest::mouseClick(man == 0 ? window->imgNoTile : window->tile[man - 1], Qt::LeftButton);
}

void WindowTest::ClickLine(int row) {
  QListWidgetItem *item = window->slist->item(row);
  ASSERT_NE(item, nullptr) << "no line " << row;
  window->slist->scrollToItem(item);
  QTest::mouseClick(window->slist->viewport(), Qt::LeftButton, {},
                    window->slist->visualItemRect(item).center());
}

int WindowTest::RowOf(const QString &text) const {
  const std::vector<QString> lines = Lines();
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i] == text)
      return static_cast<int>(i);
  }
  return -1;
}

bool WindowTest::WaitForRunEnd(int seconds) {
  return QTest::qWaitFor(
      [&] { return !window->Busy && !window->Tim->isActive() && window->ResultsShown; },
      seconds * 1000);
}

bool WindowTest::Solve(QPushButton *button, int seconds) {
  button->click();
  return WaitForRunEnd(seconds);
}

QRect WindowTest::Around(int first, int last, int margin) const {
  const QRect from = window->feld[first]->geometry();
  const QRect to = window->feld[last]->geometry();
  return QRect(from.left() - margin, from.top() - margin,
               to.left() + 32 + margin - (from.left() - margin), 32 + 2 * margin);
}

QImage WindowTest::PictureOf(int square) const { return window->feld[square]->picture().toImage(); }

QImage WindowTest::TilePicture(int man) const {
  return man == 0 ? QImage() : window->tile[man - 1]->picture().toImage();
}

} // namespace testing_support
