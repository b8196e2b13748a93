// The problem as a diagram drawn from vectors: the board with its lettering and the men, alone
// or on a page with the stipulation, the comment and the solutions. Paper and vector files get
// it at any size without a single pixel in it.
#pragma once

#include <QString>
#include <QStringList>
#include <array>

class QPainter;
class QRectF;

using DiagramBoard = std::array<int, 64>; // ManCodes by square number

// The diagram fills `box`, which should be square.
void PaintDiagram(QPainter &painter, const DiagramBoard &board, const QRectF &box);

struct DiagramText {
  QString stipulation; // "Mate in 3"
  QString comment;
  QStringList solutions; // the lines of the solution list, as shown
};

// A printed page: the diagram across the middle half of the page, the stipulation under it,
// then the comment and the solutions.
void PaintDiagramPage(QPainter &painter, const QRectF &page, const DiagramBoard &board,
                      const DiagramText &text);

// The diagram as an SVG file; false when the file cannot be written.
bool WriteDiagramSvg(const QString &path, const DiagramBoard &board);
