#include "app/pictures.h"

#include "app/drawing.h"

#include <QImage>
#include <QPainter>
#include <QString>
#include <QSvgRenderer>

// Resources compiled into a static library have to be registered by name.
static void RegisterPictures() { Q_INIT_RESOURCE(pictures); }

namespace pictures {

namespace {

QString ResourcePath(const QString &name) {
  static const bool registered = (RegisterPictures(), true);
  (void)registered;
  return QStringLiteral(":/pictures/") + name;
}

QPixmap Load(const QString &name) { return QPixmap(ResourcePath(name)); }

QString ManName(int manCode, const char *suffix) {
  return QStringLiteral("men/man%1.%2").arg(manCode, 2, 10, QLatin1Char('0')).arg(suffix);
}

// The tip of the arrow in the empty-square tool.
constexpr int kToolHotX = 10;
constexpr int kToolHotY = 6;
constexpr int kDesignMan = 32;

// A transparent picture of `size` window pixels at the screen's resolution, and its painter's
// scale from window pixels.
QImage Canvas(int size, qreal ratio) {
  const int pixels = qRound(size * ratio);
  QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  return image;
}

QPixmap Finished(QImage image, qreal ratio) {
  QPixmap picture = QPixmap::fromImage(std::move(image));
  picture.setDevicePixelRatio(ratio);
  return picture;
}

bool IsDesign(int size, int designSize, qreal ratio) {
  return size == designSize && qFuzzyCompare(ratio, 1.0);
}

} // namespace

QPixmap Board(int square, qreal ratio) {
  if (IsDesign(square, drawing::kDesignSquare, ratio))
    return Load(QStringLiteral("board.png"));
  const int size = drawing::BoardSize(square);
  QImage image(qRound(size * ratio), qRound(size * ratio), QImage::Format_RGB32);
  QPainter painter(&image);
  painter.scale(ratio, ratio);
  drawing::PaintBoard(painter, square);
  painter.end();
  return Finished(std::move(image), ratio);
}

QPixmap Man(int manCode, int size, qreal ratio) {
  if (manCode < 1 || manCode > 12)
    return {};
  if (IsDesign(size, kDesignMan, ratio))
    return Load(ManName(manCode, "png"));
  QImage image = Canvas(size, ratio);
  QPainter painter(&image);
  PaintMan(painter, manCode, QRectF(0, 0, image.width(), image.height()));
  painter.end();
  return Finished(std::move(image), ratio);
}

QPixmap CaptureMark(int size, qreal ratio) {
  if (IsDesign(size, kDesignMan, ratio))
    return Load(QStringLiteral("markx.png"));
  return Finished(drawing::CaptureMark(qRound(size * ratio)), ratio);
}

// The tool is drawn pixel by pixel; it grows by whole pixels, so it stays as sharp.
QPixmap EmptySquareTool(int size, qreal ratio) {
  const QPixmap tool = Load(QStringLiteral("nofield.png"));
  if (IsDesign(size, kDesignMan, ratio))
    return tool;
  const int pixels = qRound(size * ratio);
  QPixmap scaled = tool.scaled(pixels, pixels, Qt::IgnoreAspectRatio, Qt::FastTransformation);
  scaled.setDevicePixelRatio(ratio);
  return scaled;
}

QCursor PenCursor(int manCode) {
  if (manCode >= 1 && manCode <= 12)
    return QCursor(Man(manCode));
  return QCursor(EmptySquareTool(), kToolHotX, kToolHotY);
}

void PaintMan(QPainter &painter, int manCode, const QRectF &box) {
  if (manCode < 1 || manCode > 12)
    return;
  QSvgRenderer man(ResourcePath(ManName(manCode, "svg")));
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  man.render(&painter, box);
  painter.restore();
}

} // namespace pictures
