#include "app/drawing.h"

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

namespace drawing {

void PaintBoard(QPainter &painter, int square) {
  const QColor wood(0x6b, 0x45, 0x28);
  const QColor frame(0x3a, 0x24, 0x12);
  const QColor lettering(0xf3, 0xe3, 0xc6);
  const QColor light(0xf0, 0xd9, 0xb5);
  const QColor dark(0xb5, 0x88, 0x63);
  const int border = Scaled(16, square);
  const int size = BoardSize(square);

  painter.save();
  painter.fillRect(0, 0, size, size, wood);
  for (int file = 0; file < 8; ++file)
    for (int rank = 0; rank < 8; ++rank) {
      painter.fillRect(border + square * file, border + square * (7 - rank), square, square,
                       (file + rank) % 2 == 0 ? dark : light);
    }
  // Lines one pixel wide on the design board, as wide as a fortieth of a square on others.
  const int line = std::max(1, Scaled(1, square));
  painter.setPen(QPen(frame, line, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
  const double inset = (line - 1) / 2.0;
  painter.drawRect(
      QRectF(border - line + inset, border - line + inset, 8 * square + line, 8 * square + line));
  painter.drawRect(QRectF(inset, inset, size - line, size - line));

  QFont font(QStringLiteral("DejaVu Sans"));
  font.setBold(true);
  font.setPixelSize(Scaled(10, square));
  painter.setFont(font);
  painter.setPen(lettering);
  painter.setRenderHint(QPainter::TextAntialiasing);
  const int strip = border - line; // the frame line takes the pixels next to the squares
  const int far = border + 8 * square + line;
  for (int i = 0; i < 8; ++i) {
    const QString file(QChar('a' + i)), rank(QChar('1' + i));
    const int x = border + square * i, y = border + square * (7 - i);
    painter.drawText(QRect(x, 0, square, strip), Qt::AlignCenter, file);
    painter.drawText(QRect(x, far, square, strip), Qt::AlignCenter, file);
    painter.drawText(QRect(0, y, strip, square), Qt::AlignCenter, rank);
    painter.drawText(QRect(far, y, strip, square), Qt::AlignCenter, rank);
  }
  painter.restore();
}

QImage CaptureMark(int pixels) {
  const auto transparent = [pixels] {
    QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
  };
  QPainterPath cross;
  const double unit = pixels / 32.0, a = 7 * unit, b = 25 * unit;
  cross.moveTo(a, a);
  cross.lineTo(b, b);
  cross.moveTo(b, a);
  cross.lineTo(a, b);
  QImage opaque = transparent();
  QPainter painter(&opaque);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.strokePath(cross,
                     QPen(QColor(0xff, 0xa0, 0x90), 6.0 * unit, Qt::SolidLine, Qt::RoundCap));
  painter.strokePath(cross,
                     QPen(QColor(0xd0, 0x10, 0x10), 4.0 * unit, Qt::SolidLine, Qt::RoundCap));
  painter.end();

  // Laid on as a whole, so that where the strokes overlap the man shows through no less.
  QImage mark = transparent();
  painter.begin(&mark);
  painter.setOpacity(0.75);
  painter.drawImage(0, 0, opaque);
  painter.end();
  return mark;
}

} // namespace drawing
