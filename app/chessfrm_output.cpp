// The board as a picture: copied to the clipboard with the selected comment, exported as a
// bitmap file, printed; and the help and about windows.
#include "app/chessfrm.h"
#include "app/output/capture_module.h"
#include "app/output/diagram.h"
#include "app/output/frm_about.h"
#include "app/output/help_viewer.h"
#include "app/output/print_form.h"
#include "app/run_texts.h"
#include "app/store/settings_object.h"
#include "app/texts.h"

#include <QApplication>
#include <QClipboard>
#include <QListWidget>
#include <QMimeData>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScrollBar>

namespace {

void CentreOver(QWidget *dialog, const QWidget *main) {
  dialog->adjustSize();
  dialog->move(main->x() + (main->width() - dialog->width()) / 2,
               main->y() + (main->height() - dialog->height()) / 2);
}

} // namespace

QPixmap chessfrm::BoardPicture() {
  const QSize inner = board->contentsRect().size();
  return CaptureWindowArea(board, true, 0, 0, inner.width(), inner.height());
}

void chessfrm::menCopy_Click() {
  auto *data = new QMimeData;
  data->setImageData(BoardPicture().toImage());
  // The box marks paragraph ends with U+2029; other programs expect line breaks.
  data->setText(commenttxt->textCursor().selectedText().replace(QChar(0x2029), QLatin1Char('\n')));
  QApplication::clipboard()->setMimeData(data);
}

namespace {

// The board goes out as it shows on the screen (BMP and PNG) or as the vector diagram (SVG).
struct ExportFormat {
  const QString &title, &filter, &suffix, &name;
  const char *imageFormat; // none for the vector diagram
};

const ExportFormat kExportFormats[] = {
    {texts::kExportTitle, texts::kBitmapFilter, texts::kBitmapSuffix, texts::kBitmapName, "BMP"},
    {texts::kPngTitle, texts::kPngFilter, texts::kPngSuffix, texts::kPngName, "PNG"},
    {texts::kSvgTitle, texts::kSvgFilter, texts::kSvgSuffix, texts::kSvgName, nullptr},
};

} // namespace

void chessfrm::menXportBmp_Click() { ExportBoard(0); }
void chessfrm::menXportPng_Click() { ExportBoard(1); }
void chessfrm::menXportSvg_Click() { ExportBoard(2); }

void chessfrm::ExportBoard(int format) {
  const ExportFormat &to = kExportFormats[format];
  SettingsObject settings;
  const QString path = dialogs_.AskFileName(
      this, {.save = true,
             .title = to.title,
             .folder = settings.Read(QStringLiteral("LastXportPath"), AppPath.chopped(1)),
             .fileName = to.name,
             .filter = to.filter,
             .defaultSuffix = to.suffix});
  if (path.isEmpty())
    return;
  const bool written = to.imageFormat != nullptr
                           ? BoardPicture().toImage().save(path, to.imageFormat)
                           : WriteDiagramSvg(path, CurrentState().board);
  if (!written) {
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

// The printer dialog, centred over the window; false when the user did not choose OK.
static bool ChoosePrinter(chessfrm &window, UserDialogs &dialogs, const QStringList &printers,
                          QString &current) {
  if (current.isEmpty()) {
    current = QPrinterInfo::defaultPrinterName();
    if (current.isEmpty())
      current = texts::kPrintToPdf;
  }
  PrintForm form(&window, printers, current);
  CentreOver(&form, &window);
  dialogs.RunModal(form);
  if (!form.PrintOK)
    return false;
  current = form.chosen;
  return true;
}

void chessfrm::menPrint_Click() {
  if (ChoosePrinter(*this, dialogs_, PrinterNames(), currentPrinter_))
    PrintBoard();
}

void chessfrm::menPrintDiagram_Click() {
  if (ChoosePrinter(*this, dialogs_, PrinterNames(), currentPrinter_))
    PrintDiagram();
}

// A page on the chosen printer, or for printing to a PDF file on the file the user names; false
// when the user cancels or the printer cannot be used (which is said).
bool chessfrm::BeginPrinting(QPrinter &printer, QPainter &painter) {
  if (currentPrinter_ == texts::kPrintToPdf) {
    const QString path = dialogs_.AskFileName(this, {.save = true,
                                                     .title = texts::kPdfTitle,
                                                     .folder = LSavePath,
                                                     .fileName = texts::kPdfName,
                                                     .filter = texts::kPdfFilter,
                                                     .defaultSuffix = texts::kPdfSuffix});
    if (path.isEmpty())
      return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
  } else {
    printer.setPrinterName(currentPrinter_);
  }
  printer.setFullPage(true);
  if (painter.begin(&printer))
    return true;
  dialogs_.ShowMessage(this, texts::kErrorTitle, texts::kNotPrinted.arg(currentPrinter_),
                       UserDialogs::Icon::Critical);
  return false;
}

// The board as the screen shows it, at its size on the screen, a quarter of the page width
// from the left and a tenth of the page height from the top.
void chessfrm::PrintBoard() {
  const QPixmap picture = BoardPicture();
  QPrinter printer(QPrinter::HighResolution);
  QPainter painter;
  if (!BeginPrinting(printer, painter))
    return;
  const QRect page = printer.paperRect(QPrinter::DevicePixel).toRect();
  const double scale = static_cast<double>(printer.resolution()) / board->logicalDpiX();
  const QSizeF size = picture.deviceIndependentSize() * scale;
  const QRect target(qRound(page.width() / 4.0), qRound(page.height() / 10.0), qRound(size.width()),
                     qRound(size.height()));
  painter.drawPixmap(target, picture);
  painter.end();
}

// The problem as a diagram on paper: drawn from vectors, with its stipulation, comment and the
// solutions in the list.
void chessfrm::PrintDiagram() {
  DiagramText text{.stipulation = texts::kStipulation.arg(mdscroll->value() + 1),
                   .comment = commenttxt->toPlainText()};
  for (int i = 0; i < slist->count(); ++i) {
    if (!IsNotice(slist->item(i)->text()))
      text.solutions << slist->item(i)->text();
  }
  QPrinter printer(QPrinter::HighResolution);
  QPainter painter;
  if (!BeginPrinting(printer, painter))
    return;
  PaintDiagramPage(painter, printer.paperRect(QPrinter::DevicePixel), CurrentState().board, text);
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
