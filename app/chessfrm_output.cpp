// The board as a picture: copied to the clipboard with the selected comment, exported as a
// bitmap file, printed; and the help and about windows.
#include "app/chessfrm.h"
#include "app/output/capture_module.h"
#include "app/output/frm_about.h"
#include "app/output/help_viewer.h"
#include "app/output/print_form.h"
#include "app/store/settings_object.h"
#include "app/texts.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPrinterInfo>

namespace {

void CentreOver(QWidget *dialog, const QWidget *main) {
  dialog->adjustSize();
  dialog->move(main->x() + (main->width() - dialog->width()) / 2,
               main->y() + (main->height() - dialog->height()) / 2);
}

} // namespace

QPixmap chessfrm::BoardPicture() {
  return CaptureWindowArea(board, true, 0, 0, kBoardInner, kBoardInner);
}

void chessfrm::menCopy_Click() {
  auto *data = new QMimeData;
  data->setImageData(BoardPicture().toImage());
  // The box marks paragraph ends with U+2029; other programs expect line breaks.
  data->setText(commenttxt->textCursor().selectedText().replace(QChar(0x2029), QLatin1Char('\n')));
  QApplication::clipboard()->setMimeData(data);
}

void chessfrm::menXportBmp_Click() {
  SettingsObject settings;
  const QString path = dialogs_.AskFileName(
      this, {.save = true,
             .title = texts::kExportTitle,
             .folder = settings.Read(QStringLiteral("LastXportPath"), AppPath.chopped(1)),
             .fileName = texts::kBitmapName,
             .filter = texts::kBitmapFilter,
             .defaultSuffix = texts::kBitmapSuffix});
  if (path.isEmpty())
    return;
  if (!BoardPicture().toImage().save(path, "BMP")) {
    dialogs_.ShowMessage(this, texts::kErrorTitle, texts::kNotExported.arg(path),
                         UserDialogs::Icon::Critical);
    return;
  }
  settings.Save(QStringLiteral("LastXportPath"), FolderOf(path));
}

QStringList chessfrm::PrinterNames() const {
  QStringList names = QPrinterInfo::availablePrinterNames();
  names.append(texts::kPrintToPdf);
  return names;
}

void chessfrm::menPrint_Click() {
  if (currentPrinter_.isEmpty()) {
    currentPrinter_ = QPrinterInfo::defaultPrinterName();
    if (currentPrinter_.isEmpty())
      currentPrinter_ = texts::kPrintToPdf;
  }
  PrintForm form(this, PrinterNames(), currentPrinter_);
  CentreOver(&form, this);
  dialogs_.RunModal(form);
  if (!form.PrintOK)
    return;
  currentPrinter_ = form.chosen;
  PrintBoard();
}

// The board at the size it has on the screen, a quarter of the page width from the left and a
// tenth of the page height from the top.
void chessfrm::PrintBoard() {
  const QPixmap picture = BoardPicture();
  QPrinter printer(QPrinter::HighResolution);
  if (currentPrinter_ == texts::kPrintToPdf) {
    const QString path = dialogs_.AskFileName(this, {.save = true,
                                                     .title = texts::kPdfTitle,
                                                     .folder = LSavePath,
                                                     .fileName = texts::kPdfName,
                                                     .filter = texts::kPdfFilter,
                                                     .defaultSuffix = texts::kPdfSuffix});
    if (path.isEmpty())
      return;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
  } else {
    printer.setPrinterName(currentPrinter_);
  }
  printer.setFullPage(true);
  QPainter painter;
  if (!painter.begin(&printer)) {
    dialogs_.ShowMessage(this, texts::kErrorTitle, texts::kNotPrinted.arg(currentPrinter_),
                         UserDialogs::Icon::Critical);
    return;
  }
  const QRect page = printer.paperRect(QPrinter::DevicePixel).toRect();
  const double scale = static_cast<double>(printer.resolution()) / board->logicalDpiX();
  const QRect target(qRound(page.width() / 4.0), qRound(page.height() / 10.0),
                     qRound(picture.width() * scale), qRound(picture.height() * scale));
  painter.drawPixmap(target, picture);
  painter.end();
}

void chessfrm::ShowHelp(int contextId) {
  if (helpViewer_ == nullptr)
    helpViewer_ = new HelpViewer(this);
  helpViewer_->Show(HelpFile, contextId);
}

void chessfrm::meninfo_Click() {
  frmAbout about(this);
  CentreOver(&about, this);
  dialogs_.RunModal(about);
}
