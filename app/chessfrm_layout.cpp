// Building the main window: its controls, the menu bar and the arrangement of everything in
// pixels around the board and the piece box.
#include "app/chessfrm.h"
#include "app/drawing.h"
#include "app/pictures.h"
#include "app/texts.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLayout>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>

namespace {

constexpr int kChestWidth = 190;
constexpr int kChestHeight = 114;
constexpr int kGap = 2;

QCheckBox *CastlingBox(QWidget *parent, const char *name, const QString &tip) {
  auto *box = new QCheckBox(parent);
  box->setObjectName(QString::fromLatin1(name));
  box->setToolTip(tip);
  box->setCursor(Qt::ArrowCursor);
  box->hide();
  return box;
}

QAction *Item(QMenu *menu, const char *name, const QString &caption,
              const QKeySequence &shortcut = {}) {
  QAction *action = menu->addAction(caption);
  action->setObjectName(QString::fromLatin1(name));
  action->setShortcut(shortcut);
  return action;
}

} // namespace

void chessfrm::CreateControls() {
  client_ = new QWidget(this);
  setCentralWidget(client_);
  client_->setCursor(pictures::PenCursor(0));

  Teppich = new QLabel(client_);
  Teppich->setObjectName(QStringLiteral("Teppich"));
  Teppich->setAutoFillBackground(true);
  Teppich->setStyleSheet(QStringLiteral("background-color: #d8d0c0;"));

  CreateBoard();
  CreatePieceBox();

  chkCBL = CastlingBox(client_, "chkCBL", texts::kQueenSideTip);
  chkCBS = CastlingBox(client_, "chkCBS", texts::kKingSideTip);
  chkCWL = CastlingBox(client_, "chkCWL", texts::kQueenSideTip);
  chkCWS = CastlingBox(client_, "chkCWS", texts::kKingSideTip);

  Info = new QLabel(client_);
  Info->setObjectName(QStringLiteral("Info"));
  Info->setAlignment(Qt::AlignCenter);

  mdlbl = new QLabel(client_);
  mdlbl->setObjectName(QStringLiteral("mdlbl"));
  mdlbl->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  mdlbl->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  mdscroll = new QScrollBar(Qt::Horizontal, client_);
  mdscroll->setObjectName(QStringLiteral("mdscroll"));
  mdscroll->setTracking(false); // a drag is one change, when it ends
  mdscroll->setFocusPolicy(Qt::StrongFocus);
  mdscroll->setCursor(Qt::ArrowCursor);

  matecmd = new QPushButton(texts::kMate, client_);
  matecmd->setObjectName(QStringLiteral("matecmd"));
  defencecmd = new QPushButton(texts::kDefend, client_);
  defencecmd->setObjectName(QStringLiteral("defencecmd"));

  lblSolution = new QLabel(texts::kSolutions, client_);
  lblSolution->setObjectName(QStringLiteral("lblSolution"));
  Check1 = new QCheckBox(texts::kScramble, client_);
  Check1->setObjectName(QStringLiteral("Check1"));
  Check1->setToolTip(texts::kScrambleTip);
  Check1->setLayoutDirection(Qt::RightToLeft);

  QFont fixed(QStringLiteral("Courier New"));
  fixed.setStyleHint(QFont::TypeWriter);
  fixed.setPointSizeF(9.75);
  slist = new QListWidget(client_);
  slist->setObjectName(QStringLiteral("slist"));
  slist->setFont(fixed);
  blist = new QListWidget(client_);
  blist->setObjectName(QStringLiteral("blist"));
  blist->hide();

  lblComment = new QLabel(texts::kComments, client_);
  lblComment->setObjectName(QStringLiteral("lblComment"));
  commenttxt = new QPlainTextEdit(client_);
  commenttxt->setObjectName(QStringLiteral("commenttxt"));
  // Text boxes put an I-beam on their inner area; this window keeps the arrow there too.
  commenttxt->viewport()->setCursor(Qt::ArrowCursor);
  // Tab moves on to the next control, as everywhere else in the window.
  commenttxt->setTabChangesFocus(true);

  for (QWidget *w :
       std::initializer_list<QWidget *>{Info, mdlbl, matecmd, defencecmd, lblSolution, Check1,
                                        slist, lblComment, commenttxt, Teppich}) {
    w->setCursor(Qt::ArrowCursor);
  }

  Tim = new QTimer(this);
  Tim->setObjectName(QStringLiteral("Tim"));
  Tim->setInterval(100);
  Tim->setSingleShot(true);

  CreateMenus();
}

