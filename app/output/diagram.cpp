#include "app/output/diagram.h"

#include "app/drawing.h"
#include "app/pictures.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QSvgGenerator>

namespace {

constexpr int kSide = drawing::BoardSize(drawing::kDesignSquare);

// Draws `text` in `font` from the top of `area`, centred or not, and answers how far down the
// text reached.
double PaintText(QPainter &painter, const QRectF &area, const QFont &font, const QString &text,
                 int alignment) {
  if (text.isEmpty())
    return area.top();
  painter.setFont(font);
  QRectF used;
  painter.drawText(area, alignment | Qt::AlignTop | Qt::TextWordWrap, text, &used);
  return used.bottom();
}

} // namespace

void PaintDiagram(QPainter &painter, const DiagramBoard &board, const QRectF &box) {
  painter.save();
  painter.translate(box.topLeft());
  painter.scale(box.width() / kSide, box.height() / kSide);
  drawing::PaintBoard(painter, drawing::kDesignSquare);
  const int border = drawing::Scaled(16, drawing::kDesignSquare);
  for (int n = 0; n < 64; ++n) {
    const int file = n / 8;
    const int rank = n % 8;
    pictures::PaintMan(painter, board[n],
                       QRectF(border + 4 + 40 * file, border + 4 + 40 * (7 - rank), 32, 32));
  }
  painter.restore();
}

void PaintDiagramPage(QPainter &painter, const QRectF &page, const DiagramBoard &board,
                      const DiagramText &text) {
  const double width = page.width();
  const double gap = width / 40;
  const QRectF boardBox(page.left() + width / 4, page.top() + page.height() / 10, width / 2,
                        width / 2);
  PaintDiagram(painter, board, boardBox);

  painter.save();
  painter.setPen(Qt::black);
  const QRectF column(page.left() + width / 6, 0, width * 2 / 3, page.height());
  QFont heading(QStringLiteral("DejaVu Serif"), 14);
  heading.setBold(true);
  double y = PaintText(painter, column.translated(0, boardBox.bottom() + gap), heading,
                       text.stipulation, Qt::AlignHCenter);
  y = PaintText(painter, column.translated(0, y + gap), QFont(QStringLiteral("DejaVu Serif"), 11),
                text.comment, Qt::AlignHCenter);
  // The solution lines keep their columns, as in the window's list.
  QFont fixed(QStringLiteral("DejaVu Sans Mono"), 10);
  fixed.setStyleHint(QFont::TypeWriter);
  double lineWidth = 0;
  for (const QString &line : text.solutions)
    lineWidth = std::max(lineWidth, QFontMetricsF(fixed, painter.device()).horizontalAdvance(line));
  const QRectF block(page.left() + (width - lineWidth) / 2, y + gap, lineWidth + 1,
                     page.bottom() - y - gap);
  PaintText(painter, block, fixed, text.solutions.join(QLatin1Char('\n')), Qt::AlignLeft);
  painter.restore();
}

bool WriteDiagramSvg(const QString &path, const DiagramBoard &board) {
  QSvgGenerator svg;
  svg.setFileName(path);
  svg.setSize(QSize(kSide, kSide));
  svg.setViewBox(QRect(0, 0, kSide, kSide));
  svg.setTitle(QStringLiteral("Chess diagram"));
  QPainter painter;
  if (!painter.begin(&svg))
    return false;
  PaintDiagram(painter, board, QRectF(0, 0, kSide, kSide));
  return painter.end();
}
