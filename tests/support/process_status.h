// A figure of this process as /proc/self/status gives it, in kB ("VmRSS", "VmSize"); 0 where
// there is none.
#pragma once

#include <fstream>
#include <string>

namespace testing_support {

inline long long StatusKilobytes(const std::string &field) {
  std::ifstream status("/proc/self/status");
  for (std::string name; status >> name && name != field + ":";) {
  }
  long long kilobytes = 0;
  status >> kilobytes;
  return kilobytes;
}

} // namespace testing_support
