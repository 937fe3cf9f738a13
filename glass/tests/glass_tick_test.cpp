#include "glass/glass_tick.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

using Step = GlassTick::Step;

TEST(GlassTick, FailureTextHasEightUpperCaseDigits) {
  const std::pair<uint32_t, const wchar_t*> cases[] = {
      {0x8000000Cu, L"Ridez: capture failed (0x8000000C)"},
      {0x887A0026u, L"Ridez: capture failed (0x887A0026)"},
      {0x5u, L"Ridez: capture failed (0x00000005)"},
      {0u, L"Ridez: capture failed (0x00000000)"},
  };
  for (const auto& [code, text] : cases) EXPECT_EQ(CaptureFailureText(code), text) << code;
}

TEST(GlassTick, BackOffTimeline) {
  GlassTick tick;
  const std::wstring_view capture = L"Glass: waiting for desktop frames";
  EXPECT_EQ(tick.Next(0), Step::Run);
  EXPECT_EQ(tick.StatusText(capture), capture);

  tick.Failed(1000, 0x80004005u);
  for (auto [now, step] : {std::pair{1000u, Step::Skip}, {5999u, Step::Skip}, {6000u, Step::Run}, {90000u, Step::Run}}) {
    EXPECT_EQ(tick.Next(now), step) << now;
  }
  EXPECT_EQ(tick.StatusText(capture), L"Ridez: capture failed (0x80004005)");

  // A frame that goes through after the back-off drops the text.
  tick.Succeeded();
  EXPECT_EQ(tick.StatusText(capture), capture);

  // Activation ends a back-off at once.
  tick.Failed(20000, 0x887A0001u);
  EXPECT_EQ(tick.Next(20001), Step::Skip);
  tick.Clear();
  EXPECT_EQ(tick.Next(20001), Step::Run);
  EXPECT_EQ(tick.StatusText(capture), capture);

  // A monitor that cannot be duplicated (another GPU, duplication unavailable) is asked again only
  // after the same back-off, and its status stays the capture's.
  tick.BackOff(30000);
  EXPECT_EQ(tick.Next(30016), Step::Skip);
  EXPECT_EQ(tick.Next(34999), Step::Skip);
  EXPECT_EQ(tick.Next(35000), Step::Run);
  EXPECT_EQ(tick.StatusText(L"Ridez: display is on a secondary GPU"), L"Ridez: display is on a secondary GPU");
}

TEST(GlassTick, OnlyTheDeviceLossCodesAskForARebuild) {
  const std::pair<uint32_t, bool> cases[] = {
      {0x887A0005u, true},   // DXGI_ERROR_DEVICE_REMOVED
      {0x887A0006u, true},   // DXGI_ERROR_DEVICE_HUNG
      {0x887A0007u, true},   // DXGI_ERROR_DEVICE_RESET
      {0x887A0020u, true},   // DXGI_ERROR_DRIVER_INTERNAL_ERROR
      {0x887A0026u, false},  // DXGI_ERROR_ACCESS_LOST: the duplication only
      {0x80004001u, false},  // E_NOTIMPL
      {0x8000000Cu, false},  // E_CHANGED_STATE
  };
  for (const auto& [code, lost] : cases) {
    EXPECT_EQ(IsDeviceLoss(code), lost) << std::hex << code;
    GlassTick tick;
    tick.Failed(0, code);
    EXPECT_EQ(tick.Next(5000), lost ? Step::Rebuild : Step::Run) << std::hex << code;
  }
}

