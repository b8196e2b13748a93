// Solving runs: the task buttons that start and cancel, the control's three events handed to
// the window's thread, the depth slider, the options, and the timer that closes a run.
#include "app/chessfrm.h"
#include "app/run_texts.h"
#include "app/texts.h"
#include "problem/cmt_file.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>

namespace {

short Flag(bool on) { return on ? -1 : 0; }

} // namespace

void chessfrm::ConnectSolving() {
  // The slider's value is the depth minus one. Mate in 30 is far beyond what a search finishes
  // in reasonable time, and problem files hold no deeper problem.
  mdscroll->setRange(0, problem::kMaxDepthValue);
  connect(matecmd, &QPushButton::clicked, this, [this] { TaskButton_Click(true); });
  connect(defencecmd, &QPushButton::clicked, this, [this] { TaskButton_Click(false); });
  connect(cm.get(), &SolverControl::SolutionFound, this, &chessfrm::cm_SolutionFound);
  connect(cm.get(), &SolverControl::ProgressUpdate, this, &chessfrm::cm_ProgressUpdate);
  connect(cm.get(), &SolverControl::Finished, this, &chessfrm::cm_Finished);
  connect(Tim, &QTimer::timeout, this, &chessfrm::Tim_Timer);
  connect(mdscroll, &QScrollBar::valueChanged, this, &chessfrm::mdscroll_Change);
  connect(mdscroll, &QScrollBar::sliderMoved, this, &chessfrm::mdscroll_Scroll);
  connect(menstoponfound, &QAction::triggered, this, &chessfrm::menstoponfound_Click);
  connect(menbeep, &QAction::triggered, this, &chessfrm::menbeep_Click);
  connect(slist, &QListWidget::currentRowChanged, this, &chessfrm::slist_Click);
  connect(slist, &QListWidget::itemClicked, this, &chessfrm::slist_Click);
  connect(Check1, &QCheckBox::toggled, this, &chessfrm::Check1_Click);
}

void chessfrm::TaskButton_Click(bool mate) {
  if (playing_) {
    CancelPlay();
    return;
  }
  if (Busy) {
    slist->addItem(texts::kTerminatedLine);
    terminatethread();
    return;
  }
  if (CheckPosition())
    return;
  BeginSolving();
  slist->clear();
  blist->clear();
  HideMarks();
  Busy = -1;
  MateMode = Flag(mate);
  if (mate) {
    cm->Mate(StopOnFound);
  } else {
    cm->Defend(StopOnFound);
  }
  if (cm->LSuccess() == 0) {
    dialogs_.ShowMessage(this, texts::kErrorTitle, texts::kUnableToCreate,
                         UserDialogs::Icon::Critical);
    Busy = 0;
    EndSolving();
  }
}

void chessfrm::BeginSolving() {
  SolveStart = QDateTime::currentDateTime();
  Info->setText(QStringLiteral("0%"));
  ShowBusy(true);
  SelectedMan = 0;
}

void chessfrm::ShowBusy(bool busy) {
  matecmd->setText(busy ? texts::kCancel : texts::kMate);
  defencecmd->setText(busy ? texts::kCancel : texts::kDefend);
  if (busy)
    client_->setCursor(Qt::BusyCursor);
  for (QAction *item : {mennew, menopen, menclearboard, menstoponfound, menPasteFen})
    item->setEnabled(!busy);
  mdscroll->setEnabled(!busy);
}

void chessfrm::terminatethread() {
  if (playing_) {
    CancelPlay();
    return;
  }
  if (!Busy)
    return;
  cm->Panic();
  // A search that ended by itself as the user cancelled it leaves the control nothing to stop;
  // only one still running that cannot be stopped is worth a message.
  if (cm->LSuccess() == 0 && !cm->EndedBeforeStop()) {
    dialogs_.ShowMessage(this, texts::kErrorTitle, texts::kUnableToTerminate,
                         UserDialogs::Icon::Critical);
  }
  Busy = 0;
  Tim->start();
}

void chessfrm::cm_SolutionFound(const QString &solution) {
  if (solution.startsWith(QLatin1String(">> "))) {
    if (solution.contains(QLatin1String("STALE"), Qt::CaseInsensitive)) {
      slist->addItem(texts::kStalemateLine);
    } else {
      slist->addItem(texts::kCheckmateLine);
    }
    dialogs_.Beep();
  } else if (Scramble) {
    slist->addItem(texts::kPlaceholder.arg(slist->count() + 1));
    blist->addItem(solution);
  } else {
    slist->addItem(solution);
  }
}

void chessfrm::cm_ProgressUpdate(short progress) {
  Info->setText(QStringLiteral("%1%").arg(progress));
}

void chessfrm::cm_Finished() {
  Busy = 0;
  if (Beep)
    dialogs_.Beep();
  int solutions = 0;
  for (int i = 0; i < slist->count(); ++i)
    solutions += !IsNotice(slist->item(i)->text());
  if (solutions > 0) {
    if (StopOnFound) {
      slist->addItem(texts::kStoppedLine);
    } else if (solutions == 1) {
      slist->addItem(texts::kOneSolutionLine);
    } else {
      slist->addItem(texts::kSolutionsLine.arg(solutions));
    }
  } else {
    slist->addItem(texts::kNoSolutionLine);
  }
  Tim->start();
}

// The end of a run always happens here, on the window's thread, never inside an event.
void chessfrm::Tim_Timer() {
  Tim->stop();
  EndSolving();
  slist->setCurrentRow(0);
  slist->setFocus();
  slist->update();
}

void chessfrm::EndSolving() {
  ResultsShown = -1;
  Info->setText(QString());
  ShowBusy(false);
  SelectMan(0);
  // Whole seconds between the two clock readings, as a clock of one-second resolution tells.
  const QDateTime now = QDateTime::currentDateTime();
  const qint64 seconds = SolveStart.toSecsSinceEpoch() <= now.toSecsSinceEpoch()
                             ? now.toSecsSinceEpoch() - SolveStart.toSecsSinceEpoch()
                             : 0;
  slist->addItem(ElapsedTimeLine(seconds));
}

void chessfrm::mdscroll_Change() {
  const int value = mdscroll->value();
  mdlbl->setText(DepthLabel(value, false));
  cm->setCmMD(static_cast<short>(value + 1));
  if (ResultsShown) {
    slist->clear();
    HideMarks();
    ResultsShown = 0;
  }
}

void chessfrm::mdscroll_Scroll(int value) { mdlbl->setText(DepthLabel(value, true)); }

void chessfrm::menstoponfound_Click() { StopOnFound = Flag(menstoponfound->isChecked()); }

void chessfrm::menbeep_Click() { Beep = Flag(menbeep->isChecked()); }
