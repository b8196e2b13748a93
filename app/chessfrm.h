// chessfrm: Quintabell's main window. The board editor on the left, the piece box, the depth,
// the task buttons, the solution list and the comment on the right; it hosts the solver
// control `cm`. One class, one source file per concern.
#pragma once

#include "app/board_widgets.h"
#include "app/solver_control.h"
#include "app/user_dialogs.h"

#include <QDateTime>
#include <QMainWindow>
#include <array>
#include <memory>

class HelpViewer;
class QAction;
class QCheckBox;
class QLabel;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QScrollBar;
class QTimer;

// One leading and one trailing double quote removed, each only if present.
QString StripQuotes(QString text);

class chessfrm : public QMainWindow {
  Q_OBJECT

public:
  // The inner area of the board picture: a 16-pixel border around squares of 40 pixels.
  static constexpr int kBoardInner = 352;

  // Null (with the reason shown through `dialogs`) when the solver control cannot be created.

  static std::unique_ptr<chessfrm> Create(UserDialogs &dialogs);
  ~chessfrm() override;

  // Board editor.
  int Code(int square) const { return feld[square]->tag; }
  void SetMan(int square, int man);
  void SelectMan(int man);
  void HideMarks();
  void feld_MouseDown(int square, Qt::MouseButton button);
  void KeyDown(int key, Qt::KeyboardModifiers modifiers);

  // Castling boxes and the check before a search.
  void CheckForCoupling();
  bool CheckPosition();

  // Transforms.
  void NewProblem();
  void mentoggle_Click();
  void menclearcomment_Click();

  // Solving runs.
  void TaskButton_Click(bool mate);
  void BeginSolving();
  void EndSolving();
  void terminatethread();
  void cm_SolutionFound(const QString &solution);
  void cm_ProgressUpdate(short progress);
  void cm_Finished();
  void Tim_Timer();
  void mdscroll_Change();
  void mdscroll_Scroll(int value);
  void menstoponfound_Click();
  void menbeep_Click();

  // The solution list.
  void slist_Click();
  void ShowMove();
  void Check1_Click();

  // Problem files and settings.
  void menclose_Click();
  void menopen_Click();
  bool LoadProblemFile(const QString &path);
  QString BoardSetupText() const;
  void ApplyBoardSetup(const QString &text);
  void ResetOptions();
  void LoadSettings();
  void SaveSettings();

  // The board as a picture, printing, help and the about box.
  QPixmap BoardPicture();
  void menCopy_Click();
  void menXportBmp_Click();
  void menPrint_Click();
  void PrintBoard();
  void ShowHelp(int contextId = 0);
  void meninfo_Click();
  QStringList PrinterNames() const;

  // Start-up and shut-down: the load step with the program's command line, and the end.
  void Form_Load(const QString &commandLine);
  void QuitProgram();

  QString AppPath;
  QString HelpFile;
  QString LSavePath;

  // Window-wide state; flags hold -1 for true and 0 for false.
  short Busy = 0;
  short ResultsShown = 0;
  short MarksShown = 0;
  short MateMode = 0;
  short StopOnFound = 0;
  short Beep = 0;
  short Scramble = 0;
  int SelectedMan = 0;
  QString SelectedLine;
  QDateTime SolveStart;

  // The solver control.
  std::unique_ptr<SolverControl> cm;

  // Controls, by the names the rest of the program knows them by.
  PictureBox *board = nullptr;
  std::array<PictureBox *, 64> feld{};
  PictureBox *chest = nullptr;
  std::array<PictureBox *, 12> tile{};
  PictureBox *imgNoTile = nullptr;
  FrameMark *MarkFrom = nullptr;
  FrameMark *MarkTo = nullptr;
  PictureBox *MarkX = nullptr;
  QCheckBox *chkCWS = nullptr;
  QCheckBox *chkCWL = nullptr;
  QCheckBox *chkCBS = nullptr;
  QCheckBox *chkCBL = nullptr;
  QLabel *Info = nullptr;
  QLabel *Teppich = nullptr;
  QLabel *mdlbl = nullptr;
  QScrollBar *mdscroll = nullptr;
  QPushButton *matecmd = nullptr;
  QPushButton *defencecmd = nullptr;
  QLabel *lblSolution = nullptr;
  QCheckBox *Check1 = nullptr;
  QListWidget *slist = nullptr;
  QListWidget *blist = nullptr;
  QLabel *lblComment = nullptr;
  QPlainTextEdit *commenttxt = nullptr;
  QTimer *Tim = nullptr;

  QMenu *menFile = nullptr;
  QAction *mennew = nullptr;
  QAction *menopen = nullptr;
  QAction *menclose = nullptr;
  QAction *menPrint = nullptr;
  QAction *menXportBmp = nullptr;
  QAction *menquit = nullptr;
  QMenu *menEdit = nullptr;
  QAction *menCopy = nullptr;
  QAction *menclearboard = nullptr;
  QAction *menclearcomment = nullptr;
  QAction *mentoggle = nullptr;
  QMenu *menoptions = nullptr;
  QAction *menstoponfound = nullptr;
  QAction *menbeep = nullptr;
  QMenu *menhelp = nullptr;
  QAction *menViewHelp = nullptr;
  QAction *meninfo = nullptr;

protected:
  void closeEvent(QCloseEvent *event) override;
  bool eventFilter(QObject *watched, QEvent *event) override;
  bool event(QEvent *event) override;

private:
  chessfrm(std::unique_ptr<SolverControl> control, UserDialogs &dialogs);

  // Building the window (chessfrm_layout.cpp).
  void CreateControls();
  void CreateBoard();
  void CreatePieceBox();
  void CreateMenus();
  void ArrangeControls();
  void ConnectEditor();
  void ConnectSolving();
  void MarkSquares(FrameMark *mark, int first, int last, int margin);
  void SetDepth(int value);
  void SetBoxState(QCheckBox *box, int state);
  static short BoxState(const QCheckBox *box);
  // The castling boxes in the order files and settings keep them: CWS, CWL, CBS, CBL.
  std::array<QCheckBox *, 4> CastlingBoxes() const { return {chkCWS, chkCWL, chkCBS, chkCBL}; }
  std::array<short, 4> CastlingStates() const;

  int PixelsToTwips(int pixels) const;
  int TwipsToPixels(int twips) const;

  UserDialogs &dialogs_;
  QWidget *client_ = nullptr;
  bool quitting_ = false;
  QString currentPrinter_; // for the run only; the system's default until one is chosen
  HelpViewer *helpViewer_ = nullptr;
};
