// Commands that change the whole problem at once: switching the colours, a new problem, and
// clearing the comment.
#include "app/chessfrm.h"

#include <QListWidget>
#include <QPlainTextEdit>

// The colour-reversed position: each man changes colour and moves to the same file on the
// mirrored rank. Only the board changes; boxes, list, marks and the solver are left alone.
void chessfrm::mentoggle_Click() {
  for (int file = 0; file < 8; ++file) {
    for (int k = 0; k < 4; ++k)
      std::swap(feld[8 * file + k]->tag, feld[8 * file + 7 - k]->tag);
  }
  for (int n = 0; n < 64; ++n) {
    int man = Code(n);
    if (man > 0)
      man = man < 7 ? man + 6 : man - 6;
    feld[n]->tag = man;
    feld[n]->setPicture(ManPicture(man));
  }
  UpdateTitle();
}

void chessfrm::NewProblem() {
  slist->clear();
  for (int n = 0; n < 64; ++n) {
    feld[n]->tag = 0;
    feld[n]->setPicture({});
  }
  cm->Clear();
  commenttxt->setPlainText(QString());
  ResultsShown = 0;
  HideMarks();
  MarksShown = 0;
  UpdateTitle();
}

void chessfrm::menclearcomment_Click() { commenttxt->setPlainText(QString()); }
