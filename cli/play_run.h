// quintabell-solve --play: the play of every key, with tries and set play when asked, as text
// or as JSON documents on stdout, each as soon as it is worked out.
#pragma once

#include "cli/options.h"
#include "problem/fen.h"

#include <atomic>

namespace cli {

// White to move. Answers the exit status: 0, 2 when no thread could be had, 130 when
// `interrupted` was set.
int ShowPlay(const Options &options, const problem::FenPosition &position, int moves,
             const std::atomic<bool> &interrupted);

} // namespace cli
