#include "app/window_placement.h"

#include <algorithm>

namespace {

constexpr qint64 kTwipsPerInch = 1440;
// Far beyond any screen, and far from overflowing when converted.
constexpr qint64 kFarthest = 1 << 24;

int Clamped(qint64 value) { return static_cast<int>(std::clamp(value, -kFarthest, kFarthest)); }

} // namespace

int PixelsToTwips(int pixels, int dpi) {
  return Clamped(qint64(pixels) * kTwipsPerInch / std::max(1, dpi));
}

int TwipsToPixels(qint64 twips, int dpi) {
  return Clamped(twips * std::max(1, dpi) / kTwipsPerInch);
}

QRect OnScreen(const QRect &frame, const QList<QRect> &screens) {
  if (screens.isEmpty())
    return frame;
  const QRect *best = &screens.front();
  qint64 bestArea = -1;
  for (const QRect &screen : screens) {
    if (screen.contains(frame))
      return frame;
    const QRect common = screen.intersected(frame);
    const qint64 area = common.isEmpty() ? 0 : qint64(common.width()) * common.height();
    if (area > bestArea) {
      bestArea = area;
      best = &screen;
    }
  }
  QRect moved = frame;
  moved.moveLeft(std::max(best->left(), std::min(frame.left(), best->right() + 1 - frame.width())));
  moved.moveTop(std::max(best->top(), std::min(frame.top(), best->bottom() + 1 - frame.height())));
  return moved;
}
