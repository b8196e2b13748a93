#include "tests/app/window_fixture.h"

#include "platform/registry.h"
#include "problem/fen.h"

#include <algorithm>

namespace testing_support {

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

void WindowTest::SetUp() {
  ClearStores();
  window = chessfrm::Create(dialogs);
  ASSERT_NE(window, nullptr) << (dialogs.messages.empty()
                                     ? std::string()
                                     : dialogs.messages.back().text.toStdString());
  ui.emplace(*window);
  window->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
}

void WindowTest::StartWindow(const QString &commandLine) {
  ui.reset();
  window.reset();
  window = chessfrm::Create(dialogs);
  ASSERT_NE(window, nullptr);
  ui.emplace(*window);
  window->Form_Load(commandLine);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
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
  for (int i = 0; i < 4; ++i) {
    values[i] = static_cast<int>(
        std::find(kStates, kStates + 3, ui->castlingBoxes[i]->checkState()) - kStates);
  }
  return values;
}

void WindowTest::SetBoxValues(const std::array<int, 4> &values) {
  for (int i = 0; i < 4; ++i)
    ui->castlingBoxes[i]->setCheckState(kStates[values[i]]);
}

std::vector<QString> WindowTest::LinesOf(const QListWidget *list) {
  std::vector<QString> lines;
  for (int i = 0; i < list->count(); ++i)
    lines.push_back(list->item(i)->text());
  return lines;
}

void WindowTest::ClickLine(int row) {
  QListWidgetItem *item = ui->slist->item(row);
  ASSERT_NE(item, nullptr) << "no line " << row;
  ui->slist->scrollToItem(item);
  QTest::mouseClick(ui->slist->viewport(), Qt::LeftButton, {},
                    ui->slist->visualItemRect(item).center());
}

void WindowTest::ExpectPicturesFollowCodes() const {
  for (int n = 0; n < 64; ++n)
    EXPECT_EQ(ui->feld[n]->picture().toImage(), TilePicture(ui->Code(n))) << "square " << n;
}

bool WindowTest::WaitForRunEnd(int seconds) {
  return QTest::qWaitFor([&] { return !ui->Busy && !ui->Tim->isActive() && ui->ResultsShown; },
                         seconds * 1000);
}

} // namespace testing_support
