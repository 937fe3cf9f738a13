// When the hooks count as lost: input the system saw and the hooks did not, for longer than the
// grace time; never for quiet periods, input the hooks saw, or clocks that wrapped. Input that no
// reinstall makes visible is retried ever less often, and hooks that see input again are watched
// at the grace time again.
#include <gtest/gtest.h>

#include <vector>

#include "hotkeys/hook_watchdog.h"

namespace {

constexpr HookRepair kNone = HookRepair::None;
constexpr HookRepair kReinstall = HookRepair::Reinstall;

// One step of a timeline: the hooks are installed, see an event, or the periodic check runs.
struct Step {
  enum Kind { Install, Seen, Check } kind;
  uint32_t now;
  uint32_t lastInput = 0;           // Check: the system's last input
  HookRepair expected = kNone;      // Check: the verdict
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
                      {Step::Check, 2000, 900}, {Step::Check, 3000, 900, kReinstall}}},
      {"typing on into lost hooks still counts from the first unseen key",
       {{Step::Install, 0}, {Step::Check, 1000, 800}, {Step::Check, 2000, 1900},
        {Step::Check, 2800, 2700, kReinstall}}},
      {"a slow hook that catches up", {{Step::Install, 0}, {Step::Check, 1000, 900}, {Step::Seen, 1500},
                                       {Step::Check, 4000, 1400}, {Step::Check, 5000, 1400}}},
      {"caught up, then lost later", {{Step::Install, 0}, {Step::Check, 1000, 900}, {Step::Seen, 1200},
                                      {Step::Check, 2000, 1900}, {Step::Check, 3000, 1900},
                                      {Step::Check, 3900, 1950, kReinstall}}},
      {"input just before the install is not owed", {{Step::Install, 5000}, {Step::Check, 20000, 4990}}},
      {"hooks that work after a reinstall are lost again at the grace time",
       {{Step::Install, 0}, {Step::Check, 3000, 500, kReinstall}, {Step::Install, 3000}, {Step::Seen, 3200},
        {Step::Check, 4000, 3200}, {Step::Check, 5000, 4500}, {Step::Check, 6000, 4500},
        {Step::Check, 6500, 4500, kReinstall}}},
      {"a reinstall that brought no event waits twice as long",
       {{Step::Install, 0}, {Step::Check, 3000, 500, kReinstall}, {Step::Install, 3000}, {Step::Check, 5500, 3500},
        {Step::Check, 7400, 3500}, {Step::Check, 7500, 3500, HookRepair::ReinstallAndBackOff}}},
      {"tick count wraps with live hooks", {{Step::Install, wrap}, {Step::Seen, 200}, {Step::Check, 3000, 150}}},
      {"tick count wraps with lost hooks", {{Step::Install, wrap}, {Step::Check, wrap + 4000, wrap + 3000},
                                            {Step::Check, 1500, wrap + 3000, kReinstall}}},
  };
  for (const Timeline& timeline : timelines) {
    SCOPED_TRACE(timeline.name);
    HookWatchdog watchdog;
    for (size_t i = 0; i < timeline.steps.size(); ++i) {
      const Step& step = timeline.steps[i];
      switch (step.kind) {
        case Step::Install: watchdog.Installed(step.now); break;
        case Step::Seen: watchdog.HookSaw(step.now); break;
        case Step::Check: EXPECT_EQ(watchdog.Check(step.now, step.lastInput), step.expected) << "step " << i; break;
      }
    }
  }
}

// The watchdog's timer over a fake clock: it checks once a period and reinstalls as asked.
struct Clock {
  HookWatchdog watchdog;
  uint32_t now = 0;
  std::vector<std::pair<uint32_t, HookRepair>> repairs;

  Clock() { watchdog.Installed(0); }
  // Runs the checks until `until` while the system sees input just before each check; the hooks
  // see it too when `hooksSee`.
  void Type(uint32_t until, bool hooksSee) {
    while (now + kHookWatchdogPeriodMs <= until) {
      now += kHookWatchdogPeriodMs;
      const uint32_t input = now - 100;
      if (hooksSee) watchdog.HookSaw(input);
      const HookRepair repair = watchdog.Check(now, input);
      if (repair == HookRepair::None) continue;
      repairs.emplace_back(now, repair);
      watchdog.Installed(now);
    }
  }
};

// Typing into an elevated window for minutes: one reinstall at the grace time, then waits that
// double up to a minute, and only the first two say so. Back at an ordinary window the hooks see
// the keys, and when they are then really lost it is found at the grace time.
TEST(HookWatchdog, BacksOffFromInputNoReinstallMakesVisible) {
  Clock clock;
  clock.Type(200000, /*hooksSee=*/false);
  const std::vector<std::pair<uint32_t, HookRepair>> blind = {
      {3000, HookRepair::Reinstall},         {8000, HookRepair::ReinstallAndBackOff},
      {17000, HookRepair::ReinstallQuietly}, {34000, HookRepair::ReinstallQuietly},
      {67000, HookRepair::ReinstallQuietly}, {128000, HookRepair::ReinstallQuietly},
      {189000, HookRepair::ReinstallQuietly}};
  EXPECT_EQ(clock.repairs, blind);

  clock.Type(230000, /*hooksSee=*/true);
  EXPECT_EQ(clock.repairs.size(), blind.size());
  EXPECT_EQ(clock.watchdog.WaitMs(), kHookWatchdogGraceMs);
  clock.Type(236000, /*hooksSee=*/false);  // the system drops the hooks
  ASSERT_EQ(clock.repairs.size(), blind.size() + 1);
  EXPECT_EQ(clock.repairs.back(), std::make_pair(233000u, HookRepair::Reinstall));
  clock.Type(250000, /*hooksSee=*/true);  // the new hooks work
  EXPECT_EQ(clock.repairs.size(), blind.size() + 1);
}

}  // namespace
