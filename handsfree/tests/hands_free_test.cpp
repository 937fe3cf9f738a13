#include "handsfree/hands_free.h"

#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

namespace {

ScreenThumbnail Filled(int value) {
  ScreenThumbnail t;
  t.luma.fill(static_cast<std::uint8_t>(value));
  return t;
}

TEST(ScreenDifference, CountsLumaStepsAboveFiveInTheTop65RowsOnly) {
  struct Case {
    int changedPixels;  // from the first pixel on
    int firstPixel;
    int delta;
    float difference;
  };
  const int bottom = kThumbnailWidth * 65;
  for (const Case& c : {Case{0, 0, 50, 0.0f}, Case{8320, 0, 5, 0.0f}, Case{8320, 0, 6, 1.0f},
                        Case{8320, 0, -6, 1.0f}, Case{100, 0, 6, 100 / 8320.0f},
                        Case{kThumbnailWidth * 7, bottom, 200, 0.0f}, Case{1, bottom - 1, 200, 1 / 8320.0f}}) {
    ScreenThumbnail a = Filled(100), b = Filled(100);
    for (int i = c.firstPixel; i < c.firstPixel + c.changedPixels; ++i) b.luma[i] = std::uint8_t(100 + c.delta);
    EXPECT_FLOAT_EQ(ScreenDifference(a, b), c.difference) << c.changedPixels << " from " << c.firstPixel;
    EXPECT_FLOAT_EQ(ScreenDifference(b, a), c.difference);
  }
}

// ---- scripted timelines -----------------------------------------------------------------------

// A panel stand-in: a screen that the script paints, a clock, the timer, one query at a time and
// question checks that finish when the script says.
struct Rig {
  HandsFreeSituation situation{true, true, 5};
  uint64_t clock = 1'000'000;
  ScreenThumbnail screen = Filled(0);
  bool captureWorks = true;
  bool checkThreadStarts = true;
  HandsFreeTimer timer;
  bool queryRunning = false;
  int scans = 0, checks = 0, reshows = 0;
  std::shared_ptr<ProbeJob> check;
  HandsFreeController controller{HandsFreePorts{
      [this] {
        HandsFreeSituation s = situation;
        s.busy = queryRunning;
        s.replyOnDisplay = !queryRunning && scans > 0;
        return s;
      },
      [this] { return clock; },
      [this](ScreenThumbnail& t) {
        if (captureWorks) t = screen;
        return captureWorks;
      },
      [this](const HandsFreeTimer& t) { timer = t; },
      [this] { StartQuery(); },
      [this] { ++reshows; },
      [this] {
        if (!checkThreadStarts) return std::shared_ptr<ProbeJob>();
        ++checks;
        check = std::make_shared<ProbeJob>();
        return check;
      }}};

