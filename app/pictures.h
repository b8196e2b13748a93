// The window's pictures: the board, the twelve men, the capture mark and the empty-square tool,
// with the mouse pointers made from them. At the design size (squares of 40 pixels, men of 32)
// they are the fixed pictures drawn for it; at any other size they are drawn from vectors, so a
// larger board stays sharp.
#pragma once

#include <QCursor>
#include <QPixmap>

class QPainter;
class QRectF;

namespace pictures {

// Sizes in the window's pixels; `ratio` is the screen's device pixels per window pixel.
QPixmap Board(int square = 40, qreal ratio = 1.0);
QPixmap Man(int manCode, int size = 32, qreal ratio = 1.0); // a null picture for no man
QPixmap CaptureMark(int size = 32, qreal ratio = 1.0);
QPixmap EmptySquareTool(int size = 32, qreal ratio = 1.0);
// The pointer that shows the selected man: the man itself, or for 0 the empty-square tool
// with its arrow's tip as the hot spot.
QCursor PenCursor(int manCode);
// The man as vectors into `box`, for paper and vector files.
void PaintMan(QPainter &painter, int manCode, const QRectF &box);

} // namespace pictures
