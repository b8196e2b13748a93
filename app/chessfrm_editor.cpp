// The board editor: placing and picking up men with the mouse, the pen shown as the pointer,
// the editor keys, and the refusal of every edit while a search runs.
#include "app/chessfrm.h"
#include "app/pictures.h"
#include "app/texts.h"

#include <QKeyEvent>
#include <QListWidget>
#include <QScrollBar>

void chessfrm::ConnectEditor() {
  for (int n = 0; n < 64; ++n) {
    connect(feld[n], &PictureBox::pressed, this,
            [this, n](Qt::MouseButton button) { feld_MouseDown(n, button); });
  }
  // A press on the capture mark edits the square below it.
  connect(MarkX, &PictureBox::pressed, this,
          [this](Qt::MouseButton button) { feld_MouseDown(MarkX->tag, button); });
  for (int k = 0; k < 12; ++k) {
    connect(tile[k], &PictureBox::clicked, this, [this, k] {
      if (Busy) {
        dialogs_.Beep();
        return;
      }
      SelectMan(k + 1);
    });
  }
  connect(imgNoTile, &PictureBox::clicked, this, [this] {
    if (Busy) {
      dialogs_.Beep();
      return;
    }
    SelectMan(0);
  });
  for (QWidget *w : std::initializer_list<QWidget *>{board, chest, mdscroll}) {
    w->installEventFilter(this);
  }
}

bool chessfrm::eventFilter(QObject *watched, QEvent *event) {
  if (event->type() == QEvent::KeyPress &&
      (watched == board || watched == chest || watched == mdscroll)) {
    const auto *key = static_cast<QKeyEvent *>(event);
    KeyDown(key->key(), key->modifiers());
  }
  return QMainWindow::eventFilter(watched, event);
}

void chessfrm::feld_MouseDown(int square, Qt::MouseButton button) {
  if (square < 0 || square > 63)
    return;
  if (Busy) {
    dialogs_.Beep();
    return;
  }
  if (button == Qt::LeftButton) {
    SetMan(square, SelectedMan);
  } else if (button == Qt::RightButton) {
    // The man is picked up: it becomes the pen and leaves the square.
    SelectMan(Code(square));
    SetMan(square, 0);
  }
  board->setFocus(Qt::MouseFocusReason);
}

void chessfrm::KeyDown(int key, Qt::KeyboardModifiers modifiers) {
  if (Busy) {
    dialogs_.Beep();
    return;
  }
  switch (key) {
  case Qt::Key_Space: {
    const bool back = modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    int next = SelectedMan + (back ? -1 : 1);
    if (next > 12)
      next = 0;
    if (next < 0)
      next = 12;
    SelectMan(next);
    break;
  }
  case Qt::Key_Delete:
  case Qt::Key_Escape:
    SelectMan(0);
    break;
  case Qt::Key_B:
    if (SelectedMan >= 1 && SelectedMan <= 6)
      SelectMan(SelectedMan + 6);
    break;
  case Qt::Key_W:
    if (SelectedMan >= 7)
      SelectMan(SelectedMan - 6);
    break;
  default:
    break;
  }
}

void chessfrm::SetMan(int square, int man) {
  // Editing the board throws away the results of the last search and its shown move.
  if (ResultsShown) {
    slist->clear();
    blist->clear();
    HideMarks();
    ResultsShown = 0;
  }
  if (Busy) {
    dialogs_.Beep();
    dialogs_.ShowMessage(this, texts::kAppTitle, texts::kBusy, UserDialogs::Icon::None);
  }
  feld[square]->tag = man;
  feld[square]->setPicture(pictures::Man(man));
  CheckForCoupling();
}

void chessfrm::SelectMan(int man) {
  if (man < 0 || man > 12)
    return;
  SelectedMan = man;
  client_->setCursor(pictures::PenCursor(man));
}

void chessfrm::HideMarks() {
  if (!MarksShown)
    return;
  MarkX->hide();
  MarkTo->hide();
  MarkFrom->hide();
  MarksShown = 0;
}
