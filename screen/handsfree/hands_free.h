#pragma once
// Hands-free auto-scan in stealth mode: a timer samples the screen, waits for it to change and
// settle, and scans it by itself, pausing after several scans in a row find no question. This is
// the controller's decision side; the panel runs its timer and starts what it asks for.
#include <cstdint>

inline constexpr unsigned kHandsFreeActiveMs = 1000;
inline constexpr unsigned kHandsFreePausedMs = 2000;

// What the controller needs to know about the panel at each step.
struct HandsFreeSituation {
  bool stealth = false;
  bool visible = false;      // the panel (here: its strip) is shown
  int intervalSeconds = 0;   // 0 (off), 5, 10 or 30
};

// Whether the hands-free timer runs, and at what period.
struct HandsFreeTimer {
  bool running = false;
  unsigned periodMs = 0;
  bool operator==(const HandsFreeTimer&) const = default;
};

// What one tick asks of the panel.
struct HandsFreeStep {
  HandsFreeTimer timer;     // the timer as it should run from now on
  bool startScan = false;   // start an ordinary scan
  bool operator==(const HandsFreeStep&) const = default;
};

class HandsFreeController {
 public:
  // Called when the interval changes, when stealth mode is switched and when the panel is shown
  // or hidden. With `reset` everything seen so far is forgotten. Returns the timer to run: only in
  // stealth mode, while shown, with an interval.
  HandsFreeTimer Reset(bool reset, const HandsFreeSituation& situation);
  // One timer tick at `nowMs`.
  HandsFreeStep Tick(const HandsFreeSituation& situation, uint64_t nowMs);
  // Waiting for a question check to find a question before scanning again.
  bool paused() const { return paused_; }

 private:
  HandsFreeTimer TimerFor(const HandsFreeSituation& situation) const;

  bool paused_ = false;
};
