#include "glass/capture_controller.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <deque>
#include <string>

namespace {

// A frame source that plays what each tick scripted, checks that the controller keeps its
// contract (a duplication is made only after the last was released, a frame is never held past
// the tick), and counts what was asked of it.
class ScriptedSource : public FrameSource {
 public:
  DuplicationResult nextDuplication{DuplicationResult::Kind::Made};
  AcquireResult nextFrame{AcquireResult::Kind::Timeout};
  bool bgra = true;
  CopySize desktop{1920, 1080};  // the size of the frames the desktop gives

  int duplications = 0, copies = 0, releases = 0;
  std::uintptr_t duplicatedMonitor = 0;
  unsigned lastTimeout = 999;
  bool duplicated = false, holding = false;
  std::optional<CopySize> copy;

  DuplicationResult Duplicate(std::uintptr_t monitor) override {
    EXPECT_FALSE(duplicated) << "a second duplication without releasing the first";
    ++duplications;
    duplicatedMonitor = monitor;
    duplicated = nextDuplication.kind == DuplicationResult::Kind::Made;
    return nextDuplication;
  }
  AcquireResult AcquireFrame(unsigned timeoutMs) override {
    EXPECT_TRUE(duplicated);
    EXPECT_FALSE(holding);
    lastTimeout = timeoutMs;
    holding = nextFrame.kind == AcquireResult::Kind::NewFrame;
    return nextFrame;
  }
  bool FrameIsBgra() override {
    EXPECT_TRUE(holding);
    return bgra;
  }
  std::int32_t CopyFrame() override {
    EXPECT_TRUE(holding);
    ++copies;
    copy = desktop;
    return 0;
  }
  void ReleaseFrame() override {
    EXPECT_TRUE(holding);
    holding = false;
  }
  std::optional<CopySize> Copy() const override { return copy; }
  void Release() override {
    EXPECT_FALSE(holding) << "released while holding a frame";
    ++releases;
    duplicated = false;
    copy.reset();
  }
};

class RecordingLens : public LensRenderer {
 public:
  int renders = 0;
  std::int32_t failWith = 0;
  PixelRect lastMonitor, lastPanel;
  float lastRadius = 0;
  OutputRotation lastRotation = OutputRotation::Identity;
  std::int32_t RenderLens(const PixelRect& monitor, const PixelRect& panel, float radiusPx, float,
                          OutputRotation rotation) override {
    ++renders;
    lastRotation = rotation;
    lastMonitor = monitor;
    lastPanel = panel;
    lastRadius = radiusPx;
    return failWith;
  }
  void ReleaseLens() override {}
};

constexpr std::uintptr_t kLeft = 0x101, kRight = 0x202;
const PixelRect kLeftRect{0, 0, 1920, 1080};
const PixelRect kRightRect{1920, 0, 3840, 1080};
const AcquireResult kTimeout{AcquireResult::Kind::Timeout};
const AcquireResult kSameFrame{AcquireResult::Kind::NewFrame, false};
const AcquireResult kChangedFrame{AcquireResult::Kind::NewFrame, true};
const AcquireResult kAccessLost{AcquireResult::Kind::AccessLost};
const DuplicationResult kMade{DuplicationResult::Kind::Made};

// One tick: where the panel is, what the source gives, and what must follow. The counts are
// totals since the start of the timeline.
struct Step {
  const char* what;
  PixelRect panel;
  std::uintptr_t monitor;
  PixelRect monitorRect;
  AcquireResult frame;
  float radius = 30;
  DuplicationResult duplication = kMade;
  bool bgra = true;
  CopySize desktop{1920, 1080};
  // expected
  bool shown = false;
  std::int32_t failure = 0;
  const wchar_t* status = nullptr;
  int duplications = 0, copies = 0, renders = 0;
  int releases = -1;  // -1: not checked
  bool backOff = false;
};

TEST(CaptureController, Timeline) {
  const PixelRect home = PixelRectAt(100, 100, 388, 486);
  const PixelRect onRight = PixelRectAt(2000, 100, 388, 486);
  const PixelRect straddling = PixelRectAt(1800, 100, 388, 486);
  const PixelRect smallRight{1920, 0, 3200, 720};
  const Step steps[] = {
      {"before the first frame it waits", home, kLeft, kLeftRect, kTimeout,
       30, kMade, true, {1920, 1080}, false, 0, kCaptureWaiting, 1, 0, 0},
      {"the first frame is copied and drawn", home, kLeft, kLeftRect, kSameFrame,
       30, kMade, true, {1920, 1080}, true, 0, kCaptureWaiting, 1, 1, 1},
      {"an unchanged desktop is neither copied nor drawn again", home, kLeft, kLeftRect, kSameFrame,
       30, kMade, true, {1920, 1080}, true, 0, kCaptureWaiting, 1, 1, 1},
      {"moving the panel redraws from the old copy", PixelRectAt(150, 120, 388, 486), kLeft, kLeftRect, kTimeout,
       30, kMade, true, {1920, 1080}, true, 0, kCaptureWaiting, 1, 1, 2},
      {"and again, with an unchanged frame", PixelRectAt(200, 140, 388, 486), kLeft, kLeftRect, kSameFrame,
       30, kMade, true, {1920, 1080}, true, 0, kCaptureWaiting, 1, 1, 3},
      {"a new corner radius redraws", PixelRectAt(200, 140, 388, 486), kLeft, kLeftRect, kTimeout,
       45, kMade, true, {1920, 1080}, true, 0, kCaptureWaiting, 1, 1, 4},
      {"a changed desktop is copied and drawn", PixelRectAt(200, 140, 388, 486), kLeft, kLeftRect, kChangedFrame,
       45, kMade, true, {1920, 1080}, true, 0, kCaptureWaiting, 1, 2, 5},
      {"a panel across two monitors lets everything go", straddling, kLeft, kLeftRect, kChangedFrame,
       45, kMade, true, {1920, 1080}, false, 0, kCaptureStraddling, 1, 2, 5, 2},
      {"wholly on the other monitor: a new duplication, waiting", onRight, kRight, kRightRect, kTimeout,
       45, kMade, true, {1920, 1080}, false, 0, kCaptureWaiting, 2, 2, 5},
      {"its first frame", onRight, kRight, kRightRect, kSameFrame,
       45, kMade, true, {1920, 1080}, true, 0, kCaptureWaiting, 2, 3, 6},
      {"access lost: released, nothing shown, status kept", onRight, kRight, kRightRect, kAccessLost,
       45, kMade, true, {1920, 1080}, false, 0, kCaptureWaiting, 2, 3, 6, 4},
      {"the next tick duplicates again", onRight, kRight, kRightRect, kSameFrame,
       45, kMade, true, {1920, 1080}, true, 0, kCaptureWaiting, 3, 4, 7},
      {"a smaller resolution: the old copy no longer fits, released", PixelRectAt(2010, 100, 388, 486), kRight,
       smallRight, kTimeout, 45, kMade, true, {1280, 720}, false, 0, kCaptureWaiting, 3, 4, 7, 6},
      {"rebuilt at the new size", PixelRectAt(2010, 100, 388, 486), kRight, smallRight, kSameFrame,
       45, kMade, true, {1280, 720}, true, 0, kCaptureWaiting, 4, 5, 8},
      {"a changed frame in another format", PixelRectAt(2010, 100, 388, 486), kRight, smallRight, kChangedFrame,
       45, kMade, false, {1280, 720}, false, 0, kCaptureUnsupportedFormat, 4, 5, 8, 8},
      {"duplication unavailable", home, kLeft, kLeftRect, kTimeout,
       30, {DuplicationResult::Kind::Unavailable}, true, {1920, 1080}, false, 0, kCaptureUnavailable, 5, 5, 8, -1,
       true},
      {"monitor on a secondary GPU", home, kLeft, kLeftRect, kTimeout,
       30, {DuplicationResult::Kind::SecondaryGpu}, true, {1920, 1080}, false, 0, kCaptureSecondaryGpu, 6, 5, 8, -1,
       true},
      {"any other duplication failure is the caller's", home, kLeft, kLeftRect, kTimeout,
       30, {DuplicationResult::Kind::Failed, static_cast<std::int32_t>(0x80004001)}, true, {1920, 1080}, false,
       static_cast<std::int32_t>(0x80004001), kCaptureSecondaryGpu, 7, 5, 8},
      {"working again", home, kLeft, kLeftRect, kSameFrame,
       30, kMade, true, {1920, 1080}, true, 0, kCaptureWaiting, 8, 6, 9},
      {"an acquisition failure is the caller's and releases", home, kLeft, kLeftRect,
       {AcquireResult::Kind::Failed, false, static_cast<std::int32_t>(0x887A0001)},
       30, kMade, true, {1920, 1080}, false, static_cast<std::int32_t>(0x887A0001), kCaptureWaiting, 8, 6, 9},
      {"a panel off every monitor", home, 0, {}, kSameFrame,
       30, kMade, true, {1920, 1080}, false, 0, kCaptureStraddling, 8, 6, 9},
  };

  ScriptedSource source;
  RecordingLens lens;
  CaptureController capture(source, lens);
  EXPECT_STREQ(capture.Status(), kCaptureWaiting);
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    source.nextDuplication = step.duplication;
    source.nextFrame = step.frame;
    source.bgra = step.bgra;
    source.desktop = step.desktop;
    PanelPlacement placement{step.panel, step.monitor, step.monitorRect};
    CaptureOutcome outcome = capture.Tick(placement, 1.0f, step.radius);
    EXPECT_EQ(outcome.shown, step.shown);
    EXPECT_EQ(outcome.failure, step.failure);
    EXPECT_EQ(outcome.backOff, step.backOff);
    EXPECT_STREQ(capture.Status(), step.status);
    EXPECT_EQ(source.duplications, step.duplications);
    EXPECT_EQ(source.copies, step.copies);
    EXPECT_EQ(lens.renders, step.renders);
    if (step.releases >= 0) {
      EXPECT_EQ(source.releases, step.releases);
    }
    EXPECT_FALSE(source.holding) << "a frame kept past its tick";
    if (step.shown) {
      EXPECT_EQ(lens.lastPanel, step.panel);
      EXPECT_EQ(lens.lastMonitor, step.monitorRect);
      EXPECT_EQ(lens.lastRadius, step.radius);
    }
    if (outcome.failure) {
      EXPECT_FALSE(source.duplicated) << "a failure releases";
    }
  }
}

