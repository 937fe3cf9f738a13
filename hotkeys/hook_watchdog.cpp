#include "hotkeys/hook_watchdog.h"

void HookWatchdog::Installed(uint32_t now) {
  lastSeen_ = now;
  unseenSince_.reset();
}

bool HookWatchdog::Check(uint32_t now, uint32_t lastSystemInput) {
  if (!After(lastSystemInput, lastSeen_ + kHookWatchdogStampLagMs)) {
    unseenSince_.reset();  // the hooks have seen everything the system has
    return false;
  }
  // Input the hooks have not seen yet. A live hook sees it within the system's own hook time-out,
  // well inside the grace time; only when it stays unseen are the hooks gone.
  if (!unseenSince_ || !After(*unseenSince_, lastSeen_)) unseenSince_ = lastSystemInput;
  return static_cast<int32_t>(now - *unseenSince_) >= static_cast<int32_t>(kHookWatchdogGraceMs);
}