void chessfrm::CreateBoard() {
  board = new PictureBox(client_);
  board->setObjectName(QStringLiteral("board"));
  board->setFocusPolicy(Qt::StrongFocus);
  FitInnerSize(board, kBoardInner, kBoardInner);
  for (int n = 0; n < 64; ++n) {
    feld[n] = new PictureBox(board);
    feld[n]->setObjectName(QStringLiteral("feld%1").arg(n));
  }
  MarkFrom = new FrameMark(board, QColor(0x1e, 0x5a, 0xc8));
  MarkFrom->setObjectName(QStringLiteral("MarkFrom"));
  MarkTo = new FrameMark(board, QColor(0x1e, 0x9e, 0x3c));
  MarkTo->setObjectName(QStringLiteral("MarkTo"));
  MarkX = new PictureBox(board);
  MarkX->setObjectName(QStringLiteral("MarkX"));
  for (QWidget *mark : std::initializer_list<QWidget *>{MarkFrom, MarkTo, MarkX})
    mark->hide();
}

void chessfrm::CreatePieceBox() {
  chest = new PictureBox(client_, true);
  chest->setObjectName(QStringLiteral("chest"));
  chest->setFocusPolicy(Qt::StrongFocus);
  FitInnerSize(chest, kChestWidth, kChestHeight);
  for (int k = 0; k < 12; ++k) {
    tile[k] = new PictureBox(chest);
    tile[k]->setObjectName(QStringLiteral("tile%1").arg(k));
  }
  imgNoTile = new PictureBox(chest);
  imgNoTile->setObjectName(QStringLiteral("imgNoTile"));
}

