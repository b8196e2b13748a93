// The two searches beneath a task's root, and the text of a solution. Internal to the engine.
#pragma once

#include <array>

namespace engine {

// White to move: can White force mate with the moves left?
bool WhiteMates();
// Black to move: has Black a reply after which White cannot force mate, or no move at all
// without being in check?
bool BlackEscapes();

// The 10-character text of the key or defence just taken back on the current record.
using SolutionLine = std::array<char, 10>;
SolutionLine BuildSolutionLine();

} // namespace engine
