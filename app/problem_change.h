// One change of the problem that the user can take back and make again.
#pragma once

#include "app/problem_state.h"

#include <QUndoCommand>

class chessfrm;

class ProblemChange : public QUndoCommand {
public:
  // The change is made already when it is kept; the first redo, which the stack runs at once,
  // leaves it as it is.
  ProblemChange(chessfrm &window, const QString &name, ProblemState before, ProblemState after);

  void undo() override;
  void redo() override;

private:
  chessfrm &window_;
  ProblemState before_;
  ProblemState after_;
  bool made_ = true;
};
