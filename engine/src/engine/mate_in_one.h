// The last White move of a mate: only a check can mate, and a check mates only when Black has
// no reply. Both questions are answered here with as little generation as they allow.
// Internal to the engine.
#pragma once

#include "engine/search_context.h"

namespace engine {

// Black to move after White's last move: is Black checkmated?
bool BlackCheckmated(SearchContext &ctx);
// White to move: has White a move that mates at once?
bool WhiteMatesInOne(SearchContext &ctx);

} // namespace engine
