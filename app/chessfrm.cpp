#include "app/chessfrm.h"
#include "app/run_texts.h"
#include "app/texts.h"

#include <QCheckBox>
#include <QEvent>
#include <QLabel>
#include <QScrollBar>

std::unique_ptr<chessfrm> chessfrm::Create(UserDialogs &dialogs) {
  QString error;
  std::unique_ptr<SolverControl> control = SolverControl::Create(&error);
  if (control == nullptr) {
    dialogs.ShowMessage(nullptr, texts::kErrorTitle, error, UserDialogs::Icon::Critical);
    return nullptr;
  }
  return std::unique_ptr<chessfrm>(new chessfrm(std::move(control), dialogs));
}

chessfrm::chessfrm(std::unique_ptr<SolverControl> control, UserDialogs &dialogs)
    : cm(std::move(control)), dialogs_(dialogs) {
  setWindowTitle(texts::kCaption);
  CreateControls();
  ArrangeControls();
  ConnectEditor();
  ConnectSolving();
  // The editor's and the runs' starting state.
  SelectedMan = 0;
  Busy = 0;
  cm->setCmMD(1);
  mdscroll->setValue(0);
  mdlbl->setText(DepthLabel(0, false));
  ResultsShown = 0;
  SelectedLine = texts::kNoLineSelected;
  Check1->setChecked(false);
  Scramble = 0;
  connect(mentoggle, &QAction::triggered, this, &chessfrm::mentoggle_Click);
  connect(menclearcomment, &QAction::triggered, this, &chessfrm::menclearcomment_Click);
  connect(mennew, &QAction::triggered, this, &chessfrm::NewProblem);
  connect(menclearboard, &QAction::triggered, this, &chessfrm::NewProblem);
  connect(menopen, &QAction::triggered, this, &chessfrm::menopen_Click);
  connect(menclose, &QAction::triggered, this, &chessfrm::menclose_Click);
  connect(menquit, &QAction::triggered, this, &QWidget::close);
  connect(menCopy, &QAction::triggered, this, &chessfrm::menCopy_Click);
  connect(menXportBmp, &QAction::triggered, this, &chessfrm::menXportBmp_Click);
  connect(menPrint, &QAction::triggered, this, &chessfrm::menPrint_Click);
  connect(menViewHelp, &QAction::triggered, this, [this] { ShowHelp(0); });
  connect(meninfo, &QAction::triggered, this, &chessfrm::meninfo_Click);
}

chessfrm::~chessfrm() = default;

// Each time the window becomes active the board takes the keyboard, so that the editor keys
// work at once.
bool chessfrm::event(QEvent *event) {
  if (event->type() == QEvent::WindowActivate)
    board->setFocus(Qt::ActiveWindowFocusReason);
  return QMainWindow::event(event);
}
