#include "app/core/log.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <vector>

TEST(Log, FormatsWholeLinesWithC99Conversions) {
  std::vector<std::string> lines;
  SetLogSink([&](const std::string& line) { lines.push_back(line); });
  VykLog("[vyk] scanned %zu characters\n", static_cast<size_t>(3000));
  VykLog("[vyk] Window capture exclusion could not be set (error %lu).\n", 8ul);
  SetLogSink(nullptr);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], "[vyk] scanned 3000 characters\n");
  EXPECT_EQ(lines[1], "[vyk] Window capture exclusion could not be set (error 8).\n");
}
