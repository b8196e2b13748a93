// Building the main window: its controls, the menu bar and the arrangement of everything in
// pixels around the board and the piece box.
#include "app/chessfrm.h"
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
  board->setPicture(pictures::Board());
  FitInnerSize(board, kBoardInner, kBoardInner);
  const QPoint inner = board->contentsRect().topLeft();
  for (int n = 0; n < 64; ++n) {
    const int file = n / 8;
    const int rank = n % 8;
    feld[n] = new PictureBox(board);
    feld[n]->setObjectName(QStringLiteral("feld%1").arg(n));
    feld[n]->setGeometry(inner.x() + 20 + 40 * file, inner.y() + 300 - 40 * rank, 32, 32);
  }
  MarkFrom = new FrameMark(board, QColor(0x1e, 0x5a, 0xc8));
  MarkFrom->setObjectName(QStringLiteral("MarkFrom"));
  MarkTo = new FrameMark(board, QColor(0x1e, 0x9e, 0x3c));
  MarkTo->setObjectName(QStringLiteral("MarkTo"));
  MarkX = new PictureBox(board);
  MarkX->setObjectName(QStringLiteral("MarkX"));
  MarkX->setPicture(pictures::CaptureMark());
  MarkX->resize(32, 32);
  for (QWidget *mark : std::initializer_list<QWidget *>{MarkFrom, MarkTo, MarkX})
    mark->hide();
}

void chessfrm::CreatePieceBox() {
  chest = new PictureBox(client_, true);
  chest->setObjectName(QStringLiteral("chest"));
  chest->setFocusPolicy(Qt::StrongFocus);
  FitInnerSize(chest, kChestWidth, kChestHeight);
  const QPoint inner = chest->contentsRect().topLeft();
  for (int k = 0; k < 12; ++k) {
    tile[k] = new PictureBox(chest);
    tile[k]->setObjectName(QStringLiteral("tile%1").arg(k));
    tile[k]->setPicture(pictures::Man(k + 1));
    tile[k]->setGeometry(inner.x() + 3 + 38 * (k / 3), inner.y() + 79 - 38 * (k % 3), 32, 32);
  }
  imgNoTile = new PictureBox(chest);
  imgNoTile->setObjectName(QStringLiteral("imgNoTile"));
  imgNoTile->setPicture(pictures::EmptySquareTool());
  imgNoTile->setGeometry(inner.x() + 155, inner.y() + 41, 32, 32);
}

void chessfrm::CreateMenus() {
  menFile = menuBar()->addMenu(QStringLiteral("&File"));
  menFile->setObjectName(QStringLiteral("menFile"));
  mennew = Item(menFile, "mennew", QStringLiteral("&New"));
  menopen = Item(menFile, "menopen", QStringLiteral("&Open"));
  menclose = Item(menFile, "menclose", QStringLiteral("&Save As ..."));
  menPrint = Item(menFile, "menPrint", QStringLiteral("&Print Board ..."),
                  QKeySequence(Qt::CTRL | Qt::Key_P));
  menFile->addSeparator()->setObjectName(QStringLiteral("menFileSeperator1"));
  menXportBmp = Item(menFile, "menXportBmp", QStringLiteral("&Export Bitmap File ..."),
                     QKeySequence(Qt::CTRL | Qt::Key_E));
  menFile->addSeparator()->setObjectName(QStringLiteral("menFileSeperator2"));
  menquit = Item(menFile, "menquit", QStringLiteral("E&xit Quintabell"));

  menEdit = menuBar()->addMenu(QStringLiteral("&Edit"));
  menEdit->setObjectName(QStringLiteral("menEdit"));
  menCopy = Item(menEdit, "menCopy", QStringLiteral("&Copy"), QKeySequence(Qt::CTRL | Qt::Key_C));
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

  menhelp = menuBar()->addMenu(QStringLiteral("&Help"));
  menhelp->setObjectName(QStringLiteral("menhelp"));
  menViewHelp = Item(menhelp, "menViewHelp", QStringLiteral("&Contents"));
  meninfo = Item(menhelp, "meninfo", QStringLiteral("&Info"));
}

// Everything is placed relative to m, the height of a castling box, the board and the piece
// box; the window's inner area is then made to fit.
void chessfrm::ArrangeControls() {
  const int m = chkCBL->sizeHint().height();
  const int boardW = board->width();
  const int boardH = board->height();
  const int bottom = boardH + 2 * m + kGap;

  board->move(m, m);
  for (QCheckBox *box : {chkCBL, chkCBS, chkCWL, chkCWS})
    box->setFixedSize(m, m);
  chkCBL->move(m, 0);
  chkCBS->move(m + boardW - m, 0);
  chkCWL->move(m, m + boardH);
  chkCWS->move(m + boardW - m, m + boardH);
  Info->setGeometry(2 * m, m + boardH, boardW - 2 * m, m + kGap);

  const int x = boardW + 2 * m;
  const int column = chest->width();
  chest->move(x, 0);

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

  const int listTop = rowTop + rowH + kGap;
  const int listH = (bottom - listTop) / 3;
  slist->setGeometry(x, listTop, column, listH);
  const int commentLabelTop = listTop + listH + kGap;
  lblComment->setGeometry(x, commentLabelTop, column, rowH);
  const int commentTop = commentLabelTop + rowH + kGap;
  commenttxt->setGeometry(x, commentTop, column, bottom - rowH - commentTop);

  Teppich->setGeometry(x, 0, column, commenttxt->geometry().bottom() + 1);
  Teppich->lower();

  client_->setFixedSize(x + column + m, bottom);
  layout()->setSizeConstraint(QLayout::SetFixedSize);
}