TEST(CaptureController, WaitsForTheFirstFrameOnlyAndSkipsUnreadablePanels) {
  ScriptedSource source;
  RecordingLens lens;
  CaptureController capture(source, lens);
  const PanelPlacement placement{PixelRectAt(100, 100, 388, 486), kLeft, kLeftRect};
  source.nextFrame = kTimeout;
  capture.Tick(placement, 1.0f, 30);
  EXPECT_EQ(source.lastTimeout, 16u);
  source.nextFrame = kSameFrame;
  capture.Tick(placement, 1.0f, 30);
  EXPECT_EQ(source.lastTimeout, 16u);
  capture.Tick(placement, 1.0f, 30);
  EXPECT_EQ(source.lastTimeout, 0u);

  // A panel whose rectangle cannot be read changes nothing.
  CaptureOutcome unread = capture.Tick(PanelPlacement{std::nullopt, kLeft, kLeftRect}, 1.0f, 30);
  EXPECT_FALSE(unread.shown);
  EXPECT_TRUE(source.duplicated);

  // A failing lens pass is the caller's failure, and everything is let go.
  lens.failWith = static_cast<std::int32_t>(0x8000000C);
  CaptureOutcome failed = capture.Tick(PanelPlacement{PixelRectAt(101, 100, 388, 486), kLeft, kLeftRect}, 1.0f, 30);
  EXPECT_EQ(failed.failure, static_cast<std::int32_t>(0x8000000C));
  EXPECT_FALSE(source.duplicated);
}

