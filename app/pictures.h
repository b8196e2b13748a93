// The window's fixed pictures: the board, the twelve men, the capture mark and the
// empty-square tool, with the mouse pointers made from them.
#pragma once

#include <QCursor>
#include <QPixmap>

namespace pictures {

QPixmap Board();
QPixmap Man(int manCode); // 1..12; a null picture for anything else
QPixmap CaptureMark();
QPixmap EmptySquareTool();
// The pointer that shows the selected man: the man itself, or for 0 the empty-square tool
// with its arrow's tip as the hot spot.
QCursor PenCursor(int manCode);

} // namespace pictures
