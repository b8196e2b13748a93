#include "problem/epd.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

using problem::EpdRecord;

TEST(Epd, ReadsThePositionAndTheOperationsAndWritesThemBack) {
  const struct {
    const char *line;
    const char *id;
    std::optional<int> dm;
    std::size_t operations;
    const char *written; // nullptr: as read
  } cases[] = {
      {"5Q2/8/2P1pP2/4k3/4P3/8/4N3/R3K2R w KQ - dm 3; id \"Karge; 1979\";", "Karge; 1979", 3, 2,
       nullptr},
      {"8/8/8/8/8/8/8/k1K5 w - -", "", std::nullopt, 0, nullptr},
      {"8/8/8/8/8/8/8/k1K5 b - -  \tbm Kb2 Kd2;c0 \"a  b\" ; noop;", "", std::nullopt, 3,
       "8/8/8/8/8/8/8/k1K5 b - - bm Kb2 Kd2; c0 \"a  b\"; noop;"},
      {"8/8/8/8/8/8/8/k1K5 w - - id B7; dm 32767;", "B7", 32767, 2, nullptr},
  };
  for (const auto &c : cases) {
    EpdRecord record;
    std::string error;
    ASSERT_TRUE(problem::ParseEpdRecord(c.line, record, error)) << c.line << ": " << error;
    EXPECT_EQ(record.Id(), c.id) << c.line;
    EXPECT_EQ(record.MateMoves(), c.dm) << c.line;
    EXPECT_EQ(record.operations.size(), c.operations) << c.line;
    EXPECT_EQ(problem::FormatEpdRecord(record), c.written ? c.written : c.line);
  }
}

TEST(Epd, NamesWhatIsDamaged) {
  const std::pair<const char *, const char *> cases[] = {
      {"8/8/8/8/8/8/8/k1K5 w -", "four fields"},
      {"8/8/8/8/8/8/8/k1K5 w - - 0 1", "'0' is not an opcode"},
      {"8/8/8/8/8/8/8/k1K5 w - - ;", "';' is not an opcode"},
      {"8/8/8/8/8/8/8/k1K5 w - - dm 3", "'dm' lacks its closing ';'"},
      {"8/8/8/8/8/8/8/k1K5 w - - id \"x; dm 2;", "closing quote"},
      {"8/8/8/8/8/8/8/k1K5 w - - dm 0;", "not '0'"},
      {"8/8/8/8/8/8/8/k1K5 w - - dm 32768;", "not '32768'"},
      {"8/8/8/8/8/8/8/k1K5 w - - dm 2 3;", "not '2 3'"},
      {"8/8/8/8/8/8/8/k1K5 w - - dm \"2\";", "dm needs one whole number"},
      {"8/8/8/8/8/8/8/k1K5 w - - dm;", "dm needs one whole number"},
      {"8/8/8/8/8/8/8/k1K5 w - - id a b;", "id needs one operand, not 2"},
      {"8/8/8/8/8/8/8/k1K5 w - - dm 2; dm 3;", "'dm' appears twice"},
  };
  for (const auto &[line, reason] : cases) {
    EpdRecord record;
    std::string error;
    EXPECT_FALSE(problem::ParseEpdRecord(line, record, error)) << line;
    EXPECT_NE(error.find(reason), std::string::npos) << line << ": " << error;
    EXPECT_EQ(error.find('\n'), std::string::npos) << error;
  }
}

} // namespace
