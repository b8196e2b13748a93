// Quintabell: the main window and, through it, the solver control.
#include "app/chessfrm.h"

#include <QApplication>

int main(int argc, char **argv) {
  QApplication application(argc, argv);
  QApplication::setOrganizationName(QStringLiteral("Quintabell"));
  QApplication::setApplicationName(QStringLiteral("Quintabell"));
  QtUserDialogs dialogs;
  std::unique_ptr<chessfrm> window = chessfrm::Create(dialogs);
  if (window == nullptr)
    return 1;
  window->Form_Load(QApplication::arguments().mid(1).join(QLatin1Char(' ')));
  return QApplication::exec();
}
