// When the hooks count as lost: input the system saw and the hooks did not, for longer than the
// grace time; never for quiet periods, input the hooks saw, or clocks that wrapped.
#include <gtest/gtest.h>

#include <vector>

#include "hotkeys/hook_watchdog.h"

namespace {

// One step of a timeline: the hooks see an event, or the periodic check runs.
struct Step {
  enum Kind { Install, Seen, Check } kind;
  uint32_t now;
  uint32_t lastInput = 0;  // Check: the system's last input
  bool reinstall = false;  // Check: the expected verdict
};

struct Timeline {
  const char* name;
  std::vector<Step> steps;
};

TEST(HookWatchdog, ReinstallsOnlyWhenInputStaysUnseen) {
  const uint32_t wrap = 0xFFFFF000u;  // 4096 ms before the tick count wraps
  const std::vector<Timeline> timelines = {
      {"quiet desktop", {{Step::Install, 1000}, {Step::Check, 60000, 500}, {Step::Check, 90000, 999}}},
      {"hooks see every key", {{Step::Install, 0}, {Step::Seen, 5001}, {Step::Check, 9000, 5000},
                               {Step::Seen, 9500}, {Step::Check, 20000, 9500}}},
      {"the system stamps a seen key a tick after the hook", {{Step::Install, 0}, {Step::Seen, 5000},
                                                             {Step::Check, 6000, 5001}, {Step::Check, 8000, 5001},
                                                             {Step::Check, 9000, 5001}}},
      {"lost hooks", {{Step::Install, 0}, {Step::Seen, 100}, {Step::Check, 1000, 900},
                      {Step::Check, 2000, 900}, {Step::Check, 3000, 900, true}}},
      {"typing on into lost hooks still counts from the first unseen key",
       {{Step::Install, 0}, {Step::Check, 1000, 800}, {Step::Check, 2000, 1900}, {Step::Check, 2800, 2700, true}}},
      {"a slow hook that catches up", {{Step::Install, 0}, {Step::Check, 1000, 900}, {Step::Seen, 1500},
                                       {Step::Check, 4000, 1400}, {Step::Check, 5000, 1400}}},
      {"caught up, then lost later", {{Step::Install, 0}, {Step::Check, 1000, 900}, {Step::Seen, 1200},
                                      {Step::Check, 2000, 1900}, {Step::Check, 3000, 1900},
                                      {Step::Check, 3900, 1950, true}}},
      {"input just before the install is not owed", {{Step::Install, 5000}, {Step::Check, 20000, 4990}}},
      {"after a reinstall the clock starts again", {{Step::Install, 0}, {Step::Check, 3000, 500, true},
                                                    {Step::Install, 3000}, {Step::Check, 4000, 500},
                                                    {Step::Check, 5000, 3500}, {Step::Check, 5500, 3500, true}}},
      {"tick count wraps with live hooks", {{Step::Install, wrap}, {Step::Seen, 200}, {Step::Check, 3000, 150}}},
      {"tick count wraps with lost hooks", {{Step::Install, wrap}, {Step::Check, wrap + 4000, wrap + 3000},
                                            {Step::Check, 1500, wrap + 3000, true}}},
  };
  for (const Timeline& timeline : timelines) {
    SCOPED_TRACE(timeline.name);
    HookWatchdog watchdog;
    for (size_t i = 0; i < timeline.steps.size(); ++i) {
      const Step& step = timeline.steps[i];
      switch (step.kind) {
        case Step::Install: watchdog.Installed(step.now); break;
        case Step::Seen: watchdog.HookSaw(step.now); break;
        case Step::Check: EXPECT_EQ(watchdog.Check(step.now, step.lastInput), step.reinstall) << "step " << i; break;
      }
    }
  }
}

}  // namespace
