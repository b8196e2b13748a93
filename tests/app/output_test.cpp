// The board as a picture: on the clipboard with the selected comment, in picture files, on a
// printed page; and the help viewer.
#include "tests/app/window_fixture.h"

#include "app/output/help_viewer.h"
#include "app/output/print_form.h"

#include <QApplication>
#include <QComboBox>
#include <QPainter>
#include <QProcess>
#include <QSvgRenderer>
#include <QTextBrowser>

namespace {

using namespace testing_support;

// Pixels compared as the eye sees them, whatever format each side came in.
QImage Pixels(const QImage &image) { return image.convertToFormat(QImage::Format_RGB32); }

using OutputTest = WindowTest;

// BMP and PNG files get the screen's picture; SVG is the diagram drawn from vectors. The dialog
// starts in the program's folder, then in the folder of the last export; a cancel and a target that
// cannot be written change nothing.
TEST_F(OutputTest, ExportWritesTheBoardAndRemembersItsFolderAtOnce) {
  StartWindow();
  SetUpBoard(kCaptureInOne);
  const QImage screen = Pixels(
      ui->board->grab(QRect(ui->board->contentsRect().topLeft(), QSize(352, 352))).toImage());
  const QString a = Path("a/"), b = Path("b/");
  ASSERT_TRUE(QDir().mkpath(a) && QDir().mkpath(b) && QDir().mkpath(Path("taken.bmp")));
  dialogs.fileAnswers = {a + "board.bmp", b + "board.png", QString(), b + "board.svg",
                         Path("taken.bmp")};
  for (const char *entry :
       {"menXportBmp", "menXportPng", "menXportSvg", "menXportSvg", "menXportBmp"})
    Trigger(entry);
  const QString folders[] = {ui->AppPath.chopped(1), a, b, b, b};
  ASSERT_EQ(dialogs.fileRequests.size(), std::size(folders));
  for (std::size_t i = 0; i < std::size(folders); ++i)
    EXPECT_EQ(dialogs.fileRequests[i].folder, folders[i]) << i;
  EXPECT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(Pixels(QImage(a + "board.bmp", "BMP")), screen);
  EXPECT_EQ(Pixels(QImage(b + "board.png", "PNG")), screen);
  QFile svg(b + "board.svg");
  ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
  const QByteArray text = svg.readAll();
  EXPECT_FALSE(text.contains("<image")) << "a picture inside the vectors";
  // Drawn at four times the screen's size, the rook on e2 and the empty e4 differ.
  QImage drawn(4 * 352, 4 * 352, QImage::Format_RGB32);
  QPainter painter(&drawn);
  QSvgRenderer(text).render(&painter);
  painter.end();
  const auto below = [&](int square) {
    return drawn.pixel(4 * (36 + 40 * (square / 8)), 4 * (321 - 40 * (square % 8)));
  };
  EXPECT_NE(below(Sq("e2")), below(Sq("e4")));
  EXPECT_EQ(below(Sq("c3")), below(Sq("e3")));
}

// A cancel in the printer dialog prints nothing. The diagram on paper is text and shapes only,
// with the stipulation, the comment and the solutions, without the run's notices.
TEST_F(OutputTest, ThePrintedDiagramIsVectorsWithStipulationCommentAndSolutions) {
  Trigger("menPrintDiagram"); // no one chooses OK
  EXPECT_TRUE(dialogs.fileRequests.empty() && dialogs.messages.empty()) << "Cancel printed";
  ui->commenttxt->setPlainText(QStringLiteral("Rooks at work"));
  ASSERT_TRUE(SolveProblem(kCaptureInOne, 1));
  dialogs.onModal = [](QDialog &dialog) {
    auto &form = dynamic_cast<PrintForm &>(dialog);
    form.PList->setCurrentIndex(form.PList->findText(QStringLiteral("Print to PDF file")));
    form.cmdOK->click();
    return dialog.result();
  };
  dialogs.fileAnswers = {Path("diagram.pdf")};
  Trigger("menPrintDiagram");
  // The page's text, then the list of the pictures on it, which has only its heading.
  QProcess tools;
  tools.start("sh",
              {"-c", "pdftotext -layout \"$0\" - && pdfimages -list \"$0\"", Path("diagram.pdf")});
  ASSERT_TRUE(tools.waitForFinished(30000) && tools.exitCode() == 0);
  const QString page = QString::fromUtf8(tools.readAllStandardOutput()).simplified();
  for (const char *wanted : {"Mate in 1", "Rooks at work", "Re2xe8 #"})
    EXPECT_TRUE(page.contains(QString::fromLatin1(wanted)))
        << wanted << " not in " << page.toStdString();
  EXPECT_FALSE(page.contains(">>")) << "notices printed";
  EXPECT_FALSE(page.contains("image")) << "a picture on the page";
}

// The help file beside the program opens with F1 and closes with Esc.
TEST_F(OutputTest, HelpOpensWithF1AndClosesWithEsc) {
  StartWindow();
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  QTest::keyClick(window.get(), Qt::Key_F1);
  auto *viewer = window->findChild<HelpViewer *>();
  ASSERT_NE(viewer, nullptr);
  EXPECT_TRUE(viewer->isVisible() && viewer->isWindow());
  EXPECT_TRUE(viewer->page->toPlainText().startsWith("Contents"));
  ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == viewer; }));
  QTest::keyClick(viewer->page, Qt::Key_Escape);
  EXPECT_FALSE(viewer->isVisible()) << "Esc left the help open";
}

} // namespace