// A monitor turned to portrait: its desktop is 1080 x 1920 while the duplication delivers frames of
// 1920 x 1080 as the display scans them. The copy fits the turned monitor, the lens is drawn from
// it with the rotation, and no tick makes the duplication again.
TEST(CaptureController, PortraitMonitorShowsTheLensFromUnrotatedFrames) {
  ScriptedSource source;
  RecordingLens lens;
  CaptureController capture(source, lens);
  const PixelRect portrait{0, 0, 1080, 1920};
  source.nextDuplication = {DuplicationResult::Kind::Made, 0, OutputRotation::Rotate90};
  source.desktop = {1920, 1080};
  source.nextFrame = kSameFrame;
  for (int tick = 0; tick < 3; ++tick) {
    CaptureOutcome outcome = capture.Tick({PixelRectAt(300, 700 + tick, 388, 486), kLeft, portrait}, 1.0f, 30);
    EXPECT_TRUE(outcome.shown) << tick;
  }
  EXPECT_EQ(source.duplications, 1);
  EXPECT_EQ(source.copies, 1);
  EXPECT_EQ(lens.renders, 3);
  EXPECT_EQ(lens.lastRotation, OutputRotation::Rotate90);

  // Turned back to landscape: frames of the new orientation no longer fit the remembered turn;
  // everything is let go once and made again with the output's new rotation.
  const PixelRect landscape{0, 0, 1920, 1080};
  source.desktop = {1920, 1080};
  source.nextFrame = kChangedFrame;
  EXPECT_FALSE(capture.Tick({PixelRectAt(300, 300, 388, 486), kLeft, landscape}, 1.0f, 30).shown);
  source.nextDuplication = kMade;
  EXPECT_TRUE(capture.Tick({PixelRectAt(300, 300, 388, 486), kLeft, landscape}, 1.0f, 30).shown);
  EXPECT_EQ(source.duplications, 2);
  EXPECT_EQ(lens.lastRotation, OutputRotation::Identity);
}

TEST(CaptureController, RefusedDuplicationIsUnavailableOnlyForTheSystemsRefusals) {
  struct Case {
    std::uint32_t code;
    DuplicationResult::Kind kind;
  } cases[] = {
      {0x887A0004, DuplicationResult::Kind::Unavailable},  // DXGI_ERROR_UNSUPPORTED
      {0x887A0022, DuplicationResult::Kind::Unavailable},  // DXGI_ERROR_NOT_CURRENTLY_AVAILABLE
      {0x80004001, DuplicationResult::Kind::Failed},       // E_NOTIMPL, as Wine answers
      {0x80070005, DuplicationResult::Kind::Failed},       // E_ACCESSDENIED (secure desktop)
      {0x887A0005, DuplicationResult::Kind::Failed},       // DXGI_ERROR_DEVICE_REMOVED
  };
  for (const Case& c : cases) {
    const DuplicationResult result = DuplicationRefused(static_cast<std::int32_t>(c.code));
    EXPECT_EQ(result.kind, c.kind) << std::hex << c.code;
    EXPECT_EQ(static_cast<std::uint32_t>(result.code), c.code);
  }
}

}  // namespace
