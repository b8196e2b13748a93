// The solution list: the move of the selected line shown with the marks, and scrambling, which
// hides the solutions behind numbered placeholders until the box is cleared.
#include "app/chessfrm.h"
#include "app/play_panel.h"
#include "app/run_texts.h"
#include "app/texts.h"

#include <QCheckBox>
#include <QListWidget>

void chessfrm::slist_Click() {
  QListWidgetItem *item = slist->currentItem();
  if (item == nullptr)
    return;
  HideMarks();
  SelectedLine = item->text();
  ShowMove();
}

// Frames the squares first..last of one rank (square numbers), `margin` pixels outside the
// men's pictures.
void chessfrm::MarkSquares(FrameMark *mark, int first, int last, int margin) {
  const QRect from = feld[first]->geometry();
  const QRect to = feld[last]->geometry();
  mark->setGeometry(from.left() - margin, from.top() - margin,
                    to.left() + to.width() + margin - (from.left() - margin),
                    from.height() + 2 * margin);
  mark->show();
  mark->raise();
}

void chessfrm::ShowMove() { FrameMove(SelectedLine, MateMode != 0); }

void chessfrm::FrameMove(const QString &t, bool whiteMoves) {
  if (t.size() < 4)
    return;
  const QChar separator = t.at(3).toLower();
  if (separator != QLatin1Char('-') && separator != QLatin1Char('x'))
    return;
  const int from = 8 * FileIndex(t, 2) + DigitAt(t, 3) - 1;
  const int to = 8 * FileIndex(t, 5) + DigitAt(t, 6) - 1;
  if (t.startsWith(QLatin1String("  0-0"))) {
    const int rank = whiteMoves ? 0 : 7;
    const bool longCastling = t.startsWith(QLatin1String("  0-0-0"));
    const int kingFile = 4;
    const int firstFile = longCastling ? 0 : kingFile;
    const int lastFile = longCastling ? kingFile : 7;
    MarkSquares(MarkFrom, 8 * firstFile + rank, 8 * lastFile + rank, 2);
    MarkSquares(MarkTo, 8 * (longCastling ? 2 : 5) + rank, 8 * (longCastling ? 3 : 6) + rank, 0);
    MarksShown = -1;
    return;
  }
  if (from < 0 || from > 63 || to < 0 || to > 63)
    return;
  MarkSquares(MarkFrom, from, from, 2);
  MarkSquares(MarkTo, to, to, 2);
  // The X lies on the man the move takes; a capture in passing lands on an empty square. A move
  // deeper in a play may reach a square the board's man has left.
  if (separator == QLatin1Char('x') && Code(to) != 0) {
    MarkX->move(feld[to]->pos());
    MarkX->tag = to;
    MarkX->show();
    MarkX->raise();
  }
  MarksShown = -1;
}

void chessfrm::Check1_Click() {
  Scramble = Check1->isChecked() ? 1 : 0;
  if (playPanel_ != nullptr)
    playPanel_->SetScrambled(Scramble != 0);
  if (Scramble) {
    HideMarks();
    blist->clear();
    for (int i = 1; i <= slist->count(); ++i) {
      const QString text = slist->item(i - 1)->text();
      blist->addItem(text);
      if (!IsNotice(text))
        slist->item(i - 1)->setText(texts::kPlaceholder.arg(i));
    }
    return;
  }
  for (int i = 1; i <= blist->count() && i <= slist->count(); ++i) {
    slist->item(i - 1)->setText(blist->item(i - 1)->text());
  }
  blist->clear();
  ShowMove();
}
