// The plain searches beneath a task's root, the reference for every faster one, and the text
// of a solution. Internal to the engine.
#pragma once

#include "engine/search_context.h"

#include <array>

namespace engine {

// White to move: can White force mate with the moves left?
bool WhiteMates(SearchContext &ctx);
// Black to move: has Black a reply after which White cannot force mate, or no move at all
// without being in check?
bool BlackEscapes(SearchContext &ctx);

// The 10-character text of the key or defence just taken back on the current record;
// `arrivingMan` is what stood on the target square after the move (a promoted pawn's kind).
using SolutionLine = std::array<char, 10>;
SolutionLine BuildSolutionLine(Position &pos, CellCode arrivingMan);

} // namespace engine