// The device is lost: the failure shows for the back-off, then the next tick rebuilds (once per
// back-off), a paint may rebuild at once, and a rebuild that fails leaves nothing to rebuild.
TEST(GlassTick, DeviceLossTimeline) {
  const std::wstring_view capture = L"Glass: waiting for desktop frames";
  GlassTick tick;
  tick.LensChange(true);
  tick.Failed(1000, 0x887A0005u);
  EXPECT_TRUE(tick.deviceLost());
  EXPECT_EQ(tick.Next(1016), Step::Skip);
  EXPECT_EQ(tick.StatusText(capture), L"Ridez: capture failed (0x887A0005)");
  EXPECT_TRUE(tick.RebuildDue(1016)) << "a paint need not wait to rebuild the first time";
  EXPECT_EQ(tick.Next(6000), Step::Rebuild);
  tick.Rebuilt(6000, true);
  EXPECT_FALSE(tick.deviceLost());
  EXPECT_FALSE(tick.lensShown()) << "the new tree starts with the lens hidden";
  EXPECT_EQ(tick.Next(6016), Step::Run);
  EXPECT_EQ(tick.StatusText(capture), capture);

  // Lost again soon after: the paint must not rebuild again within the back-off, nor the ticks.
  tick.Failed(7000, 0x887A0007u);
  EXPECT_FALSE(tick.RebuildDue(7000));
  EXPECT_EQ(tick.Next(10999), Step::Skip);
  EXPECT_EQ(tick.Next(12000), Step::Rebuild);
  tick.Rebuilt(12000, false, 0x887A0005u);
  EXPECT_FALSE(tick.deviceLost());
  EXPECT_EQ(tick.StatusText(capture), L"Ridez: capture failed (0x887A0005)");

  // Activation ends the back-off, but a lost device still waits for its rebuild.
  GlassTick other;
  other.Failed(0, 0x887A0006u);
  other.Clear();
  EXPECT_EQ(other.Next(1), Step::Rebuild);
}

// The panel's paints over a device that is lost: a fake presentation and a fake rebuild that
// answer as scripted, counting their calls.
TEST(GlassTick, PresentationRebuildsALostDeviceOnlyWhenDue) {
  constexpr uint32_t kRemoved = 0x887A0005u, kInvalid = 0x80070057u;
  struct Run {
    const char* what;
    uint64_t now;
    std::vector<uint32_t> presents;  // what each presentation answers, in turn
    uint32_t rebuild;                // what a rebuild answers
    bool shown;
    int presented, rebuilt;
    bool lostAfter;
  };
  const Run runs[] = {
      {"a healthy paint", 0, {0}, 0, true, 1, 0, false},
      {"the device is found lost: rebuilt at once and shown", 100, {kRemoved, 0}, 0, true, 2, 1, false},
      {"lost again within the back-off: plain, no second rebuild", 200, {kRemoved}, 0, false, 1, 0, true},
      {"still lost, still within the back-off: not even presented", 300, {}, 0, false, 0, 0, true},
      {"after the back-off the rebuild fails: plain", 5200, {}, kRemoved, false, 0, 1, false},
      {"another failure is no device loss: plain, nothing rebuilt", 9000, {kInvalid}, 0, false, 1, 0, false},
  };
  GlassTick tick;
  for (const Run& run : runs) {
    SCOPED_TRACE(run.what);
    size_t presented = 0;
    int rebuilt = 0;
    const bool shown = PresentOrRebuild(
        tick, run.now,
        [&] {
          EXPECT_LT(presented, run.presents.size());
          return presented < run.presents.size() ? run.presents[presented++] : 0u;
        },
        [&] {
          ++rebuilt;
          return run.rebuild;
        });
    EXPECT_EQ(shown, run.shown);
    EXPECT_EQ(presented, static_cast<size_t>(run.presented));
    EXPECT_EQ(rebuilt, run.rebuilt);
    EXPECT_EQ(tick.deviceLost(), run.lostAfter);
  }
  EXPECT_EQ(tick.StatusText(L""), L"Ridez: capture failed (0x887A0005)") << "the failed rebuild's code shows";
}

TEST(GlassStyle, IsStoredOnlyOnceApplied) {
  GlassStyle style;
  int applies = 0;
  bool applyWorks = false;
  auto apply = [&](bool) {
    ++applies;
    return applyWorks;
  };
  style.Set(true, true, apply);
  EXPECT_FALSE(style.dark()) << "a failed apply keeps the old style";
  applyWorks = true;
  style.Set(true, true, apply);
  EXPECT_TRUE(style.dark()) << "the same request applies it again";
  EXPECT_EQ(applies, 2);
  style.Set(true, true, apply);
  EXPECT_EQ(applies, 2) << "no change, nothing applied";
  style.Set(false, false, apply);
  EXPECT_FALSE(style.dark()) << "without a tree the style is stored for the build";
  EXPECT_EQ(applies, 2);
}

TEST(GlassTick, LensVisibilityChangesOnlyOnEdges) {
  GlassTick tick;
  const std::pair<bool, bool> steps[] = {{false, false}, {true, true}, {true, false}, {false, true}, {false, false}};
  for (const auto& [shown, change] : steps) {
    EXPECT_EQ(tick.LensChange(shown), change);
    EXPECT_EQ(tick.lensShown(), shown);
  }
}

}  // namespace
