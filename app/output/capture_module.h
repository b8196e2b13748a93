// CaptureModule: a rectangle of a window copied into a picture, as drawn on the screen now.
#pragma once

#include <QPixmap>

class QWidget;

// `client`: the rectangle's origin is the widget's inner area (inside its frame); otherwise
// the whole widget, frame included.
QPixmap CaptureWindowArea(QWidget *window, bool client, int left, int top, int width, int height);