  // What the panel's StartQuery does around the controller.
  void StartQuery() {
    if (queryRunning) return controller.QueryRefused();
    controller.QueryStarting();
    queryRunning = true;
    ++scans;
  }
};

enum class Op {
  Fill,      // the whole screen becomes luma `arg`
  Bottom,    // the bottom 7 thumbnail rows become `arg`
  Pixels,    // the first `arg` pixels become 255
  Ticks,     // `arg` timer ticks, each one period after the last
  Wait,      // `arg` ms pass without a tick
  Finish,    // the running query ends with status `arg`
  Hotkey,    // a scan started by hand
  Check,     // the running question check ends: `arg` 1 found a question, 0 none
  StripEnd,  // the strip's answer display ends now
  Option,    // the reply on display names option `arg`
  Capture,   // `arg` 0: thumbnails fail from now on, 1: they work again
};

struct Step {
  Op op;
  int arg = 0;
  // Expectations after the step; -1: not checked.
  int scans = -1;
  int checks = -1;
  int paused = -1;
  int periodMs = -1;
  int reshows = -1;
};

void Play(Rig& rig, const Step& step) {
  switch (step.op) {
    case Op::Fill: rig.screen = Filled(step.arg); break;
    case Op::Bottom:
      std::memset(rig.screen.luma.data() + kComparedThumbnailBytes, step.arg, kThumbnailBytes - kComparedThumbnailBytes);
      break;
    case Op::Pixels: std::memset(rig.screen.luma.data(), 255, step.arg); break;
    case Op::Ticks:
      for (int i = 0; i < step.arg; ++i) {
        ASSERT_TRUE(rig.timer.running);
        rig.clock += rig.timer.periodMs;
        rig.controller.HandsFreeTick();
      }
      break;
    case Op::Wait: rig.clock += step.arg; break;
    case Op::Finish:
      ASSERT_TRUE(rig.queryRunning);
      rig.queryRunning = false;
      rig.controller.QueryFinished(static_cast<TutorReply::Status>(step.arg));
      break;
    case Op::Hotkey: rig.StartQuery(); break;
    case Op::Check:
      ASSERT_TRUE(rig.check);
      FinishJob(*rig.check, step.arg ? TutorReply::Answer : TutorReply::NoQuestion);
      rig.check.reset();
      break;
    case Op::StripEnd: rig.controller.StripDisplayEnded(rig.clock); break;
    case Op::Option: rig.situation.replyOption = step.arg; break;
    case Op::Capture: rig.captureWorks = step.arg != 0; break;
  }
}

constexpr int kAnswer = TutorReply::Answer, kNone = TutorReply::NoQuestion, kError = TutorReply::Error;

// Four automatic scans of four new screens that each find no question, the last one pausing.
std::vector<Step> FourEmptyScans() {
  std::vector<Step> steps{{Op::Fill, 10}, {Op::Ticks, 2, 1}, {Op::Finish, kNone}};
  for (int screen = 1; screen <= 3; ++screen) {
    steps.push_back({Op::Fill, 10 + 40 * screen});
    steps.push_back({Op::Ticks, 5, 1 + screen, 0, 0, 1000});
    steps.push_back({Op::Finish, kNone, -1, -1, screen == 3 ? 1 : 0, screen == 3 ? 2000 : 1000});
  }
  return steps;
}

std::vector<Step> Then(std::vector<Step> first, std::initializer_list<Step> more) {
  first.insert(first.end(), more);
  return first;
}

struct Timeline {
  const char* name;
  std::vector<Step> steps;
};

TEST(HandsFreeTimeline, ScriptedScreensAndQueries) {
  const std::vector<Timeline> timelines{
      {"settles, then scans no sooner than the interval after the last scan or strip display",
       {{Op::Fill, 10},
        {Op::Ticks, 1, 0},  // the first sample only
        {Op::Ticks, 1, 1},  // settled, nothing scanned before: at once
        {Op::Finish, kAnswer},
        {Op::Fill, 200},
        {Op::Ticks, 4, 1},  // changing, then settled but 4 s after the scan finished
        {Op::Ticks, 1, 2},  // 5 s
        {Op::Finish, kAnswer},
        {Op::Fill, 60},
        {Op::Ticks, 1, 2},
        {Op::StripEnd},
        {Op::Wait, 500},
        {Op::Ticks, 4, 2},  // 1.5 .. 4.5 s after the strip's display (5.5 s after the scan)
        {Op::Ticks, 1, 3}}},
      {"a screen still changing is not scanned; a failed thumbnail does nothing",
       {{Op::Fill, 10},
        {Op::Capture, 0},
        {Op::Ticks, 5, 0},
        {Op::Capture, 1},
        {Op::Ticks, 1, 0},
        {Op::Pixels, 67},  // 0.81 % of the compared pixels, above the 0.8 % still-changing mark
        {Op::Ticks, 1, 0},
        {Op::Pixels, 133},  // 66 more: 0.79 %, settled
        {Op::Ticks, 1, 1}}},
      {"the answered screen is never rescanned; the bottom rows never count",
       {{Op::Fill, 10},
        {Op::Ticks, 2, 1},
        {Op::Finish, kAnswer},
        {Op::Ticks, 20, 1},
        {Op::Bottom, 250},
        {Op::Ticks, 20, 1},
        {Op::Pixels, 99},  // 1.19 % off the answered screen
        {Op::Ticks, 20, 1},
        {Op::Pixels, 100},  // 1.2 %
        {Op::Ticks, 1, 2}}},
      {"an unchanged answered screen shows the option again instead",
       {{Op::Fill, 10}, {Op::Ticks, 2, 1}, {Op::Finish, kAnswer}, {Op::Option, 1},
        {Op::Ticks, 4, 1, -1, -1, -1, 0}, {Op::Ticks, 1, 1, -1, -1, -1, 1}}},
      {"four empty automatic scans pause; error replies do not count",
       Then(FourEmptyScans(),
            {{Op::Fill, 220}, {Op::Ticks, 2, 4, 1, 1, 2000},  // changing, then settled and new: a check
             {Op::Ticks, 3, 4, 1},                            // the check runs: nothing else
             {Op::Check, 0}, {Op::Ticks, 1, 4, 1, 1},         // no question
             {Op::Ticks, 10, 4, 1, 1},                        // the same screen is not checked again
             {Op::Pixels, 200}, {Op::Ticks, 10, 4, 1, 1},     // 2.4 %: still nothing new
             {Op::Pixels, 300}, {Op::Ticks, 2, 4, 2, 1}})},   // 3.6 %: new
      {"error replies neither count nor reset the count",
       {{Op::Fill, 10}, {Op::Ticks, 2, 1}, {Op::Finish, kNone},
        {Op::Fill, 50}, {Op::Ticks, 5, 2}, {Op::Finish, kError},
        {Op::Fill, 90}, {Op::Ticks, 5, 3}, {Op::Finish, kNone},
        {Op::Fill, 130}, {Op::Ticks, 5, 4}, {Op::Finish, kNone, -1, -1, 0},
        {Op::Fill, 170}, {Op::Ticks, 5, 5}, {Op::Finish, kNone, -1, -1, 1}}},
      {"a check that finds a question scans; if that finds nothing, pause with a 30 s hold-off",
       Then(FourEmptyScans(),
            {{Op::Fill, 220}, {Op::Ticks, 2, 4, 1}, {Op::Check, 1},
             {Op::Ticks, 1, 5, 1, 0, 1000},  // the scan starts at once, on the active period
             {Op::Finish, kNone, -1, -1, 1, 2000},
             {Op::Fill, 30},
             {Op::Ticks, 15, 5, 1},  // up to 30 s: no thumbnail, no check
             {Op::Ticks, 1, 5, 2}})},  // the screen was already new at 30 s: checked at 32 s
      {"a scan by hand resets the count and unpauses",
       Then(FourEmptyScans(),
            {{Op::Hotkey, 0, 5, 0, 0}, {Op::Finish, kNone, -1, -1, 0, 1000},
             {Op::Fill, 240}, {Op::Ticks, 5, 6}, {Op::Finish, kNone},
             {Op::Fill, 20}, {Op::Ticks, 5, 7}, {Op::Finish, kNone},
             {Op::Fill, 40}, {Op::Ticks, 5, 8}, {Op::Finish, kNone, -1, -1, 0},
             {Op::Fill, 70}, {Op::Ticks, 5, 9}, {Op::Finish, kNone, -1, -1, 1}})},
  };
  for (const Timeline& timeline : timelines) {
    SCOPED_TRACE(timeline.name);
    Rig rig;
    rig.controller.ResetHandsFree(true);
    for (size_t i = 0; i < timeline.steps.size(); ++i) {
      const Step& step = timeline.steps[i];
      SCOPED_TRACE("step " + std::to_string(i));
      Play(rig, step);
      if (step.scans >= 0) {
        EXPECT_EQ(rig.scans, step.scans);
      }
      if (step.checks >= 0) {
        EXPECT_EQ(rig.checks, step.checks);
      }
      if (step.paused >= 0) {
        EXPECT_EQ(rig.controller.paused(), step.paused == 1);
      }
      if (step.periodMs >= 0) {
        EXPECT_EQ(rig.timer, (HandsFreeTimer{true, unsigned(step.periodMs)}));
      }
      if (step.reshows >= 0) {
        EXPECT_EQ(rig.reshows, step.reshows);
      }
    }
  }
}

TEST(HandsFreeTimeline, ACheckWithoutAThreadIsDroppedAndTriedAgain) {
  Rig rig;
  rig.controller.ResetHandsFree(true);
  for (const Step& step : FourEmptyScans()) Play(rig, step);
  ASSERT_TRUE(rig.controller.paused());
  rig.checkThreadStarts = false;
  Play(rig, {Op::Fill, 220});
  Play(rig, {Op::Ticks, 3});
  EXPECT_FALSE(rig.controller.checkRunning());
  rig.checkThreadStarts = true;
  EXPECT_EQ(rig.checks, 0);
  // The screen was never probed, so it is still new: the next tick tries again.
  Play(rig, {Op::Ticks, 1});
  EXPECT_EQ(rig.checks, 1);
  EXPECT_TRUE(rig.controller.checkRunning());
}

TEST(HandsFreeTimer, RunsOnlyInStealthModeWhileShownWithAnIntervalAndReadsPausedInTheMenu) {
  struct Case {
    bool stealth, visible;
    int interval;
    HandsFreeTimer timer;
  };
  const HandsFreeTimer active{true, kHandsFreeActiveMs};
  for (const Case& c : {Case{true, true, 5, active}, Case{true, true, 30, active}, Case{true, true, 0, {}},
                        Case{true, false, 5, {}}, Case{false, true, 5, {}}, Case{false, false, 0, {}}}) {
    Rig rig;
    rig.situation = {c.stealth, c.visible, c.interval};
    rig.timer = {true, 1};
    rig.controller.ResetHandsFree(true);
    EXPECT_EQ(rig.timer, c.timer) << c.stealth << c.visible << c.interval;
    rig.timer = {true, 1};
    rig.controller.ResetHandsFree(false);
    EXPECT_EQ(rig.timer, c.timer);
    // A tick stops a timer whose conditions no longer hold and starts nothing by itself.
    rig.timer = {true, 1};
    rig.controller.HandsFreeTick();
    EXPECT_EQ(rig.timer, c.timer.running ? (HandsFreeTimer{true, 1}) : HandsFreeTimer{});
    EXPECT_EQ(rig.scans, 0);
  }
  EXPECT_EQ(kHandsFreeActiveMs, 1000u);
  EXPECT_EQ(kHandsFreePausedMs, 2000u);

  Rig rig;
  rig.controller.ResetHandsFree(true);
  EXPECT_FALSE(rig.controller.paused());
  EXPECT_EQ(std::wstring(rig.controller.MenuEntry().text), L"Hands-Free Auto-Scan");
  EXPECT_TRUE(rig.controller.MenuEntry().checked);
  for (const Step& step : FourEmptyScans()) Play(rig, step);
  HandsFreeMenuEntry paused = rig.controller.MenuEntry();
  EXPECT_EQ(std::wstring(paused.text), L"Resume Hands-Free Auto-Scan");
  EXPECT_FALSE(paused.checked);
  EXPECT_TRUE(paused.resumes);
  rig.controller.ResetHandsFree(true);  // the menu's resume
  EXPECT_FALSE(rig.controller.paused());
  EXPECT_EQ(rig.timer, active);
  HandsFreeMenuEntry off = DescribeHandsFreeMenuEntry(true, 0);
  EXPECT_EQ(std::wstring(off.text), L"Hands-Free Auto-Scan");
  EXPECT_FALSE(off.checked);
  EXPECT_FALSE(off.resumes);
}

TEST(QuestionCheck, RunsTheCheckKindAndReportsItsStatusOrNoneWhenItThrows) {
  struct Case {
    bool throws;
    TutorReply::Status status, stored;
  };
  for (const Case& c : {Case{false, TutorReply::Answer, TutorReply::Answer},
                        Case{false, TutorReply::NoQuestion, TutorReply::NoQuestion},
                        Case{true, TutorReply::Answer, TutorReply::Error}}) {
    std::thread worker;
    QueryKind seenKind = QueryKind::Scan;
    auto job = StartQuestionCheck(
        [&](QueryKind kind, QueryQuality quality, const std::wstring& text) {
          seenKind = kind;
          EXPECT_EQ(quality, QueryQuality::Fast);
          EXPECT_TRUE(text.empty());
          if (c.throws) throw std::runtime_error("no OCR engine");
          TutorReply reply;
          reply.status = c.status;
          return reply;
        },
        [&](std::function<void()> work) { worker = std::thread(std::move(work)); });
    ASSERT_TRUE(job);
    worker.join();
    EXPECT_EQ(seenKind, QueryKind::QuestionCheck);
    EXPECT_EQ(TryTakeResult(*job), std::optional<TutorReply::Status>(c.stored));
  }
  EXPECT_FALSE(StartQuestionCheck([](QueryKind, QueryQuality, const std::wstring&) { return TutorReply(); },
                                  [](std::function<void()>) { throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again)); }));
}

}  // namespace
