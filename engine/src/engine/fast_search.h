// The accelerated searches beneath a task's root. They give exactly the answers of WhiteMates
// and BlackEscapes for the same position and moves left; only the way there is shorter (see
// docs/SEARCH.md). Internal to the engine.
#pragma once

#include "engine/node_key.h"
#include "engine/search_context.h"

namespace engine {

// The same answers as WhiteMates() and BlackEscapes() with movesLeft moves left; `key` is the
// key of the position on the board. Need a context with a table.
bool FastWhiteMates(SearchContext &ctx, int movesLeft, const NodeKey &key);
bool FastBlackEscapes(SearchContext &ctx, int movesLeft, const NodeKey &key);

} // namespace engine
