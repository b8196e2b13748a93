// Start-up and shut-down of the main window: the order in which the last state, a problem
// file from the command line and the file-type association come in, and the end of the
// program with a running search stopped and the settings saved.
#include "app/chessfrm.h"
#include "app/store/register_file_type.h"
#include "app/store/registry_object.h"
#include "app/store/settings_object.h"
#include "app/texts.h"
#include "platform/component.h"
#include "platform/shell.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QTimer>

QString StripQuotes(QString text) {
  if (text.startsWith(QLatin1Char('"')))
    text.remove(0, 1);
  if (text.endsWith(QLatin1Char('"')))
    text.chop(1);
  return text;
}

void chessfrm::Form_Load(const QString &commandLine) {
  AppPath = QString::fromStdString(platform::ProgramFolder().string());
  if (!AppPath.endsWith(QLatin1Char('/')))
    AppPath += QLatin1Char('/');
  HelpFile = AppPath + texts::kHelpFileName;
  Info->setText(QString());

  RestorePlacement();
  ResetOptions();
  LoadSettings();
  savedState_ = CurrentState();
  UpdateTitle();
  // The window is shown before a problem file is read, so that what is said about the file
  // stands over the window and not on an empty screen.
  show();
  if (commandLine.contains(QLatin1String(".cmt"), Qt::CaseInsensitive)) {
    LoadProblemFile(StripQuotes(commandLine));
  }
  RegistryObject registry;
  RegisterFileType(registry, AppPath,
                   [] { platform::NotifyAssociationsChanged(platform::Registry()); });
}

void chessfrm::QuitProgram() {
  if (quitting_)
    return;
  quitting_ = true;
  if (Busy)
    terminatethread();
  Busy = 0;
  SaveSettings();
  // The program ends here: the end of the stopped run is not closed any more.
  Tim->stop();
  QCoreApplication::quit();
}

void chessfrm::closeEvent(QCloseEvent *event) {
  QuitProgram();
  event->accept();
}
