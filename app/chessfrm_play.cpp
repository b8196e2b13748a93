// The play of a key: Show Play (the menu, or a double click on a key line) places the position
// as for Mate and has the control work out the key's play as a task of its own, shown in a panel
// beside the window. While it runs the window is busy as for a search, and either task button,
// the panel's Cancel or closing the panel stops it.
#include "app/chessfrm.h"
#include "app/play_panel.h"
#include "app/texts.h"
#include "problem/solution_text.h"

#include <QAction>
#include <QCheckBox>
#include <QListWidget>

void chessfrm::ConnectPlay() {
  connect(menShowPlay, &QAction::triggered, this, &chessfrm::menShowPlay_Click);
  connect(slist, &QListWidget::itemDoubleClicked, this, [this] {
    if (!SelectedKey().isEmpty())
      menShowPlay_Click();
  });
  connect(cm.get(), &SolverControl::PlayProgress, this, [this](short progress) {
    if (playing_)
      playPanel_->SetProgress(progress);
  });
  connect(cm.get(), &SolverControl::PlayFound, this, [this](const QString &play) {
    if (playing_)
      playPanel_->SetDocument(play);
  });
  connect(cm.get(), &SolverControl::PlayFinished, this, [this](short result) {
    if (playing_)
      EndPlay(result);
  });
}

QString chessfrm::SelectedKey() const {
  const int row = slist->currentRow();
  if (row < 0 || !MateMode || !ResultsShown)
    return {};
  const QListWidget *list = Scramble ? blist : slist;
  const QListWidgetItem *item = list->item(row);
  problem::SolutionMove move;
  if (item == nullptr || !problem::ReadSolutionLine(item->text().toStdString(), true, move))
    return {};
  return item->text();
}

void chessfrm::menShowPlay_Click() {
  const QString key = SelectedKey();
  // A search still running owns the control; so does a play, which gives way to the new one.
  if (key.isEmpty() || (Busy && !playing_)) {
    dialogs_.Beep();
    return;
  }
  if (playing_)
    CancelPlay();
  if (CheckPosition())
    return;
  if (playPanel_ == nullptr) {
    playPanel_ = new PlayPanel(this);
    connect(playPanel_, &PlayPanel::CancelClicked, this, &chessfrm::CancelPlay);
    connect(playPanel_, &PlayPanel::Closed, this, [this] {
      if (playing_)
        CancelPlay();
    });
    connect(playPanel_, &PlayPanel::MoveSelected, this, [this](const QString &line, bool white) {
      HideMarks();
      if (!Scramble)
        FrameMove(line, white);
    });
  }
  playPanel_->SetScrambled(Scramble != 0);
  playPanel_->Begin(key, *this);
  cm->Play(key, 0);
  if (cm->LSuccess() == 0) {
    dialogs_.ShowMessage(this, texts::kErrorTitle, texts::kUnableToCreate,
                         UserDialogs::Icon::Critical);
    playPanel_->End(PlayPanel::kCancelled);
    return;
  }
  playing_ = true;
  Busy = -1;
  ShowBusy(true);
}

void chessfrm::CancelPlay() {
  if (!playing_)
    return;
  cm->Panic();
  if (cm->LSuccess() == 0 && !cm->EndedBeforeStop()) {
    dialogs_.ShowMessage(this, texts::kErrorTitle, texts::kUnableToTerminate,
                         UserDialogs::Icon::Critical);
  }
  EndPlay(PlayPanel::kCancelled);
}

void chessfrm::EndPlay(short result) {
  playing_ = false;
  Busy = 0;
  ShowBusy(false);
  SelectMan(SelectedMan);
  playPanel_->End(result);
}
