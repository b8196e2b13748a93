// The Windows-1252 conversion both ways on any bytes: code-page text survives a load and a
// save whole, and UTF-8 takes as many bytes in the code page as it has characters.
#include "problem/windows1252.h"
#include "tests/fuzz/fuzz_check.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  using fuzz::Require;
  const std::string_view bytes(reinterpret_cast<const char *>(data), size);
  Require(problem::ToWindows1252(bytes).size() == problem::Utf8CharacterCount(bytes),
          "one code-page byte per character");
  const std::string utf8 = problem::FromWindows1252(bytes);
  Require(problem::ToWindows1252(utf8) == bytes, "code-page text comes back whole");
  Require(problem::Utf8CharacterCount(utf8) == size, "one character per code-page byte");
  return 0;
}
