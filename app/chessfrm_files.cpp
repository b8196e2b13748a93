// Problem files: Save As and Open through the file dialog, loading a file, and the board as
// the text the settings keep.
#include "app/chessfrm.h"
#include "app/texts.h"
#include "problem/cmt_file.h"

#include <QCheckBox>
#include <QPlainTextEdit>
#include <QScrollBar>

namespace {

std::filesystem::path LocalPath(const QString &path) { return path.toStdString(); }

FileDialogRequest ProblemDialog(bool save, const QString &folder) {
  return {.save = save,
          .title = save ? texts::kSaveTitle : texts::kOpenTitle,
          .folder = folder,
          .fileName = save ? texts::kFirstProblemName : QString(),
          .filter = texts::kProblemFilter,
          .defaultSuffix = texts::kProblemSuffix};
}

} // namespace

// The problem as a file holds it. A comment longer than the file holds is cut in the window
// first, where the user sees it.
problem::ProblemFile chessfrm::ProblemForFile() {
  problem::ProblemFile file;
  file.castling = CastlingStates();
  for (int n = 0; n < 64; ++n)
    file.board[n] = Code(n);
  // Line breaks are kept as the files have always held them (two characters each, counted in
  // the length).
  QString comment = commenttxt->toPlainText().replace(QLatin1Char('\n'), QLatin1String("\r\n"));
  if (comment.size() > problem::kMaxCommentLength) {
    comment.truncate(problem::kMaxCommentLength);
    if (comment.endsWith(QLatin1Char('\r')))
      comment.chop(1);
    commenttxt->setPlainText(QString(comment).replace(QLatin1String("\r\n"), QLatin1String("\n")));
  }
  file.comment = comment.toStdString();
  file.maxDepth = static_cast<short>(mdscroll->value());
  return file;
}

bool chessfrm::WriteProblem(const QString &path, const problem::ProblemFile &file) {
  std::string error;
  if (!problem::WriteProblemFile(LocalPath(path), file, error)) {
    dialogs_.ShowMessage(this, texts::kErrorTitle,
                         texts::kNotSaved.arg(QString::fromStdString(error)),
                         UserDialogs::Icon::Critical);
    return false;
  }
  LSavePath = FolderOf(path);
  currentFile_ = path;
  savedState_ = CurrentState();
  UpdateTitle();
  return true;
}

void chessfrm::menclose_Click() {
  const problem::ProblemFile file = ProblemForFile();
  const QString path = dialogs_.AskFileName(this, ProblemDialog(true, LSavePath));
  if (!path.isEmpty())
    WriteProblem(path, file);
}

// Saving goes back to the file the problem came from or was last saved to.
void chessfrm::menSave_Click() {
  if (currentFile_.isEmpty()) {
    menclose_Click();
    return;
  }
  WriteProblem(currentFile_, ProblemForFile());
}

// The file is read before anything is thrown away: one that is no problem changes nothing and
// asks nothing.
void chessfrm::menopen_Click() {
  const QString path = dialogs_.AskFileName(this, ProblemDialog(false, LSavePath));
  if (path.isEmpty())
    return;
  problem::ProblemFile file;
  if (!ReadProblem(path, file) || !MayDiscard())
    return;
  RecordChange(QStringLiteral("Open"), [&] { ApplyProblem(path, file); });
  savedState_ = CurrentState();
  UpdateTitle();
}

bool chessfrm::LoadProblemFile(const QString &path) {
  problem::ProblemFile file;
  if (!ReadProblem(path, file))
    return false;
  ApplyProblem(path, file);
  savedState_ = CurrentState();
  UpdateTitle();
  return true;
}

bool chessfrm::ReadProblem(const QString &path, problem::ProblemFile &file) {
  std::string error;
  if (problem::ReadProblemFile(LocalPath(path), file, error))
    return true;
  dialogs_.ShowMessage(this, texts::kErrorTitle, texts::kNotRead.arg(QString::fromStdString(error)),
                       UserDialogs::Icon::Critical);
  return false;
}

void chessfrm::ApplyProblem(const QString &path, const problem::ProblemFile &file) {
  LSavePath = FolderOf(path);
  currentFile_ = path;
  for (int n = 0; n < 64; ++n)
    SetMan(n, file.board[n]);
  commenttxt->setPlainText(
      QString::fromStdString(file.comment).replace(QLatin1String("\r\n"), QLatin1String("\n")));
  SetDepth(file.maxDepth);
  const std::array<QCheckBox *, 4> boxes = CastlingBoxes();
  for (int i = 0; i < 4; ++i)
    SetBoxState(boxes[i], file.castling[i]);
}

// A depth outside the slider's range is brought into it, so the slider and the solver agree.
void chessfrm::SetDepth(int value) {
  value = std::clamp(value, mdscroll->minimum(), mdscroll->maximum());
  cm->setCmMD(static_cast<short>(value + 1));
  mdscroll->setValue(value);
  mdscroll_Change();
}

// Files and settings hold a box as 0 unchecked, 1 checked, 2 grayed; Qt numbers the last two
// the other way round.
void chessfrm::SetBoxState(QCheckBox *box, int state) {
  switch (state) {
  case problem::kUnchecked:
    box->setCheckState(Qt::Unchecked);
    break;
  case problem::kGrayed:
    box->setCheckState(Qt::PartiallyChecked);
    break;
  default:
    box->setCheckState(Qt::Checked);
    break;
  }
}

short chessfrm::BoxState(const QCheckBox *box) {
  switch (box->checkState()) {
  case Qt::Unchecked:
    return problem::kUnchecked;
  case Qt::PartiallyChecked:
    return problem::kGrayed;
  default:
    return problem::kChecked;
  }
}

std::array<short, 4> chessfrm::CastlingStates() const {
  std::array<short, 4> states;
  const std::array<QCheckBox *, 4> boxes = CastlingBoxes();
  for (int i = 0; i < 4; ++i)
    states[i] = BoxState(boxes[i]);
  return states;
}

QString chessfrm::BoardSetupText() const {
  problem::Board board{};
  for (int n = 0; n < 64; ++n)
    board[n] = Code(n);
  return QString::fromStdString(problem::BoardSetupText(board));
}

void chessfrm::ApplyBoardSetup(const QString &text) {
  problem::ReadBoardSetup(text.toStdString(), [this](int square, int code) {
    if (code < 0 || code > 12)
      return false;
    SetMan(square, code);
    return true;
  });
}
