#include "cli/record_output.h"

#include "cli/json.h"
#include "problem/solution_text.h"

#include <algorithm>

namespace cli {

namespace {

const char *StatusName(RecordAnswer::Status status) {
  switch (status) {
  case RecordAnswer::Status::Solved:
    return "solved";
  case RecordAnswer::Status::Timeout:
    return "timeout";
  default:
    return "error";
  }
}

std::string CommentText(const RecordAnswer &answer) {
  if (answer.status != RecordAnswer::Status::Solved) {
    // An EPD string cannot hold a double quote.
    std::string text = std::string(StatusName(answer.status)) + ": " + answer.message;
    std::replace(text.begin(), text.end(), '"', '\'');
    return text;
  }
  std::string text;
  for (const std::string &line : answer.lines)
    text += (text.empty() ? "" : " ") + problem::CompactLine(line);
  return text.empty() ? "no solution" : text;
}

} // namespace

std::string AnswerAsEpd(const problem::EpdRecord &record, const RecordAnswer &answer) {
  problem::EpdRecord answered = record;
  answered.Remove("bm");
  answered.Remove(kSolutionComment);
  if (answer.status == RecordAnswer::Status::Solved && !answer.sanKeys.empty()) {
    problem::EpdOperation best{.opcode = "bm", .operands = {}};
    for (const std::string &key : answer.sanKeys)
      best.operands.push_back({.text = key, .quoted = false});
    answered.operations.push_back(std::move(best));
  }
  answered.operations.push_back({.opcode = std::string(kSolutionComment),
                                 .operands = {{.text = CommentText(answer), .quoted = true}}});
  return problem::FormatEpdRecord(answered);
}

std::string AnswerAsJson(const problem::EpdRecord &record, const RecordAnswer &answer) {
  JsonObject json;
  json.Add("id", record.Id()).Add("fen", problem::FormatFen(record.position));
  if (answer.moves)
    json.Add("moves", std::int64_t{*answer.moves});
  else
    json.AddNull("moves");
  return json.Add("keys", answer.keys)
      .Add("lines", answer.lines)
      .Add("status", StatusName(answer.status))
      .Add("message", answer.message)
      .AddSeconds("seconds", answer.seconds)
      .Add("nodes", static_cast<std::int64_t>(answer.nodes))
      .Text();
}

} // namespace cli
