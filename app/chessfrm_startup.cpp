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
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTimer>

namespace {

// A twip is a 1440th of an inch; positions are kept in twips so they mean the same place on
// screens of any resolution.
constexpr int kTwipsPerInch = 1440;

} // namespace

QString StripQuotes(QString text) {
  if (text.startsWith(QLatin1Char('"')))
    text.remove(0, 1);
  if (text.endsWith(QLatin1Char('"')))
    text.chop(1);
  return text;
}

int chessfrm::PixelsToTwips(int pixels) const {
  return pixels * kTwipsPerInch / std::max(1, logicalDpiX());
}

int chessfrm::TwipsToPixels(int twips) const {
  return twips * std::max(1, logicalDpiX()) / kTwipsPerInch;
}

void chessfrm::Form_Load(const QString &commandLine) {
  AppPath = QString::fromStdString(platform::ProgramFolder().string());
  if (!AppPath.endsWith(QLatin1Char('/')))
    AppPath += QLatin1Char('/');
  HelpFile = AppPath + texts::kHelpFileName;
  Info->setText(QString());

  // The default place centres the window on its screen.
  SettingsObject settings;
  const QRect screen = QGuiApplication::primaryScreen() != nullptr
                           ? QGuiApplication::primaryScreen()->availableGeometry()
                           : QRect(0, 0, 1024, 768);
  const QSize size = sizeHint();
  const int x = settings.ReadNumber(QStringLiteral("LastPosX"),
                                    PixelsToTwips((screen.width() - size.width()) / 2));
  const int y = settings.ReadNumber(QStringLiteral("LastPosY"),
                                    PixelsToTwips((screen.height() - size.height()) / 2));
  move(TwipsToPixels(x), TwipsToPixels(y));

  ResetOptions();
  LoadSettings();
  if (commandLine.contains(QLatin1String(".cmt"), Qt::CaseInsensitive)) {
    LoadProblemFile(StripQuotes(commandLine));
  }
  show();
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
