// The board and the capture cross drawn at any size. The picture tool draws the window's design
// pictures with these, and the window draws them again whenever its board grows.
#pragma once

class QImage;
class QPainter;

namespace drawing {

// The design's sizes are those of a board with squares of 40 pixels.
inline constexpr int kDesignSquare = 40;

// A length of the design board on a board with squares of `square` pixels, rounded.
constexpr int Scaled(int designPixels, int square) {
  return (designPixels * square + kDesignSquare / 2) / kDesignSquare;
}

// The board from (0, 0): eight by eight squares of `square` pixels, a1 dark at the bottom left,
// inside a lettered wooden border of Scaled(16, square) pixels.
void PaintBoard(QPainter &painter, int square);
inline constexpr int BoardSize(int square) { return 8 * square + 2 * Scaled(16, square); }

// The capture mark, `pixels` wide and high: a red cross, light-edged so that it stands out on
// the dark men too, and see-through so that the man it takes stays recognisable.
QImage CaptureMark(int pixels);

} // namespace drawing
