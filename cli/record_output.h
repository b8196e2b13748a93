// The line a collection's record gets in the output: the record itself with its answer added,
// or one JSON object.
#pragma once

#include "cli/record_solve.h"
#include "problem/epd.h"

#include <string>
#include <string_view>

namespace cli {

// The comment opcode that carries the solutions in the long notation the program shows
// ("Qf8-e7"), or why there are none. c0 is left alone: collections keep source and author there.
inline constexpr std::string_view kSolutionComment = "c9";

// The record with its `bm` and c9 replaced: `bm` lists the keys in SAN when the record was
// solved and has keys; c9 holds the solution texts without blanks, "no solution", or the status
// and the reason ("timeout: no answer within 5 s").
std::string AnswerAsEpd(const problem::EpdRecord &record, const RecordAnswer &answer);

// {"id","fen","moves","keys","lines","status","message","seconds","nodes"}; moves is null when
// the record gave no depth.
std::string AnswerAsJson(const problem::EpdRecord &record, const RecordAnswer &answer);

} // namespace cli
