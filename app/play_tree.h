// The play of a first move as the panel's tree shows it: one item per move, in the notation of a
// printed solution ("1.Qf8-e7 !", "1...Ke5xe4", "2.Qe7xe6 +", "3.0-0 #", " (dual)"), White's
// answers under each Black move and Black's moves under each White move, the threat under its
// own heading.
#pragma once

#include <QJsonObject>
#include <QString>

class QTreeWidget;

namespace play_tree {

// An item's move as a line of the solution list ("  0-0", " e7-e8=Q", "Qf8-e7"), which the
// window frames as it frames the list's lines; empty on a heading.
inline constexpr int kLineRole = Qt::UserRole;
// True on a White move: the side decides the rank a castling is framed on.
inline constexpr int kWhiteRole = Qt::UserRole + 1;

// The control's document of one key (or try): every node as the control wrote it, with
// White's shortest answers only.
void Fill(QTreeWidget &tree, const QJsonObject &document);

} // namespace play_tree
