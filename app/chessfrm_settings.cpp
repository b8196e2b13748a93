// What the program remembers from one run to the next: the options reset before the stored
// values come back, loading them at start-up and saving them at the end.
#include "app/chessfrm.h"
#include "app/store/settings_object.h"
#include "app/texts.h"

#include <QAction>
#include <QCheckBox>
#include <QPlainTextEdit>
#include <QScrollBar>

namespace {

short Flag(int value) { return value != 0 ? -1 : 0; }

} // namespace

void chessfrm::ResetOptions() {
  NewProblem();
  StopOnFound = 0;
  menstoponfound->setChecked(false);
  Beep = 0;
  menbeep->setChecked(false);
  LSavePath = AppPath + texts::kProblemFolder;
}

void chessfrm::LoadSettings() {
  SettingsObject settings;
  LSavePath = settings.Read(QStringLiteral("LSavePath"), AppPath + texts::kProblemFolder);
  const QString board = settings.Read(QStringLiteral("BoardSetup"));
  if (!board.isEmpty())
    ApplyBoardSetup(board);
  commenttxt->setPlainText(settings.Read(QStringLiteral("CommentText")));
  SetDepth(settings.ReadNumber(QStringLiteral("MaxDepth"), 1));
  StopOnFound = Flag(settings.ReadNumber(QStringLiteral("StopOnFound"), 0));
  Beep = Flag(settings.ReadNumber(QStringLiteral("Beep"), 1));
  menstoponfound->setChecked(StopOnFound != 0);
  menbeep->setChecked(Beep != 0);
  SetBoxState(chkCWS, settings.ReadNumber(QStringLiteral("CWS"), 1));
  SetBoxState(chkCWL, settings.ReadNumber(QStringLiteral("CWL"), 1));
  SetBoxState(chkCBS, settings.ReadNumber(QStringLiteral("CBS"), 1));
  SetBoxState(chkCBL, settings.ReadNumber(QStringLiteral("CBL"), 1));
  Check1->setChecked(settings.ReadNumber(QStringLiteral("Scramble"), 0) == 1);
}

void chessfrm::SaveSettings() {
  SettingsObject::Values values = {
      {QStringLiteral("LSavePath"), LSavePath},
      {QStringLiteral("BoardSetup"), BoardSetupText()},
      {QStringLiteral("CommentText"), commenttxt->toPlainText()},
      {QStringLiteral("MaxDepth"), mdscroll->value()},
      {QStringLiteral("StopOnFound"), StopOnFound},
      {QStringLiteral("Beep"), Beep},
      {QStringLiteral("CWS"), BoxState(chkCWS)},
      {QStringLiteral("CWL"), BoxState(chkCWL)},
      {QStringLiteral("CBS"), BoxState(chkCBS)},
      {QStringLiteral("CBL"), BoxState(chkCBL)},
      {QStringLiteral("Scramble"), Check1->isChecked() ? 1 : 0},
  };
  KeepPlacement();
  SavePlacement(values);
  SettingsObject().Save(values);
}
