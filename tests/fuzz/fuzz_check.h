// A property every input must keep. A broken one aborts, which the fuzzer reports as a crash
// together with the input that broke it.
#pragma once

#include <cstdio>
#include <cstdlib>

namespace fuzz {

inline void Require(bool holds, const char *property) {
  if (!holds) {
    std::fprintf(stderr, "property broken: %s\n", property);
    std::abort();
  }
}

} // namespace fuzz
