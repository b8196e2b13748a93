// The board as a picture: on the clipboard with the selected comment, as a bitmap file, on a
// printed page; and the help viewer.
#include "tests/app/window_fixture.h"

#include "app/output/help_viewer.h"
#include "app/output/print_form.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMimeData>
#include <QPainter>
#include <QPrinterInfo>
#include <QProcess>
#include <QSvgRenderer>
#include <QTextBrowser>

namespace {

using namespace testing_support;

// Pixels compared as the eye sees them, whatever format each side came in.
QImage Pixels(const QImage &image) { return image.convertToFormat(QImage::Format_RGB32); }

// How far from the main window's centre a dialog the program placed will stand once shown.
// A dialog not shown yet has no frame, so it is given the main window's.
QPoint OffCentre(const QWidget &dialog, const QWidget &main) {
  const QRect frame = main.frameGeometry();
  const QRect inner = main.geometry();
  const QMargins decoration(inner.left() - frame.left(), inner.top() - frame.top(),
                            frame.right() - inner.right(), frame.bottom() - inner.bottom());
  return QRect(dialog.pos(), dialog.size().grownBy(decoration)).center() - frame.center();
}

class OutputTest : public WindowTest {
protected:
  void SetUp() override {
    WindowTest::SetUp();
    ASSERT_TRUE(dir.isValid());
    StartWindow();
    SetUpBoard(kCaptureInOne);
  }

  // The board's inner area as the screen shows it, taken here and not by the program.
  QImage BoardOnScreen() const {
    window->board->repaint();
    return Pixels(
        window->board->grab(QRect(window->board->contentsRect().topLeft(), QSize(352, 352)))
            .toImage());
  }
  QString Path(const QString &name) const { return dir.filePath(name); }

