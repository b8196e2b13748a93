// quintabell-solve --epd: every record of a collection, in order, one output line each.
#pragma once

#include "cli/options.h"

#include <atomic>

namespace cli {

inline constexpr int kExitSomeRecordFailed = 1;

// Solves the records of options.shardIndex's shard: records I, I + N, I + 2N, ... counted from
// 1, blank lines not counted. A damaged record is reported on stderr with its line number and
// skipped. Answers the exit status: 0 when every record was solved, kExitSomeRecordFailed when
// one was damaged, refused or ran out of time, 2 when the collection cannot be read, 130 when
// `interrupted` was set.
int SolveCollection(const Options &options, std::atomic<bool> &interrupted);

} // namespace cli
