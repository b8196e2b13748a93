// The texts of a solving run that are worked out rather than fixed: the depth label, the
// elapsed-time line, and the reading of a solution line's squares.
#pragma once

#include <QString>

// "mate in 3 moves"; while the thumb is being dragged always with the plural ending.
QString DepthLabel(int sliderValue, bool dragging);

// ">> time: 1d 1h 1m 1s": days, hours and minutes only from the first that is not zero.
QString ElapsedTimeLine(long long seconds);

// The file (0 for a..7 for h, either case) of the character at position p, counted from 1;
// anything else gives 0.
int FileIndex(const QString &text, int p);

// The number value of the digit at position p, counted from 1; 0 for anything else.
int DigitAt(const QString &text, int p);

// Notices, summaries and the time line begin with ">>"; every other line counts as a solution.
bool IsNotice(const QString &line);
