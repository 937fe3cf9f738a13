#pragma once
// The panel window's timers for controller tests: which run, at what period.
#include <map>

#include "panel/controllers/timer_port.h"

class FakeTimers final : public TimerPort {
 public:
  void StartTimer(unsigned id, unsigned periodMs) override { running[id] = periodMs; }
  void StopTimer(unsigned id) override { running.erase(id); }
  bool Runs(unsigned id) const { return running.count(id) != 0; }

  std::map<unsigned, unsigned> running;  // id -> period in milliseconds
};
