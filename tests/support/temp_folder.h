// A folder of the test's own under the test run's temporary directory, removed with everything
// in it when the test is done: ctest runs tests in parallel processes.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace testing_support {

class TempFolder {
public:
  explicit TempFolder(const std::string &prefix) {
    std::string name = ::testing::TempDir() + prefix + "_XXXXXX";
    EXPECT_NE(mkdtemp(name.data()), nullptr) << name;
    path_ = name;
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder &) = delete;
  TempFolder &operator=(const TempFolder &) = delete;

  const std::filesystem::path &path() const { return path_; }
  std::filesystem::path operator/(const std::filesystem::path &name) const { return path_ / name; }

private:
  std::filesystem::path path_;
};

// The whole file, byte for byte; empty when it cannot be read.
inline std::string FileBytes(const std::filesystem::path &file) {
  std::stringstream bytes;
  bytes << std::ifstream(file, std::ios::binary).rdbuf();
  return bytes.str();
}

} // namespace testing_support
