#include "core/log.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
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

TEST(Log, CaughtExceptionsAreLoggedWithWhatTheySaid) {
  std::vector<std::string> lines;
  SetLogSink([&](const std::string& line) { lines.push_back(line); });
  try {
    throw std::runtime_error("RoGetActivationFactory failed (0x80040154)");
  } catch (...) {
    LogCaughtException("screen text not read");
  }
  try {
    throw 42;
  } catch (...) {
    LogCaughtException("worker stopped by an exception");
  }
  SetLogSink(nullptr);
  EXPECT_EQ(lines, (std::vector<std::string>{
                       "[vyk] screen text not read: RoGetActivationFactory failed (0x80040154)\n",
                       "[vyk] worker stopped by an exception: an exception of unknown type\n"}));
}

namespace {

void LogOnceTheStaticsAreGone() { VykLog("[vyk] written after exit\n"); }

[[noreturn]] void LogThroughExit() {
  // Registered before the log first runs, so this runs after every static object the log made for
  // itself would be destroyed: the moment a worker that is still logging reaches while the process
  // exits, made deterministic.
  std::atexit(LogOnceTheStaticsAreGone);
  const std::string prefix = "sink: ";  // too big for std::function's inline storage, so it lives on the heap
  SetLogSink([prefix](const std::string& line) { std::fputs((prefix + line).c_str(), stderr); });
  VykLog("[vyk] written before exit\n");
  std::exit(0);
}

}  // namespace

TEST(LogDeathTest, LinesWrittenWhileTheProcessExitsStillArrive) {
  // A fresh process, so the log's statics are made inside it, after the exit handler above.
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(LogThroughExit(), ::testing::ExitedWithCode(0), "sink: \\[vyk\\] written after exit");
}
