// The board editor: placing and picking up men with the mouse, the pen shown as the pointer,
// the editor keys, and the refusal of every edit while a search runs.
#include "app/chessfrm.h"
#include "app/drawing.h"
#include "app/pictures.h"
#include "app/texts.h"

#include <QApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QScrollBar>

namespace {

// What lies under a point of the board: a square number, or one of these.
constexpr int kOnBorder = -1;
constexpr int kOffBoard = -2;

} // namespace

void chessfrm::ConnectEditor() {
  // The squares and the capture mark, which passes everything on to the square below it.
  for (int n = -1; n < 64; ++n) {
    PictureBox *box = n < 0 ? MarkX : feld[n];
    const auto square = [this, n] { return n < 0 ? MarkX->tag : n; };
    connect(box, &PictureBox::pressed, this,
            [this, box, square](Qt::MouseButton button, Qt::KeyboardModifiers, QPoint position) {
              pressPosition_ = box->mapTo(board, position);
              feld_MouseDown(square(), button);
            });
    connect(box, &PictureBox::moved, this,
            [this, box](QPoint position) { feld_MouseMove(box->mapTo(board, position)); });
    connect(box, &PictureBox::released, this, [this, box](Qt::MouseButton button, QPoint position) {
      feld_MouseUp(button, box->mapTo(board, position));
    });
  }
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
  } else if (event->type() == QEvent::Resize && watched == client_) {
    ArrangeControls();
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
    // A man may be carried away instead; a click puts the pen down when the button is let go.
    if (Code(square) != 0) {
      dragFrom_ = square;
      dragging_ = false;
    } else {
      RecordChange(QStringLiteral("Place"), [this, square] { SetMan(square, SelectedMan); });
    }
  } else if (button == Qt::RightButton) {
    // The man is picked up: it becomes the pen and leaves the square.
    RecordChange(QStringLiteral("Pick Up"), [this, square] {
      SelectMan(Code(square));
      SetMan(square, 0);
    });
  }
  board->setFocus(Qt::MouseFocusReason);
}

void chessfrm::feld_MouseMove(QPoint position) {
  if (dragFrom_ < 0 || dragging_ ||
      (position - pressPosition_).manhattanLength() < QApplication::startDragDistance())
    return;
  // The man leaves its square with the mouse pointer.
  dragging_ = true;
  feld[dragFrom_]->setPicture({});
  QGuiApplication::setOverrideCursor(pictures::PenCursor(Code(dragFrom_)));
}

void chessfrm::feld_MouseUp(Qt::MouseButton button, QPoint position) {
  if (button != Qt::LeftButton || dragFrom_ < 0)
    return;
  const int from = std::exchange(dragFrom_, -1);
  const bool dragged = std::exchange(dragging_, false);
  if (dragged) {
    QGuiApplication::restoreOverrideCursor();
    feld[from]->setPicture(ManPicture(Code(from)));
  }
  // A search may have started from the keyboard meanwhile.
  if (Busy) {
    dialogs_.Beep();
    return;
  }
  if (!dragged) {
    RecordChange(QStringLiteral("Place"), [this, from] { SetMan(from, SelectedMan); });
    return;
  }
  const int man = Code(from);
  // Dropped beside the board the man is taken off; on the board's border nothing happens.
  int to = kOffBoard;
  if (board->rect().contains(position)) {
    const QPoint inner = position - board->contentsRect().topLeft() -
                         QPoint(drawing::Scaled(16, squareSize_), drawing::Scaled(16, squareSize_));
    const bool onSquare = inner.x() >= 0 && inner.y() >= 0 && inner.x() < 8 * squareSize_ &&
                          inner.y() < 8 * squareSize_;
    to = onSquare ? 8 * (inner.x() / squareSize_) + 7 - inner.y() / squareSize_ : kOnBorder;
  }
  if (to == kOffBoard) {
    RecordChange(QStringLiteral("Remove"), [this, from] { SetMan(from, 0); });
  } else if (to != kOnBorder && to != from) {
    RecordChange(QStringLiteral("Move"), [this, from, to, man] {
      SetMan(to, man);
      SetMan(from, 0);
    });
  }
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
  feld[square]->setPicture(ManPicture(man));
  CheckForCoupling();
  UpdateTitle();
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
