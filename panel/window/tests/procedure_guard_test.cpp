#include "panel/window/procedure_guard.h"

#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/log.h"

namespace {

TEST(ProcedureGuard, LogsWhatWasCaughtAsOneLine) {
  struct Case {
    std::function<void()> raise;
    std::string line;
  };
  const std::vector<Case> cases = {
      {[] { throw std::runtime_error("no more windows"); }, "[vyk] window procedure: no more windows\n"},
      {[] { throw std::bad_alloc(); }, std::string("[vyk] window procedure: ") + std::bad_alloc().what() + "\n"},
      {[] { throw 42; }, "[vyk] window procedure: unknown exception\n"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> lines;
    SetLogSink([&](const std::string& line) { lines.push_back(line); });
    try {
      c.raise();
    } catch (...) {
      LogCaughtInWindowProcedure();
    }
    SetLogSink(nullptr);
    EXPECT_EQ(lines, std::vector<std::string>{c.line});
  }
  std::vector<std::string> lines;
  SetLogSink([&](const std::string& line) { lines.push_back(line); });
  LogCaughtInWindowProcedure();  // outside a catch block: nothing to say
  SetLogSink(nullptr);
  EXPECT_TRUE(lines.empty());
}

}  // namespace
