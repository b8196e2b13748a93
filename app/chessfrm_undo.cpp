// Undo and redo of the changes to the problem, the title that names its file and marks it as
// changed, and the question before a change would throw away what was not saved.
#include "app/chessfrm.h"
#include "app/problem_change.h"
#include "app/texts.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QScrollBar>

ProblemChange::ProblemChange(chessfrm &window, const QString &name, ProblemState before,
                             ProblemState after)
    : QUndoCommand(name), window_(window), before_(std::move(before)), after_(std::move(after)) {}

void ProblemChange::undo() { window_.ApplyState(before_, after_); }

void ProblemChange::redo() {
  if (made_) {
    made_ = false;
    return;
  }
  window_.ApplyState(after_, before_);
}

ProblemState chessfrm::CurrentState() const {
  ProblemState state;
  for (int n = 0; n < 64; ++n)
    state.board[n] = Code(n);
  state.comment = commenttxt->toPlainText();
  state.depth = mdscroll->value();
  state.castling = CastlingStates();
  return state;
}

void chessfrm::ApplyState(const ProblemState &state, const ProblemState &other) {
  for (int n = 0; n < 64; ++n) {
    if (state.board[n] != other.board[n])
      SetMan(n, state.board[n]);
  }
  if (state.comment != other.comment)
    commenttxt->setPlainText(state.comment);
  if (state.depth != other.depth)
    SetDepth(state.depth);
  const std::array<QCheckBox *, 4> boxes = CastlingBoxes();
  for (int i = 0; i < 4; ++i) {
    if (state.castling[i] != other.castling[i])
      SetBoxState(boxes[i], state.castling[i]);
  }
}

void chessfrm::RecordChange(const QString &name, const std::function<void()> &change) {
  ProblemState before = CurrentState();
  change();
  ProblemState after = CurrentState();
  if (before != after)
    undo_.push(new ProblemChange(*this, name, std::move(before), std::move(after)));
}

bool chessfrm::MayDiscard() {
  return !IsModified() || dialogs_.Confirm(this, texts::kAppTitle, texts::kDiscardChanges);
}

void chessfrm::UpdateTitle() {
  setWindowModified(IsModified());
  setWindowTitle(currentFile_.isEmpty() ? texts::kCaption + QStringLiteral("[*]")
                                        : QFileInfo(currentFile_).fileName() +
                                              QStringLiteral("[*] - ") + texts::kCaption);
}