void chessfrm::CreateMenus() {
  menFile = menuBar()->addMenu(QStringLiteral("&File"));
  menFile->setObjectName(QStringLiteral("menFile"));
  mennew = Item(menFile, "mennew", QStringLiteral("&New"));
  menopen = Item(menFile, "menopen", QStringLiteral("&Open"));
  menSave = Item(menFile, "menSave", QStringLiteral("Sa&ve"), QKeySequence(Qt::CTRL | Qt::Key_S));
  menclose = Item(menFile, "menclose", QStringLiteral("&Save As ..."));
  menPrint = Item(menFile, "menPrint", QStringLiteral("&Print Board ..."),
                  QKeySequence(Qt::CTRL | Qt::Key_P));
  menPrintDiagram = Item(menFile, "menPrintDiagram", QStringLiteral("Print &Diagram ..."),
                         QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P));
  menFile->addSeparator()->setObjectName(QStringLiteral("menFileSeperator1"));
  menXportBmp = Item(menFile, "menXportBmp", QStringLiteral("&Export Bitmap File ..."),
                     QKeySequence(Qt::CTRL | Qt::Key_E));
  menXportPng = Item(menFile, "menXportPng", QStringLiteral("Expor&t PNG File ..."));
  menXportSvg = Item(menFile, "menXportSvg", QStringLiteral("Export SV&G File ..."));
  menFile->addSeparator()->setObjectName(QStringLiteral("menFileSeperator2"));
  menquit = Item(menFile, "menquit", QStringLiteral("E&xit Quintabell"));

  menEdit = menuBar()->addMenu(QStringLiteral("&Edit"));
  menEdit->setObjectName(QStringLiteral("menEdit"));
  menUndo = Item(menEdit, "menUndo", QStringLiteral("&Undo"), QKeySequence(Qt::CTRL | Qt::Key_Z));
  menRedo = Item(menEdit, "menRedo", QStringLiteral("&Redo"),
                 QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
  menEdit->addSeparator();
  menCopy = Item(menEdit, "menCopy", QStringLiteral("&Copy"), QKeySequence(Qt::CTRL | Qt::Key_C));
  menCopyFen = Item(menEdit, "menCopyFen", QStringLiteral("Copy &FEN"),
                    QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
  menPasteFen = Item(menEdit, "menPasteFen", QStringLiteral("&Paste FEN"),
                     QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_V));
  menclearboard = Item(menEdit, "menclearboard", QStringLiteral("C&lear Board"),
                       QKeySequence(Qt::SHIFT | Qt::Key_Delete));
  menclearcomment = Item(menEdit, "menclearcomment", QStringLiteral("Clear Comment &Text"));
  mentoggle = Item(menEdit, "mentoggle", QStringLiteral("&Switch Black && White"));

  menoptions = menuBar()->addMenu(QStringLiteral("&Options"));
  menoptions->setObjectName(QStringLiteral("menoptions"));
  menstoponfound = Item(menoptions, "menstoponfound", QStringLiteral("&Stop on first solution"));
  menstoponfound->setCheckable(true);
  menbeep = Item(menoptions, "menbeep", QStringLiteral("&Beep when ready"));
  menbeep->setCheckable(true);

  menSolution = menuBar()->addMenu(QStringLiteral("So&lution"));
  menSolution->setObjectName(QStringLiteral("menSolution"));
  menShowPlay = Item(menSolution, "menShowPlay", texts::kShowPlay);

  menhelp = menuBar()->addMenu(QStringLiteral("&Help"));
  menhelp->setObjectName(QStringLiteral("menhelp"));
  menViewHelp = Item(menhelp, "menViewHelp", QStringLiteral("&Contents"), QKeySequence(Qt::Key_F1));
  meninfo = Item(menhelp, "meninfo", QStringLiteral("&Info"));
}

// The client's size for squares of `square` pixels: the board with a castling-box strip around
// it on the left, top and bottom, then the piece box's column and another strip on the right.
QSize chessfrm::ClientSizeFor(int square) const {
  const int m = chkCBL->sizeHint().height();
  const int boardSide = drawing::BoardSize(square) + board->frameWidth() * 2;
  const int chestWidth = drawing::Scaled(kChestWidth, square) + chest->frameWidth() * 2;
  return {boardSide + 2 * m + chestWidth + m, boardSide + 2 * m + kGap};
}

// Squares, men, piece box and marks for squares of `square` pixels; the pictures are drawn
// anew only when the size changes.
void chessfrm::ScaleBoard(int square) {
  if (square == squareSize_)
    return;
  squareSize_ = square;
  const qreal ratio = devicePixelRatioF();
  const int man = drawing::Scaled(32, square);
  for (int code = 1; code <= 12; ++code)
    menPictures_[code] = pictures::Man(code, man, ratio);

  const int boardSide = drawing::BoardSize(square);
  board->resize(boardSide + board->frameWidth() * 2, boardSide + board->frameWidth() * 2);
  board->setPicture(pictures::Board(square, ratio));
  const QPoint inner = board->contentsRect().topLeft();
  const int border = drawing::Scaled(16, square);
  const int inset = (square - man) / 2;
  for (int n = 0; n < 64; ++n) {
    const int file = n / 8;
    const int rank = n % 8;
    feld[n]->setGeometry(inner.x() + border + square * file + inset,
                         inner.y() + border + square * (7 - rank) + inset, man, man);
    feld[n]->setPicture(ManPicture(Code(n)));
  }
  MarkX->setPicture(pictures::CaptureMark(man, ratio));
  MarkX->resize(man, man);

  // The piece box keeps the design's arrangement: five columns of cells, 38 pixels on the
  // design board, the empty-square tool alone in the middle of the last.
  chest->resize(drawing::Scaled(kChestWidth, square) + chest->frameWidth() * 2,
                drawing::Scaled(kChestHeight, square) + chest->frameWidth() * 2);
  const QPoint box = chest->contentsRect().topLeft();
  const int cell = drawing::Scaled(38, square);
  for (int k = 0; k < 12; ++k) {
    tile[k]->setPicture(ManPicture(k + 1));
    tile[k]->setGeometry(box.x() + drawing::Scaled(3, square) + cell * (k / 3),
                         box.y() + drawing::Scaled(79, square) - cell * (k % 3), man, man);
  }
  imgNoTile->setPicture(pictures::EmptySquareTool(man, ratio));
  imgNoTile->setGeometry(box.x() + drawing::Scaled(155, square),
                         box.y() + drawing::Scaled(41, square), man, man);
  if (MarksShown)
    ShowMove();
}