  QTemporaryDir dir;
};

TEST_F(OutputTest, CopyPutsTheBoardAndTheSelectedCommentOnTheClipboard) {
  window->commenttxt->setPlainText(QStringLiteral("Loyd 1859\nsecond line"));
  const struct {
    int from, to;
    const char *text;
  } cases[] = {{0, 0, ""}, {5, 9, "1859"}, {5, 16, "1859\nsecond"}};
  for (const auto &c : cases) {
    SCOPED_TRACE(c.text);
    QGuiApplication::clipboard()->clear();
    QTextCursor cursor = window->commenttxt->textCursor();
    cursor.setPosition(c.from);
    cursor.setPosition(c.to, QTextCursor::KeepAnchor);
    window->commenttxt->setTextCursor(cursor);
    window->menCopy->trigger();

    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    ASSERT_TRUE(data->hasImage());
    EXPECT_EQ(Pixels(qvariant_cast<QImage>(data->imageData())), BoardOnScreen());
    EXPECT_EQ(data->text(), c.text);
  }
}

TEST_F(OutputTest, ExportWritesTheBoardAsABitmapAndRemembersItsFolderAtOnce) {
  const QString first = Path("first/");
  const QString second = Path("second/");
  ASSERT_TRUE(QDir().mkpath(first) && QDir().mkpath(second) && QDir().mkpath(Path("taken.bmp")));
  // Two exports, a cancel, and two targets that cannot be written.
  dialogs.fileAnswers = {first + "board.bmp", second + "again.bmp", QString(),
                         Path("no such folder/board.bmp"), Path("taken.bmp")};
  window->menXportBmp->trigger();
  EXPECT_EQ(QSettings().value("Config/LastXportPath").toString(), first);
  for (int i = 0; i < 4; ++i)
    window->menXportBmp->trigger();
  EXPECT_EQ(QSettings().value("Config/LastXportPath").toString(), second);

  const QString folders[] = {window->AppPath.chopped(1), first, second, second, second};
  ASSERT_EQ(dialogs.fileRequests.size(), std::size(folders));
  for (std::size_t i = 0; i < std::size(folders); ++i)
    EXPECT_EQ(dialogs.fileRequests[i].folder, folders[i]) << i;
  EXPECT_EQ(dialogs.fileRequests[0].filter, "Bitmap Files *.bmp|*.bmp");
  ASSERT_EQ(dialogs.messages.size(), 2u);
  for (const FakeDialogs::Message &message : dialogs.messages) {
    EXPECT_EQ(message.title, "Quintabell Error");
    EXPECT_EQ(message.icon, UserDialogs::Icon::Critical);
  }
  EXPECT_TRUE(QFileInfo(Path("taken.bmp")).isDir());

  QImage written;
  ASSERT_TRUE(written.load(first + "board.bmp", "BMP"));
  EXPECT_EQ(Pixels(written), BoardOnScreen());
}

// PNG is the screen's picture like BMP; SVG is the diagram drawn from vectors, without a pixel.
TEST_F(OutputTest, ThePictureAlsoGoesOutAsPngAndTheDiagramAsSvg) {
  dialogs.fileAnswers = {Path("board.png"), Path("board.svg")};
  window->menXportPng->trigger();
  window->menXportSvg->trigger();
  ASSERT_EQ(dialogs.fileRequests.size(), 2u);
  EXPECT_EQ(dialogs.fileRequests[0].filter, "PNG Files *.png|*.png");
  EXPECT_EQ(dialogs.fileRequests[1].filter, "SVG Files *.svg|*.svg");
  EXPECT_EQ(QSettings().value("Config/LastXportPath").toString(), dir.path() + "/");
  QImage png;
  ASSERT_TRUE(png.load(Path("board.png"), "PNG"));
  EXPECT_EQ(Pixels(png), BoardOnScreen());

  QFile svg(Path("board.svg"));
  ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
  const QByteArray text = svg.readAll();
  EXPECT_FALSE(text.contains("<image")) << "a picture inside the vectors";
  // Drawn at four times the screen's size, the rook on e2 and the empty e3 differ.
  QSvgRenderer renderer(text);
  ASSERT_TRUE(renderer.isValid());
  QImage drawn(4 * 352, 4 * 352, QImage::Format_RGB32);
  QPainter painter(&drawn);
  renderer.render(&painter);
  painter.end();
  const auto centre = [](int square) {
    return QPoint(4 * (36 + 40 * (square / 8)), 4 * (316 - 40 * (square % 8)));
  };
  EXPECT_NE(drawn.pixel(centre(Sq("e2")) + QPoint(0, 20)),
            drawn.pixel(centre(Sq("e4")) + QPoint(0, 20)));
  EXPECT_EQ(drawn.pixel(centre(Sq("c3"))), drawn.pixel(centre(Sq("e3"))));
}

// The diagram on paper: text and shapes only, with the stipulation, the comment and the
// solutions listed.
TEST_F(OutputTest, ThePrintedDiagramIsVectorsWithStipulationCommentAndSolutions) {
  window->commenttxt->setPlainText(QStringLiteral("Rooks at work"));
  ASSERT_TRUE(SolveProblem(kCaptureInOne, 1));
  dialogs.onModal = [](QDialog &dialog) {
    auto &form = dynamic_cast<PrintForm &>(dialog);
    form.PList->setCurrentIndex(form.PList->findText(QStringLiteral("Print to PDF file")));
    form.cmdOK->click();
    return dialog.result();
  };
  dialogs.fileAnswers = {Path("diagram.pdf")};
  window->menPrintDiagram->trigger();
  QProcess text;
  text.start(QStringLiteral("pdftotext"), {"-layout", Path("diagram.pdf"), "-"});
  ASSERT_TRUE(text.waitForFinished(30000) && text.exitCode() == 0) << "pdftotext failed";
  const QString page = QString::fromUtf8(text.readAllStandardOutput()).simplified();
  for (const char *wanted : {"Mate in 1", "Rooks at work", "Re2xe8 #"})
    EXPECT_TRUE(page.contains(QString::fromLatin1(wanted))) << wanted << " not in\n"
                                                            << page.toStdString();
  EXPECT_FALSE(page.contains(QStringLiteral(">>"))) << "notices printed";
  QProcess images;
  images.start(QStringLiteral("pdfimages"), {"-list", Path("diagram.pdf")});
  ASSERT_TRUE(images.waitForFinished(30000) && images.exitCode() == 0);
  // The listing's two heading lines and nothing else.
  EXPECT_EQ(QString::fromUtf8(images.readAllStandardOutput()).trimmed().count(QLatin1Char('\n')),
            1);
}

// Renders a page at 72 dots per inch; a null image when pdftoppm is missing or fails.
QImage RenderPage(const QString &pdf, const QString &prefix) {
  QProcess render;
  render.start(QStringLiteral("pdftoppm"),
               {"-r", "72", "-png", "-singlefile", "-f", "1", "-l", "1", pdf, prefix});
  if (!render.waitForFinished(30000) || render.exitCode() != 0)
    return {};
  return QImage(prefix + ".png");
}

TEST_F(OutputTest, PrintingAsksForThePrinterAndPutsTheBoardOnThePage) {
  const QString pdfEntry = QStringLiteral("Print to PDF file");
  const QStringList printers = QPrinterInfo::availablePrinterNames();
  // The user's part: cancel, then the PDF entry with OK, then cancel again.
  std::deque<QString> choices = {QString(), pdfEntry, QString()};
  QStringList preselected;
  dialogs.onModal = [&](QDialog &dialog) {
    auto &form = dynamic_cast<PrintForm &>(dialog);
    const QPoint offset = OffCentre(form, *window);
    EXPECT_TRUE(std::abs(offset.x()) <= 1 && std::abs(offset.y()) <= 1)
        << offset.x() << "," << offset.y();
    QStringList offered;
    for (int i = 0; i < form.PList->count(); ++i)
      offered << form.PList->itemText(i);
    EXPECT_EQ(offered, QStringList(printers) << pdfEntry);
    preselected << form.PList->currentText();
    const QString choice = choices.front();
    choices.pop_front();
    form.PList->setCurrentIndex(form.PList->findText(choice));
    (choice.isEmpty() ? form.cmdCancel : form.cmdOK)->click();
    return dialog.result();
  };
  window->menPrint->trigger();
  EXPECT_TRUE(dialogs.fileRequests.empty()) << "Cancel asked for a file";
  dialogs.fileAnswers = {Path("board.pdf")};
  window->move(420, 260); // the form follows the window
  window->menPrint->trigger();
  ASSERT_EQ(dialogs.fileRequests.size(), 1u);
  EXPECT_TRUE(dialogs.fileRequests[0].save);
  window->menPrint->trigger();
  EXPECT_EQ(dialogs.fileRequests.size(), 1u);
  EXPECT_TRUE(dialogs.messages.empty());

  ASSERT_EQ(preselected.size(), 3);
  const QString systemDefault = QPrinterInfo::defaultPrinterName();
  EXPECT_EQ(preselected[0], !systemDefault.isEmpty() ? systemDefault
                            : printers.isEmpty()     ? pdfEntry
                                                     : printers[0]);
  EXPECT_EQ(preselected[2], pdfEntry);

  const QImage page = RenderPage(Path("board.pdf"), Path("page"));
  ASSERT_FALSE(page.isNull()) << "pdftoppm could not render the page";
  // The board's dark outer border gives its corners.
  QRect board;
  for (int y = 0; y < page.height(); ++y) {
    for (int x = 0; x < page.width(); ++x) {
      if (qGray(page.pixel(x, y)) < 128)
        board |= QRect(x, y, 1, 1);
    }
  }
  const double width = 352.0 * 72.0 / window->board->logicalDpiX();
  EXPECT_NEAR(board.left(), page.width() / 4.0, 3);
  EXPECT_NEAR(board.top(), page.height() / 10.0, 3);
  EXPECT_NEAR(board.width(), width, 3);
  EXPECT_NEAR(board.height(), width, 3);
}

// The help file beside the program is found from any current folder.
TEST_F(OutputTest, HelpShowsTheContentsOrTheNumberedTopicAndSaysWhatIsMissing) {
  const QString before = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(dir.path()));
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  QTest::keyClick(window.get(), Qt::Key_F1);
  QDir::setCurrent(before);
  auto *viewer = window->findChild<HelpViewer *>();
  ASSERT_NE(viewer, nullptr);
  EXPECT_TRUE(viewer->isVisible() && viewer->isWindow());
  viewer->activateWindow();
  ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == viewer; }));
  QTest::keyClick(viewer->page, Qt::Key_Escape);
  EXPECT_FALSE(viewer->isVisible()) << "Esc left the help open";
  window->ShowHelp(0);
  ASSERT_GE(viewer->topics->count(), 5);
  EXPECT_TRUE(viewer->page->toPlainText().startsWith("Contents"));

  window->ShowHelp(5);
  ASSERT_NE(viewer->topics->currentItem(), nullptr);
  EXPECT_EQ(viewer->topics->currentItem()->text(), "Reading a solution line");
  EXPECT_TRUE(viewer->page->toPlainText().startsWith("Reading a solution line"));
  window->ShowHelp(77);
  EXPECT_TRUE(viewer->page->toPlainText().contains("There is no topic 77"));
  EXPECT_EQ(window->findChildren<HelpViewer *>().size(), 1);

  window->HelpFile = Path("gone/Quintabell.hlp");
  window->ShowHelp(0);
  EXPECT_TRUE(viewer->page->toPlainText().contains(window->HelpFile));
  EXPECT_EQ(viewer->topics->count(), 0);
  EXPECT_TRUE(dialogs.messages.empty());
}

} // namespace
