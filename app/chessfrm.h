// chessfrm: Quintabell's main window. The board editor on the left, the piece box, the depth,
// the task buttons, the solution list and the comment on the right; it hosts the solver
// control `cm`. One class, one source file per concern.
#pragma once

#include "app/board_widgets.h"
#include "app/problem_state.h"
#include "app/solver_control.h"
#include "app/user_dialogs.h"

#include <QDateTime>
#include <QMainWindow>
#include <QUndoStack>
#include <array>
#include <functional>
#include <memory>

namespace problem {
struct ProblemFile;
}

class HelpViewer;
class QAction;
class QPainter;
class QPrinter;
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
  // The inner area of the board picture at the design size: a 16-pixel border around squares of
  // 40 pixels. A larger window has larger squares (SquareSize).
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
  // A man carried with the left button, `position` in the coordinates of `board`.
  void feld_MouseMove(QPoint position);
  void feld_MouseUp(Qt::MouseButton button, QPoint position);
  void KeyDown(int key, Qt::KeyboardModifiers modifiers);
  int SquareSize() const { return squareSize_; }

  // Undo and redo of board changes, the problem as a file would hold it, and its unsaved state.
  ProblemState CurrentState() const;
  // Sets what `state` holds where it differs from `other`, so that an undo leaves alone what
  // the change it takes back did not touch.
  void ApplyState(const ProblemState &state, const ProblemState &other);
  // Runs `change` and keeps it for undo when it changed the problem.
  void RecordChange(const QString &name, const std::function<void()> &change);
  bool IsModified() const { return CurrentState() != savedState_; }
  // True when nothing unsaved would be lost, or the user agrees to lose it.
  bool MayDiscard();
  void UpdateTitle();
  QString CurrentFile() const { return currentFile_; }

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
  void menSave_Click();
  void menopen_Click();
  bool LoadProblemFile(const QString &path);
  QString BoardSetupText() const;
  void ApplyBoardSetup(const QString &text);
  void ResetOptions();
  void LoadSettings();
  void SaveSettings();

  // FEN through the clipboard.
  void menCopyFen_Click();
  void menPasteFen_Click();

  // The board as a picture, the diagram on paper and in files, help and the about box.
  QPixmap BoardPicture();
  void menCopy_Click();
  void menXportBmp_Click();
  void menXportPng_Click();
  void menXportSvg_Click();
  void menPrint_Click();
  void PrintBoard();
  void menPrintDiagram_Click();
  void PrintDiagram();
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
  QAction *menSave = nullptr;
  QAction *menclose = nullptr;
  QAction *menPrint = nullptr;
  QAction *menPrintDiagram = nullptr;
  QAction *menXportBmp = nullptr;
  QAction *menXportPng = nullptr;
  QAction *menXportSvg = nullptr;
  QAction *menquit = nullptr;
  QMenu *menEdit = nullptr;
  QAction *menUndo = nullptr;
  QAction *menRedo = nullptr;
  QAction *menCopy = nullptr;
  QAction *menCopyFen = nullptr;
  QAction *menPasteFen = nullptr;
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
  void moveEvent(QMoveEvent *event) override;
  void resizeEvent(QResizeEvent *event) override;

private:
  chessfrm(std::unique_ptr<SolverControl> control, UserDialogs &dialogs);

  // Building the window (chessfrm_layout.cpp).
  void CreateControls();
  void CreateBoard();
  void CreatePieceBox();
  void CreateMenus();
  void ConnectMenus();
  void ArrangeControls();
  QSize ClientSizeFor(int square) const;
  void ScaleBoard(int square);
  const QPixmap &ManPicture(int man) const { return menPictures_[man >= 1 && man <= 12 ? man : 0]; }
  void ConnectEditor();
  void ConnectSolving();
  void MarkSquares(FrameMark *mark, int first, int last, int margin);
  void SetDepth(int value);
  void SetBoxState(QCheckBox *box, int state);
  static short BoxState(const QCheckBox *box);
  // The castling boxes in the order files and settings keep them: CWS, CWL, CBS, CBL.
  std::array<QCheckBox *, 4> CastlingBoxes() const { return {chkCWS, chkCWL, chkCBS, chkCBL}; }
  std::array<short, 4> CastlingStates() const;

  // Problem files (chessfrm_files.cpp).
  problem::ProblemFile ProblemForFile();
  bool WriteProblem(const QString &path, const problem::ProblemFile &file);
  bool ReadProblem(const QString &path, problem::ProblemFile &file);
  void ApplyProblem(const QString &path, const problem::ProblemFile &file);

  // The window's place (chessfrm_placement.cpp).
  void RestorePlacement();
  void SavePlacement(QList<std::pair<QString, QVariant>> &values) const;
  void KeepPlacement();

  // Output (chessfrm_output.cpp).
  bool BeginPrinting(QPrinter &printer, QPainter &painter);
  void ExportBoard(int format);

  UserDialogs &dialogs_;
  QWidget *client_ = nullptr;
  bool quitting_ = false;
  QString currentPrinter_; // for the run only; the system's default until one is chosen
  HelpViewer *helpViewer_ = nullptr;

  int squareSize_ = 0;
  std::array<QPixmap, 13> menPictures_; // by ManCode, at the board's present size

  // A left press on a man: placed at the release unless the man is carried off first.
  int dragFrom_ = -1;
  bool dragging_ = false;
  QPoint pressPosition_;

  QUndoStack undo_;
  ProblemState savedState_;
  QString currentFile_;

  // The window as it is when neither maximised nor minimised: the frame's top left corner with
  // the inner area's size, and where the inner area lies in the frame.
  QRect normalFrame_;
  QPoint frameOffset_;
};
