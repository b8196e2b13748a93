#include "app/output/capture_module.h"

#include <QFrame>
#include <QWidget>

QPixmap CaptureWindowArea(QWidget *window, bool client, int left, int top, int width, int height) {
  QPoint origin(left, top);
  if (const auto *frame = qobject_cast<QFrame *>(window); client && frame != nullptr) {
    origin += frame->contentsRect().topLeft();
  }
  // What the screen shows now, children included: repaint first so nothing is stale.
  window->repaint();
  return window->grab(QRect(origin, QSize(width, height)));
}
