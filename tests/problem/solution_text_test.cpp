#include "problem/solution_text.h"

#include <gtest/gtest.h>

namespace {

TEST(SolutionText, GivesTheCoordinateAndTheCompactForm) {
  const struct {
    const char *line;
    bool whiteMoves;
    const char *coordinate;
    const char *compact;
  } cases[] = {
      {"Ng1-f3    ", true, "g1f3", "Ng1-f3"},
      {"Qf8xe7   +", true, "f8e7", "Qf8xe7+"},
      {" e7-e8=Q #", true, "e7e8q", "e7-e8=Q#"},
      {" b2xa1=N  ", false, "b2a1n", "b2xa1=N"},
      {"  0-0     ", true, "e1g1", "0-0"},
      {"  0-0-0   ", false, "e8c8", "0-0-0"},
      {">> STALEMT", true, "", ">> STALEMT"},
      {"Qi8-e7    ", true, "", "Qi8-e7"},
      {"Qf8-e7", true, "", "Qf8-e7"},
  };
  for (const auto &c : cases) {
    EXPECT_EQ(problem::CoordinateMove(c.line, c.whiteMoves), c.coordinate) << c.line;
    EXPECT_EQ(problem::CompactLine(c.line), c.compact) << c.line;
  }
}

} // namespace
