// One tick of the glass capture when nothing changed, the case of almost every 16 ms tick on the
// UI thread: the desktop gives an unchanged frame (or none) and the panel stays where it was, so
// the tick decides to neither copy nor redraw. The frame source and lens here do no work, so this
// is the decisions' own cost.
#include <benchmark/benchmark.h>

#include "glass/capture_controller.h"

namespace {

class StillDesktop : public FrameSource {
 public:
  AcquireResult::Kind frames = AcquireResult::Kind::NewFrame;  // what each acquisition gives
  DuplicationResult Duplicate(std::uintptr_t) override { return {DuplicationResult::Kind::Made}; }
  AcquireResult AcquireFrame(unsigned) override { return {frames, false}; }
  bool FrameIsBgra() override { return true; }
  std::int32_t CopyFrame() override {
    copy_ = CopySize{1920, 1080};
    return 0;
  }
  void ReleaseFrame() override {}
  std::optional<CopySize> Copy() const override { return copy_; }
  void Release() override { copy_.reset(); }

 private:
  std::optional<CopySize> copy_;
};

class IdleLens : public LensRenderer {
 public:
  std::int32_t RenderLens(const PixelRect&, const PixelRect&, float, float, OutputRotation) override { return 0; }
  void ReleaseLens() override {}
};

// Ticks after the first frame was copied and drawn, each acquisition giving `frames`.
void RunStillTicks(benchmark::State& state, AcquireResult::Kind frames) {
  StillDesktop source;
  IdleLens lens;
  CaptureController capture(source, lens);
  const PanelPlacement placement{PixelRectAt(700, 300, 388, 486), 0x101, {0, 0, 1920, 1080}};
  capture.Tick(placement, 1.0f, 30.0f);
  source.frames = frames;
  for (auto _ : state) benchmark::DoNotOptimize(capture.Tick(placement, 1.0f, 30.0f));
}

void BM_CaptureTickUnchangedFrame(benchmark::State& state) { RunStillTicks(state, AcquireResult::Kind::NewFrame); }
BENCHMARK(BM_CaptureTickUnchangedFrame);

void BM_CaptureTickNoNewFrame(benchmark::State& state) { RunStillTicks(state, AcquireResult::Kind::Timeout); }
BENCHMARK(BM_CaptureTickNoNewFrame);

}  // namespace
