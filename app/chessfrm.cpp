#include "app/chessfrm.h"
#include "app/run_texts.h"
#include "app/texts.h"

#include <QCheckBox>
#include <QEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>

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
  // The last hundred changes can be taken back: a history without end would grow for as long
  // as the program runs.
  undo_.setUndoLimit(100);
  CreateControls();
  ArrangeControls();
  client_->installEventFilter(this);
  resize(minimumSizeHint());
  ConnectEditor();
  ConnectSolving();
  ConnectPlay();
  ConnectMenus();
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
  savedState_ = CurrentState();
  UpdateTitle();
}

chessfrm::~chessfrm() = default;

void chessfrm::ConnectMenus() {
  // The commands that change the board can be taken back; those that throw a problem away ask
  // first when it has changed since it was last saved. (A search disables those; Switch works
  // on the window's board alone and stays available.)
  const auto editing = [this](const QString &name, void (chessfrm::*change)()) {
    return [this, name, change] { RecordChange(name, [this, change] { (this->*change)(); }); };
  };
  const auto discarding = [this, editing](const QString &name) {
    return [this, change = editing(name, &chessfrm::NewProblem)] {
      if (MayDiscard())
        change();
    };
  };
  connect(mentoggle, &QAction::triggered, this,
          editing(QStringLiteral("Switch Black & White"), &chessfrm::mentoggle_Click));
  connect(mennew, &QAction::triggered, this, discarding(QStringLiteral("New")));
  connect(menclearboard, &QAction::triggered, this, discarding(QStringLiteral("Clear Board")));
  connect(menclearcomment, &QAction::triggered, this, &chessfrm::menclearcomment_Click);
  connect(menopen, &QAction::triggered, this, &chessfrm::menopen_Click);
  connect(menSave, &QAction::triggered, this, &chessfrm::menSave_Click);
  connect(menclose, &QAction::triggered, this, &chessfrm::menclose_Click);
  connect(menquit, &QAction::triggered, this, &QWidget::close);
  connect(menCopy, &QAction::triggered, this, &chessfrm::menCopy_Click);
  connect(menCopyFen, &QAction::triggered, this, &chessfrm::menCopyFen_Click);
  connect(menPasteFen, &QAction::triggered, this, &chessfrm::menPasteFen_Click);
  connect(menXportBmp, &QAction::triggered, this, &chessfrm::menXportBmp_Click);
  connect(menXportPng, &QAction::triggered, this, &chessfrm::menXportPng_Click);
  connect(menXportSvg, &QAction::triggered, this, &chessfrm::menXportSvg_Click);
  connect(menPrint, &QAction::triggered, this, &chessfrm::menPrint_Click);
  connect(menPrintDiagram, &QAction::triggered, this, &chessfrm::menPrintDiagram_Click);
  connect(menViewHelp, &QAction::triggered, this, [this] { ShowHelp(0); });
  connect(meninfo, &QAction::triggered, this, &chessfrm::meninfo_Click);

  const auto undoing = [this](void (QUndoStack::*step)()) {
    return [this, step] {
      if (Busy)
        dialogs_.Beep();
      else
        (undo_.*step)();
    };
  };
  connect(menUndo, &QAction::triggered, this, undoing(&QUndoStack::undo));
  connect(menRedo, &QAction::triggered, this, undoing(&QUndoStack::redo));
  menUndo->setEnabled(false);
  menRedo->setEnabled(false);
  connect(&undo_, &QUndoStack::canUndoChanged, menUndo, &QAction::setEnabled);
  connect(&undo_, &QUndoStack::canRedoChanged, menRedo, &QAction::setEnabled);

  // The task buttons' keys; the editor's letters and the menus' keys stay as they were.
  const std::pair<QPushButton *, QKeySequence> tasks[] = {
      {matecmd, QKeySequence(Qt::CTRL | Qt::Key_M)},
      {defencecmd, QKeySequence(Qt::CTRL | Qt::Key_D)}};
  for (const auto &[button, keys] : tasks) {
    connect(new QShortcut(keys, this), &QShortcut::activated, button, &QPushButton::click);
    button->setToolTip(QStringLiteral("%1 (%2)").arg(button->text(), keys.toString()));
  }

  connect(commenttxt, &QPlainTextEdit::textChanged, this, &chessfrm::UpdateTitle);
  connect(mdscroll, &QScrollBar::valueChanged, this, &chessfrm::UpdateTitle);
  for (QCheckBox *box : CastlingBoxes())
    connect(box, &QCheckBox::stateChanged, this, &chessfrm::UpdateTitle);
}

// Each time the window becomes active the board takes the keyboard, so that the editor keys
// work at once.
bool chessfrm::event(QEvent *event) {
  if (event->type() == QEvent::WindowActivate)
    board->setFocus(Qt::ActiveWindowFocusReason);
  return QMainWindow::event(event);
}
