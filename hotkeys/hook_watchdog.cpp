#include "hotkeys/hook_watchdog.h"

#include <algorithm>

namespace {

// Enough doublings to pass the longest wait; counting stops there.
constexpr uint32_t kMaxDoublings = 8;

}  // namespace

void HookWatchdog::Installed(uint32_t now) {
  lastSeen_ = now;
  installedAt_ = now;
  unseenSince_.reset();
}

uint32_t HookWatchdog::WaitMs() const {
  return std::min(kHookWatchdogGraceMs << std::min(unprovenReinstalls_, kMaxDoublings), kHookWatchdogMaxWaitMs);
}

HookRepair HookWatchdog::Check(uint32_t now, uint32_t lastSystemInput) {
  if (!After(lastSystemInput, lastSeen_ + kHookWatchdogStampLagMs)) {
    unseenSince_.reset();  // the hooks have seen everything the system has
    if (After(lastSeen_, installedAt_)) unprovenReinstalls_ = 0;  // and something since their install: they work
    return HookRepair::None;
  }
  // Input the hooks have not seen yet. A live hook sees it within the system's own hook time-out,
  // well inside the grace time; only when it stays unseen are the hooks gone (or blind to it).
  if (!unseenSince_ || !After(*unseenSince_, lastSeen_)) unseenSince_ = lastSystemInput;
  if (static_cast<int32_t>(now - *unseenSince_) < static_cast<int32_t>(WaitMs())) return HookRepair::None;
  const uint32_t unproven = unprovenReinstalls_;
  unprovenReinstalls_ = std::min(unproven + 1, kMaxDoublings);
  if (unproven == 0) return HookRepair::Reinstall;
  return unproven == 1 ? HookRepair::ReinstallAndBackOff : HookRepair::ReinstallQuietly;
}
