// Where the main window goes: positions kept in twips, and a window that would lie off the
// screens brought back onto one.
#pragma once

#include <QList>
#include <QRect>

// A twip is a 1440th of an inch; positions are kept in twips so they mean the same place on
// screens of any resolution. Any stored number converts without overflow, clamped to the
// range of a screen coordinate.
int PixelsToTwips(int pixels, int dpi);
int TwipsToPixels(qint64 twips, int dpi);

// `frame` where it is when it lies wholly on one of the screens (their available areas);
// otherwise moved into the screen it overlaps most, or the first when it overlaps none. A frame
// larger than that screen keeps its size with its top left corner, the title bar, on the screen.
QRect OnScreen(const QRect &frame, const QList<QRect> &screens);
