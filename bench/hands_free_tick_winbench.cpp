// One hands-free tick under Wine on a screen that stays as it was answered: the 128 x 72 thumbnail
// capture and the two comparisons (with the last sample and with the answered screen), next to the
// capture alone. The tick runs every second on the UI thread. Run by hand:
//   cmake --build <windows build> --target hands_free_tick_winbench
//   scripts/wine-exec <windows build>/hands_free_tick_winbench.exe     (with a DISPLAY)
#include <windows.h>

#include <cstdio>
#include <memory>

#include "bench/median_timing.h"
#include "screen/capture.h"
#include "handsfree/hands_free.h"

namespace {
constexpr int kRuns = 51;
}  // namespace

int main() {
  int scans = 0;
  HandsFreePorts ports;
  ports.situation = [] {
    HandsFreeSituation situation;
    situation.stealth = situation.visible = situation.replyOnDisplay = true;
    situation.intervalSeconds = 5;
    return situation;
  };
  ports.now = [] { return static_cast<uint64_t>(GetTickCount64()); };
  ports.takeThumbnail = [](ScreenThumbnail& thumbnail) { return CapturePrimaryThumbnail(thumbnail); };
  ports.runTimer = [](const HandsFreeTimer&) {};
  ports.startScan = [&scans] { ++scans; };
  ports.reshowOption = [] {};
  ports.startCheck = [] { return std::shared_ptr<ProbeJob>(); };
  HandsFreeController controller(ports);
  controller.ResetHandsFree(true);  // the screen as it is now counts as answered

  ScreenThumbnail thumbnail;
  if (!CapturePrimaryThumbnail(thumbnail)) {
    std::printf("no thumbnail could be captured (is DISPLAY set?)\n");
    return 1;
  }
  const double capture = MedianMs(kRuns, [&] { CapturePrimaryThumbnail(thumbnail); });
  const double tick = MedianMs(kRuns, [&] { controller.HandsFreeTick(); });
  std::printf("thumbnail capture                  %8.3f ms (median of %d)\n", capture, kRuns);
  std::printf("hands-free tick, unchanged screen  %8.3f ms (median of %d), scans started %d\n", tick, kRuns, scans);
  return 0;
}
