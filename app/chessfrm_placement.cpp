// The window's place and size from one run to the next. The frame's top left corner is kept
// (LastPosX, LastPosY, twips) with the widths of the frame's left and top edges (LastFrameLeft,
// LastFrameTop, the screen's pixels), so the window comes back where it was whatever the window
// manager makes of a position asked for before the window is shown; and a place off every
// screen is brought back onto one.
#include "app/chessfrm.h"
#include "app/store/settings_object.h"
#include "app/window_placement.h"

#include <QGuiApplication>
#include <QScreen>

namespace {

QList<QRect> ScreenAreas() {
  QList<QRect> areas;
  if (const QScreen *primary = QGuiApplication::primaryScreen(); primary != nullptr)
    areas.append(primary->availableGeometry());
  for (const QScreen *screen : QGuiApplication::screens()) {
    if (screen != QGuiApplication::primaryScreen())
      areas.append(screen->availableGeometry());
  }
  if (areas.isEmpty())
    areas.append(QRect(0, 0, 1024, 768));
  return areas;
}

} // namespace

void chessfrm::RestorePlacement() {
  SettingsObject settings;
  const int dpi = logicalDpiX();
  const QList<QRect> screens = ScreenAreas();
  const auto stored = [&](const char *name, int fallback) {
    return TwipsToPixels(
        settings.ReadNumber(QString::fromLatin1(name), PixelsToTwips(fallback, dpi)), dpi);
  };
  // No larger than the largest screen, no smaller than the design.
  QSize largest;
  for (const QRect &screen : screens)
    largest = largest.expandedTo(screen.size());
  const QSize size = QSize(stored("LastWidth", width()), stored("LastHeight", height()))
                         .boundedTo(largest)
                         .expandedTo(minimumSizeHint());
  // The frame's edges as the last run measured them, in the screen's own pixels as the window
  // manager draws them; before any run (or past belief) they are guessed for keeping the window
  // on the screen, the title bar above all.
  const qreal ratio = devicePixelRatioF();
  const QPoint edges(qRound(settings.ReadNumber(QStringLiteral("LastFrameLeft"), -1) / ratio),
                     qRound(settings.ReadNumber(QStringLiteral("LastFrameTop"), -1) / ratio));
  constexpr int kWidestEdge = 200;
  const bool measured =
      edges.x() >= 0 && edges.y() >= 0 && edges.x() <= kWidestEdge && edges.y() <= kWidestEdge;
  const QMargins frame =
      measured ? QMargins(edges.x(), edges.y(), edges.x(), edges.x()) : QMargins(8, 32, 8, 8);
  const QRect &primary = screens.front();
  const QRect centred(primary.topLeft() +
                          QPoint(primary.width() - size.width(), primary.height() - size.height()) /
                              2,
                      size);
  QRect inner(QPoint(stored("LastPosX", centred.x()), stored("LastPosY", centred.y())), size);
  if (measured)
    inner.translate(edges);
  // The inner area is placed, which means the same to every window manager.
  inner.moveTopLeft(OnScreen(inner.marginsAdded(frame), screens).topLeft() +
                    QPoint(frame.left(), frame.top()));
  setGeometry(inner);
  frameOffset_ = measured ? edges : QPoint();
  normalFrame_ = QRect(inner.topLeft() - frameOffset_, size);
  if (settings.ReadNumber(QStringLiteral("LastMaximized"), 0) != 0)
    setWindowState(Qt::WindowMaximized);
}

void chessfrm::SavePlacement(SettingsObject::Values &values) const {
  const int dpi = logicalDpiX();
  const std::pair<const char *, int> places[] = {{"LastPosX", normalFrame_.x()},
                                                 {"LastPosY", normalFrame_.y()},
                                                 {"LastWidth", normalFrame_.width()},
                                                 {"LastHeight", normalFrame_.height()}};
  for (const auto &[name, pixels] : places)
    values.append({QString::fromLatin1(name), PixelsToTwips(pixels, dpi)});
  values.append({QStringLiteral("LastFrameLeft"), qRound(frameOffset_.x() * devicePixelRatioF())});
  values.append({QStringLiteral("LastFrameTop"), qRound(frameOffset_.y() * devicePixelRatioF())});
  values.append({QStringLiteral("LastMaximized"), isMaximized() ? 1 : 0});
}

// The place to come back to is the one the window has when it is neither maximised nor
// minimised: the frame's corner and the inner area's size.
void chessfrm::KeepPlacement() {
  if (!isVisible() || windowState() != Qt::WindowNoState)
    return;
  normalFrame_ = QRect(frameGeometry().topLeft(), size());
  frameOffset_ = geometry().topLeft() - frameGeometry().topLeft();
}

void chessfrm::moveEvent(QMoveEvent *event) {
  QMainWindow::moveEvent(event);
  KeepPlacement();
}

void chessfrm::resizeEvent(QResizeEvent *event) {
  QMainWindow::resizeEvent(event);
  KeepPlacement();
}
