// The EPD record reader on any line: a record it takes is written back as a line that reads to
// the same record, and a record it refuses says why.
#include "problem/epd.h"
#include "tests/fuzz/fuzz_check.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  using fuzz::Require;
  problem::EpdRecord record;
  std::string error;
  if (!problem::ParseEpdRecord(std::string_view(reinterpret_cast<const char *>(data), size),
                               record, error)) {
    Require(!error.empty(), "a refusal gives its reason");
    return 0;
  }
  const std::optional<int> moves = record.MateMoves();
  Require(!moves || (*moves >= 1 && *moves <= problem::kMaxMateMoves), "dm is a mate in 1 or more");
  const std::string written = problem::FormatEpdRecord(record);
  problem::EpdRecord again;
  Require(problem::ParseEpdRecord(written, again, error), "the written record reads");
  Require(again.position.board == record.position.board &&
              again.position.whiteToMove == record.position.whiteToMove &&
              again.Id() == record.Id() && again.MateMoves() == moves &&
              again.operations.size() == record.operations.size(),
          "the written record is the same record");
  Require(problem::FormatEpdRecord(again) == written, "writing is stable");
  return 0;
}
