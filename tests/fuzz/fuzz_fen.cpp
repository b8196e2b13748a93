// The FEN reader on any text: a FEN it takes comes back from the writer as one that reads to
// the same position, and a FEN it refuses says why.
#include "problem/fen.h"
#include "tests/fuzz/fuzz_check.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  using fuzz::Require;
  problem::FenPosition position;
  std::string error;
  if (!problem::ParseFen(std::string_view(reinterpret_cast<const char *>(data), size), position,
                         error)) {
    Require(!error.empty(), "a refusal gives its reason");
    return 0;
  }
  const std::string written = problem::FormatFen(position);
  problem::FenPosition again;
  Require(problem::ParseFen(written, again, error), "the written FEN reads");
  Require(again.board == position.board && again.whiteToMove == position.whiteToMove &&
              again.castlingRights == position.castlingRights,
          "the written FEN is the same position");
  Require(problem::FormatFen(again) == written, "writing is stable");
  return 0;
}
