#pragma once
// Notices when the system has dropped the input hooks. The system silently removes a low-level hook
// whose procedure once takes too long (the UI thread also paints and captures), and every hotkey is
// then dead with no sign. The hooks report each event they see; a periodic check compares that with
// the last input the system saw: input that the hooks have not seen within the grace time means they
// are gone, and they are to be installed again. Times are millisecond tick counts that wrap at 2^32.
//
// Some input never reaches live hooks: keys for an elevated window in front, the secure desktop,
// some touch input. Reinstalling does not help there, so a reinstall that the hooks never prove
// working (by seeing all the input the system saw after it) doubles the wait before the next one,
// up to a minute. Hooks that have proved working are lost hooks again as soon as input goes unseen
// for the grace time: a real loss strikes hooks that were seeing input.
#include <cstdint>
#include <optional>

inline constexpr uint32_t kHookWatchdogPeriodMs = 1000;  // how often the check runs
inline constexpr uint32_t kHookWatchdogGraceMs = 2000;   // how long input may stay unseen
inline constexpr uint32_t kHookWatchdogMaxWaitMs = 60000;  // the longest wait between fruitless reinstalls
// The system stamps its last input when the hook procedures have returned from the event, on its own
// clock: a moment after the hook read the tick count, and under Wine often a tick or two later. Input
// stamped this close after a hook's sighting is that same event.
inline constexpr uint32_t kHookWatchdogStampLagMs = 250;

// What a check asks for.
enum class HookRepair {
  None,
  Reinstall,            // the hooks stopped seeing input: install them again and say so
  ReinstallAndBackOff,  // the last reinstall brought nothing either: install again, say once that it now waits longer
  ReinstallQuietly,     // still nothing: install again, already said
};

class HookWatchdog {
 public:
  // The hooks were (re)installed at `now`: nothing is owed to them before that.
  void Installed(uint32_t now);
  // A hook procedure ran at `now`.
  void HookSaw(uint32_t now) { lastSeen_ = now; }
  // The periodic check with the time of the system's last input. After any reinstall it asks for,
  // install the hooks and call Installed.
  HookRepair Check(uint32_t now, uint32_t lastSystemInput);
  // How long input may stay unseen before the next reinstall: the grace time, doubled for each
  // reinstall in a row that the hooks have not proved working, up to a minute.
  uint32_t WaitMs() const;

 private:
  static bool After(uint32_t a, uint32_t b) { return static_cast<int32_t>(a - b) > 0; }

  uint32_t lastSeen_ = 0;
  uint32_t installedAt_ = 0;
  std::optional<uint32_t> unseenSince_;  // the newest unseen input when the hooks first fell behind
  uint32_t unprovenReinstalls_ = 0;      // reinstalls since the hooks last saw all input after one
};
