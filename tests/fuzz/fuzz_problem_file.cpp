// The problem-file reader on any bytes: what it loads stays in range, and a comment comes back
// to the very bytes it was read from when it is written again.
#include "problem/cmt_file.h"
#include "problem/windows1252.h"
#include "tests/fuzz/fuzz_check.h"

#include <algorithm>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  using fuzz::Require;
  const std::string_view bytes(reinterpret_cast<const char *>(data), size);
  problem::ProblemFile problem;
  std::string reason;
  if (!problem::DecodeProblemFile(bytes, problem, reason)) {
    Require(!reason.empty(), "a refused file comes with its reason");
    return 0;
  }
  Require(size >= problem::kProblemRecordSize, "reads only files long enough");
  Require(std::all_of(problem.board.begin(), problem.board.end(),
                      [](int code) { return code >= 0 && code <= 12; }),
          "every square holds a ManCode");
  Require(std::all_of(problem.castling.begin(), problem.castling.end(),
                      [](short state) { return state >= 0 && state <= 2; }),
          "every castling box is unchecked, checked or grayed");
  Require(problem.maxDepth >= 0 && problem.maxDepth <= problem::kMaxDepthValue,
          "the depth is one a save writes");
  const auto length = static_cast<unsigned char>(bytes[problem::kCommentLengthOffset]) |
                      static_cast<unsigned char>(bytes[problem::kCommentLengthOffset + 1]) << 8;
  Require(problem::ToWindows1252(problem.comment) == bytes.substr(problem::kCommentOffset, length),
          "the comment is written back as the bytes it was read from");
  return 0;
}
