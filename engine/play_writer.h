// The play of a solution as text and as JSON, shared by the command line and the control.
//
// Text, as a printed solution shows it (White's move m at column 6(m - 1) when it stands
// alone, Black's at 6(m - 1) + 3):
//   1.Qf8-e7 ! threat:
//         2.Ne2-d4 +
//            2...Ke5xd4 3.Qe7-c5 #
//      1...Ke5-d5 2.Qe7-d7 +
//            2...Kd5-c4 3.Qd7-b5 #
// A Black move shares its line with White's first answer; further answers of the same length
// (duals, each marked " (dual)") follow on lines of their own under the first. Only White's
// shortest answers are shown, and Black moves that the threat answers are left out. A try ends
// with "but 1...Xx-y !" for each refutation.
//
// JSON, one document per key, try or set play, with nothing left out: every node is
// {"uci":"f8e7","text":"Qf8-e7","replies":[...]} with "check":true or "mate":true (a mating
// move has no replies), "mateIn" (White moves to mate: from a White move, itself included, or
// after a Black move), "dual", "byThreat" and "cut" when true. Documents carry "kind" ("key",
// "try" or "setPlay") and "moves"; key and try also "threat" and "zugzwang", a try
// "refutations".
#pragma once

#include "engine/play.h"

#include <string>
#include <vector>

namespace engine {

std::vector<std::string> PlayText(const FirstMovePlay &play);
// Black's moves that have a set mate; "set play: none" when none has.
std::vector<std::string> SetPlayText(const std::vector<PlayNode> &blackMoves);

std::string PlayJson(const FirstMovePlay &play, int moves);
std::string SetPlayJson(const std::vector<PlayNode> &blackMoves, int moves);

} // namespace engine
