// The registry file's reader on any text: what a change would write back reads as itself, so
// nothing drifts or goes missing from one write to the next.
#include "platform/registry_text.h"
#include "tests/fuzz/fuzz_check.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  namespace text = platform::registry_text;
  const std::string written =
      text::Print(text::Parse(std::string_view(reinterpret_cast<const char *>(data), size)));
  fuzz::Require(text::Print(text::Parse(written)) == written, "a written file reads as itself");
  return 0;
}
