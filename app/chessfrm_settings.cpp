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
  SettingsObject settings;
  settings.Save(QStringLiteral("LSavePath"), LSavePath);
  settings.Save(QStringLiteral("BoardSetup"), BoardSetupText());
  settings.Save(QStringLiteral("CommentText"), commenttxt->toPlainText());
  settings.Save(QStringLiteral("MaxDepth"), mdscroll->value());
  settings.Save(QStringLiteral("StopOnFound"), StopOnFound);
  settings.Save(QStringLiteral("Beep"), Beep);
  settings.Save(QStringLiteral("CWS"), BoxState(chkCWS));
  settings.Save(QStringLiteral("CWL"), BoxState(chkCWL));
  settings.Save(QStringLiteral("CBS"), BoxState(chkCBS));
  settings.Save(QStringLiteral("CBL"), BoxState(chkCBL));
  settings.Save(QStringLiteral("Scramble"), Check1->isChecked() ? 1 : 0);
  settings.Save(QStringLiteral("LastPosX"), PixelsToTwips(x()));
  settings.Save(QStringLiteral("LastPosY"), PixelsToTwips(y()));
}
