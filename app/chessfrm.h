// chessfrm: Quintabell's main window. The board editor on the left, the piece box, the depth,
// the task buttons, the solution list and the comment on the right; it hosts the solver
// control `cm`. One class, one source file per concern. Its names come from the design it
// rebuilds; GLOSSARY.md beside this file says what the less obvious ones mean.
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
class PlayPanel;
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

class chessfrm : public QMainWindow {
  Q_OBJECT

public:
  // Null (with the reason shown through `dialogs`) when the solver control cannot be created.
  static std::unique_ptr<chessfrm> Create(UserDialogs &dialogs);
  ~chessfrm() override;

  // The load step with the program's command line; it shows the window. Everything else is
  // reached through the window's controls, as the user reaches it, and the program ends when
  // the window is closed.
  void Form_Load(const QString &commandLine);

  // Tests look inside through this one door, which only they define.
  struct TestAccess;

protected:
  void closeEvent(QCloseEvent *event) override;
  bool eventFilter(QObject *watched, QEvent *event) override;
  bool event(QEvent *event) override;
  void moveEvent(QMoveEvent *event) override;
  void resizeEvent(QResizeEvent *event) override;

private:
  // Undo and redo set a kept state back.
  friend class ProblemChange;

  // The end of the program: a running search stopped, the settings saved.
  void QuitProgram();

  // The inner area of the board picture at the design size: a 16-pixel border around squares of
  // 40 pixels. A larger window has larger squares (squareSize_).
  static constexpr int kBoardInner = 352;

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
  void MarkSquares(FrameMark *mark, int first, int last, int margin);
  void SetDepth(int value);
  void SetBoxState(QCheckBox *box, int state);
  static short BoxState(const QCheckBox *box);
  // The castling boxes in the order files and settings keep them: CWS, CWL, CBS, CBL.
  std::array<QCheckBox *, 4> CastlingBoxes() const { return {chkCWS, chkCWL, chkCBS, chkCBL}; }
  std::array<short, 4> CastlingStates() const;

  // Board editor (chessfrm_editor.cpp).
  void ConnectEditor();
  int Code(int square) const { return feld[square]->tag; }
  void SetMan(int square, int man);
  void SelectMan(int man);
  void HideMarks();
  void feld_MouseDown(int square, Qt::MouseButton button);
  // A man carried with the left button, `position` in the coordinates of `board`.
  void feld_MouseMove(QPoint position);
  void feld_MouseUp(Qt::MouseButton button, QPoint position);
  void KeyDown(int key, Qt::KeyboardModifiers modifiers);

  // Undo and redo of board changes, the problem as a file would hold it, and its unsaved state
  // (chessfrm_undo.cpp).
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

  // Castling boxes and the check before a search (chessfrm_position.cpp).
  void CheckForCoupling();
  bool CheckPosition();

  // Transforms (chessfrm_transforms.cpp).
  void NewProblem();
  void mentoggle_Click();
  void menclearcomment_Click();

  // Solving runs (chessfrm_solving.cpp).
  void ConnectSolving();
  void TaskButton_Click(bool mate);
  void BeginSolving();
  void EndSolving();
  // While a search or a play runs both task buttons cancel it and what would change the problem
  // or the depth is off.
  void ShowBusy(bool busy);
  void terminatethread();
  void cm_SolutionFound(const QString &solution);
  void cm_ProgressUpdate(short progress);
  void cm_Finished();
  void Tim_Timer();
  void mdscroll_Change();
  void mdscroll_Scroll(int value);
  void menstoponfound_Click();
  void menbeep_Click();

  // The solution list (chessfrm_solutions.cpp).
  void slist_Click();
  void ShowMove();
  // Frames the move of a line in the solution list's form; castling on the mover's rank.
  void FrameMove(const QString &line, bool whiteMoves);
  void Check1_Click();

  // The play of a key in its panel, worked out by the control as a task (chessfrm_play.cpp).
  void ConnectPlay();
  // The key on the list's selected line as the control found it, the real one behind a
  // placeholder; empty when the line is no key of a Mate run.
  QString SelectedKey() const;
  void menShowPlay_Click();
  void CancelPlay();
  void EndPlay(short result);

  // Problem files and settings (chessfrm_files.cpp, chessfrm_settings.cpp).
  void menclose_Click();
  void menSave_Click();
  void menopen_Click();
  bool LoadProblemFile(const QString &path);
  problem::ProblemFile ProblemForFile();
  bool WriteProblem(const QString &path, const problem::ProblemFile &file);
  bool ReadProblem(const QString &path, problem::ProblemFile &file);
  void ApplyProblem(const QString &path, const problem::ProblemFile &file);
  QString BoardSetupText() const;
  void ApplyBoardSetup(const QString &text);
  void ResetOptions();
  void LoadSettings();
  void SaveSettings();

  // FEN through the clipboard (chessfrm_fen.cpp).
  void menCopyFen_Click();
  void menPasteFen_Click();

  // The board as a picture, the diagram on paper and in files, help and the about box
  // (chessfrm_output.cpp).
  QPixmap BoardPicture();
  void menCopy_Click();
  void menXportBmp_Click();
  void menXportPng_Click();
  void menXportSvg_Click();
  void ExportBoard(int format);
  void menPrint_Click();
  void menPrintDiagram_Click();
  QStringList PrinterNames() const;
  bool BeginPrinting(QPrinter &printer, QPainter &painter);
  void PrintBoard();
  void PrintDiagram();
  void ShowHelp(int contextId = 0);
  void meninfo_Click();

  // The window's place (chessfrm_placement.cpp).
  void RestorePlacement();
  void SavePlacement(QList<std::pair<QString, QVariant>> &values) const;
  void KeepPlacement();

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
  QMenu *menSolution = nullptr;
  QAction *menShowPlay = nullptr;
  QMenu *menhelp = nullptr;
  QAction *menViewHelp = nullptr;
  QAction *meninfo = nullptr;

  UserDialogs &dialogs_;
  QWidget *client_ = nullptr;
  bool quitting_ = false;
  QString currentPrinter_; // for the run only; the system's default until one is chosen
  HelpViewer *helpViewer_ = nullptr;
  PlayPanel *playPanel_ = nullptr; // made at the first Show Play
  bool playing_ = false;           // the task running (Busy) is a play

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
