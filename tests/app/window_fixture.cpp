#include "tests/app/window_fixture.h"

#include "platform/registry.h"
#include "problem/fen.h"

#include <algorithm>

namespace testing_support {

QString FakeDialogs::AskFileName(QWidget *, const FileDialogRequest &request) {
  fileRequests.push_back(request);
  if (fileAnswers.empty())
    return {};
  const QString answer = fileAnswers.front();
  fileAnswers.pop_front();
  return answer;
}

std::array<int, 64> Board(const std::string &fen) {
  problem::FenPosition position;
  std::string error;
  EXPECT_TRUE(fen.empty() || problem::ParseFen(fen + " w - - 0 1", position, error)) << error;
  std::array<int, 64> codes{};
  std::copy(position.board.begin(), position.board.end(), codes.begin());
  return codes;
}

void ClearStores() {
  QSettings().clear();
  std::error_code error;
  std::filesystem::remove(platform::Registry::DefaultPath(), error);
  QDir(qEnvironmentVariable("XDG_DATA_HOME")).removeRecursively();
}

void WindowTest::Launch(const std::optional<QString> &commandLine) {
  ui.reset();
  window.reset();
  window = chessfrm::Create(dialogs);
  ASSERT_NE(window, nullptr) << (dialogs.messages.empty()
                                     ? ""
                                     : dialogs.messages.back().text.toStdString());
  ui.emplace(*window);
  commandLine ? window->Form_Load(*commandLine) : window->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
}

void WindowTest::SetUpBoard(const std::string &fen) {
  const std::array<int, 64> codes = Board(fen);
  for (int n = 0; n < 64; ++n)
    ui->SetMan(n, codes[n]);
}

std::array<int, 64> WindowTest::Codes() const {
  std::array<int, 64> codes{};
  for (int n = 0; n < 64; ++n)
    codes[n] = ui->Code(n);
  return codes;
}

// Qt's own numbers put grayed and checked the other way round.
static constexpr Qt::CheckState kStates[] = {Qt::Unchecked, Qt::Checked, Qt::PartiallyChecked};

std::array<int, 4> WindowTest::BoxValues() const {
  std::array<int, 4> values{};
  for (int i = 0; i < 4; ++i)
    values[i] = static_cast<int>(
        std::find(kStates, kStates + 3, ui->castlingBoxes[i]->checkState()) - kStates);
  return values;
}

void WindowTest::SetBoxValues(const std::array<int, 4> &values) {
  for (int i = 0; i < 4; ++i)
    ui->castlingBoxes[i]->setCheckState(kStates[values[i]]);
}

std::vector<QString> WindowTest::Lines() const {
  std::vector<QString> lines;
  for (int i = 0; i < ui->slist->count(); ++i)
    lines.push_back(ui->slist->item(i)->text());
  return lines;
}

void WindowTest::Drag(int from, QPoint drop) {
  PictureBox *square = ui->feld[from];
  drop = square->mapFrom(ui->board, drop);
  QTest::mousePress(square, Qt::LeftButton);
  QTest::mouseMove(square, drop);
  QTest::mouseRelease(square, Qt::LeftButton, {}, drop);
}

} // namespace testing_support
