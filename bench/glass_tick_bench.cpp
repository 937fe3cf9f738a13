// One glass frame tick as the glass object runs it every 16 ms on the UI thread, when nothing
// changed: the back-off check, the capture's tick (a frame request that times out, the same panel
// and radius, so no copy and no lens pass), the lens visibility edge, the error text cleared and
// the status the style section reads. The platform calls themselves are not in it.
#include <benchmark/benchmark.h>

#include <string>

#include "glass/capture_controller.h"
#include "glass/glass_tick.h"

namespace {

// A desktop that never changes after its first frame.
class StillDesktop final : public FrameSource {
 public:
  DuplicationResult Duplicate(std::uintptr_t) override { return {DuplicationResult::Kind::Made}; }
  AcquireResult AcquireFrame(unsigned) override {
    if (served_) return {AcquireResult::Kind::Timeout};
    served_ = true;
    return {AcquireResult::Kind::NewFrame, true};
  }
  bool FrameIsBgra() override { return true; }
  std::int32_t CopyFrame() override { return 0; }
  void ReleaseFrame() override {}
  std::optional<CopySize> Copy() const override { return CopySize{1920, 1080}; }
  void Release() override {}

 private:
  bool served_ = false;
};

class CountingLens final : public LensRenderer {
 public:
  std::int32_t RenderLens(const PixelRect&, const PixelRect&, float, float, OutputRotation) override {
    ++renders;
    return 0;
  }
  void ReleaseLens() override {}
  int renders = 0;
};

void BM_GlassTickNothingChanged(benchmark::State& state) {
  StillDesktop desktop;
  CountingLens lens;
  CaptureController capture(desktop, lens);
  GlassTick tick;
  PanelPlacement placement;
  placement.panel = PixelRect{1510, 574, 1898, 1060};
  placement.monitor = 1;
  placement.monitorRect = PixelRect{0, 0, 1920, 1080};
  capture.Tick(placement, 1.0f, 30.0f);  // the first frame: copied and drawn once
  uint64_t now = 1000;
  for (auto _ : state) {
    now += 16;
    if (tick.Next(now) != GlassTick::Step::Run) continue;
    CaptureOutcome outcome = capture.Tick(placement, 1.0f, 30.0f);
    if (outcome.Failed()) {
      tick.Failed(now, static_cast<uint32_t>(outcome.failure));
      continue;
    }
    tick.LensChange(outcome.shown);
    tick.Succeeded();
    std::wstring status(tick.StatusText(capture.Status()));
    benchmark::DoNotOptimize(status);
  }
  if (lens.renders != 1) state.SkipWithError("the lens was drawn again for an unchanged desktop");
}
BENCHMARK(BM_GlassTickNothingChanged);

}  // namespace
