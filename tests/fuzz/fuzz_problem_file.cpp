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
  const bool read = problem::DecodeProblemFile(bytes, problem);
  Require(read == (size >= problem::kProblemRecordSize), "reads exactly the files long enough");
  if (!read)
    return 0;
  Require(std::all_of(problem.board.begin(), problem.board.end(),
                      [](int code) { return code >= 0 && code <= 12; }),
          "every square holds a ManCode");
  Require(std::all_of(problem.castling.begin(), problem.castling.end(),
                      [](short state) { return state >= 0 && state <= 2; }),
          "every castling box is unchecked, checked or grayed");
  const auto length = static_cast<unsigned char>(bytes[problem::kCommentLengthOffset]) |
                      static_cast<unsigned char>(bytes[problem::kCommentLengthOffset + 1]) << 8;
  const std::size_t kept =
      std::clamp<int>(static_cast<std::int16_t>(length), 0, problem::kMaxCommentLength);
  Require(problem::ToWindows1252(problem.comment) == bytes.substr(problem::kCommentOffset, kept),
          "the comment is written back as the bytes it was read from");
  return 0;
}