// Everything is placed relative to m, the height of a castling box, the board and the piece
// box. The design size is the smallest; a larger window gets the largest whole squares that
// fit, the column takes the width left over and its solution list most of the height.
void chessfrm::ArrangeControls() {
  const QSize design = ClientSizeFor(drawing::kDesignSquare);
  client_->setMinimumSize(design);
  const QSize size = client_->size().expandedTo(design);
  int square = drawing::kDesignSquare;
  while (ClientSizeFor(square + 1).width() <= size.width() &&
         ClientSizeFor(square + 1).height() <= size.height())
    ++square;
  ScaleBoard(square);

  const int m = chkCBL->sizeHint().height();
  const int boardW = board->width();
  const int boardH = board->height();
  const int bottom = size.height();

  board->move(m, m);
  for (QCheckBox *box : {chkCBL, chkCBS, chkCWL, chkCWS})
    box->setFixedSize(m, m);
  chkCBL->move(m, 0);
  chkCBS->move(m + boardW - m, 0);
  chkCWL->move(m, m + boardH);
  chkCWS->move(m + boardW - m, m + boardH);
  Info->setGeometry(2 * m, m + boardH, boardW - 2 * m, m + kGap);

  const int x = boardW + 2 * m;
  const int column = size.width() - x - m;
  chest->move(x + (column - chest->width()) / 2, 0);

  const int scrollH = mdscroll->sizeHint().height();
  const int textH = mdlbl->fontMetrics().height();
  const int labelTop = chest->height() + kGap;
  const int labelH = kGap + textH + kGap + scrollH + 3;
  mdlbl->setGeometry(x, labelTop, column, labelH);
  mdscroll->setGeometry(x + 3, labelTop + labelH - 3 - scrollH, column - 6, scrollH);

  const int buttonTop = labelTop + labelH + kGap;
  const int buttonH = matecmd->sizeHint().height();
  const int buttonW = column / 2 - 1;
  matecmd->setGeometry(x, buttonTop, buttonW, buttonH);
  defencecmd->setGeometry(x + column - buttonW, buttonTop, buttonW, buttonH);

  const int rowTop = buttonTop + buttonH + kGap;
  const int rowH = lblSolution->sizeHint().height();
  lblSolution->setGeometry(x, rowTop, lblSolution->sizeHint().width(), rowH);
  const int checkW = Check1->sizeHint().width();
  Check1->setGeometry(x + column - checkW, rowTop, checkW, rowH);

  // A third of the height below the list's top at the design size, two thirds of any more.
  const int listTop = rowTop + rowH + kGap;
  const int designListTop = listTop - chest->height() + kChestHeight + 2 * chest->frameWidth();
  const int designRoom = design.height() - designListTop;
  const int listH = designRoom / 3 + (bottom - listTop - designRoom) * 2 / 3;
  slist->setGeometry(x, listTop, column, listH);
  const int commentLabelTop = listTop + listH + kGap;
  lblComment->setGeometry(x, commentLabelTop, column, rowH);
  const int commentTop = commentLabelTop + rowH + kGap;
  commenttxt->setGeometry(x, commentTop, column, bottom - rowH - commentTop);

  Teppich->setGeometry(x, 0, column, commenttxt->geometry().bottom() + 1);
  Teppich->lower();
}
