#pragma once
// Notices when the system has dropped the input hooks. The system silently removes a low-level hook
// whose procedure once takes too long (the UI thread also paints and captures), and every hotkey is
// then dead with no sign. The hooks report each event they see; a periodic check compares that with
// the last input the system saw: input that the hooks have not seen within the grace time means they
// are gone, and they are to be installed again. Times are millisecond tick counts that wrap at 2^32.
#include <cstdint>
#include <optional>

inline constexpr uint32_t kHookWatchdogPeriodMs = 1000;  // how often the check runs
inline constexpr uint32_t kHookWatchdogGraceMs = 2000;   // how long input may stay unseen
// The system stamps its last input when the hook procedures have returned from the event, on its own
// clock: a moment after the hook read the tick count, and under Wine often a tick or two later. Input
// stamped this close after a hook's sighting is that same event.
inline constexpr uint32_t kHookWatchdogStampLagMs = 250;

class HookWatchdog {
 public:
  // The hooks were (re)installed at `now`: nothing is owed to them before that.
  void Installed(uint32_t now);
  // A hook procedure ran at `now`.
  void HookSaw(uint32_t now) { lastSeen_ = now; }
  // The periodic check with the time of the system's last input: true when that input has gone
  // unseen by the hooks for longer than the grace time (reinstall them, then call Installed).
  bool Check(uint32_t now, uint32_t lastSystemInput);

 private:
  static bool After(uint32_t a, uint32_t b) { return static_cast<int32_t>(a - b) > 0; }

  uint32_t lastSeen_ = 0;
  std::optional<uint32_t> unseenSince_;  // the newest unseen input when the hooks first fell behind
};
