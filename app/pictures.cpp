#include "app/pictures.h"

#include <QString>

// Resources compiled into a static library have to be registered by name.
static void RegisterPictures() { Q_INIT_RESOURCE(pictures); }

namespace pictures {

namespace {

QPixmap Load(const QString &name) {
  static const bool registered = (RegisterPictures(), true);
  (void)registered;
  return QPixmap(QStringLiteral(":/pictures/") + name);
}

// The tip of the arrow in the empty-square tool.
constexpr int kToolHotX = 10;
constexpr int kToolHotY = 6;

} // namespace

QPixmap Board() { return Load(QStringLiteral("board.png")); }

QPixmap Man(int manCode) {
  if (manCode < 1 || manCode > 12)
    return {};
  return Load(QStringLiteral("men/man%1.png").arg(manCode, 2, 10, QLatin1Char('0')));
}

QPixmap CaptureMark() { return Load(QStringLiteral("markx.png")); }

QPixmap EmptySquareTool() { return Load(QStringLiteral("nofield.png")); }

QCursor PenCursor(int manCode) {
  if (manCode >= 1 && manCode <= 12)
    return QCursor(Man(manCode));
  return QCursor(EmptySquareTool(), kToolHotX, kToolHotY);
}

} // namespace pictures
