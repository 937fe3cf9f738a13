#include "draw/frame_reuse.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const FontSpec kFont{L"Segoe UI", 14, kFontRegular};

// A frame like the panel's: a background, a clipped text block whose text is `scrolled`, a footer.
std::vector<DrawCall> Frame(const std::wstring& scrolled, Argb footer = 0xFF00FF00) {
  RecordingCanvas canvas;
  canvas.FillRect({0, 0, 100, 100}, Argb{0xFF202020});
  canvas.FillRoundedRect({10, 10, 80, 40}, 8, Argb{0xFF303030});
  canvas.PushClip({12, 12, 76, 36});
  canvas.DrawGlyphs(scrolled, kFont, 0xFFFFFFFF, {12, 12});
  canvas.Pop();
  canvas.FillEllipse({10, 80, 6, 6}, footer);
  return canvas.Calls();
}

std::vector<DrawCall> Slice(std::vector<DrawCall> calls, size_t from, size_t to) {
  return {calls.begin() + from, calls.begin() + to};
}

TEST(SharedPrefix, StopsBeforeTheFirstDifferenceOutsideEveryPushedState) {
  const struct {
    const char* name;
    std::vector<DrawCall> a, b;
    size_t shared;
  } cases[] = {
      {"equal frames", Frame(L"x"), Frame(L"x"), 6},
      {"a change inside a clip goes back to before the clip", Frame(L"x"), Frame(L"y"), 2},
      {"a change after the clip keeps it", Frame(L"x"), Frame(L"x", 0xFF0000FF), 5},
      {"one frame the start of the other", Frame(L"x"), Slice(Frame(L"x"), 0, 3), 2},
      {"nothing to share", Frame(L"x"), {}, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(SharedPrefix(c.a, c.b), c.shared);
    EXPECT_EQ(SharedPrefix(c.b, c.a), c.shared);
  }
}

TEST(FrameReuse, DrawsOnlyWhatChangedSinceTheSnapshot) {
  using Start = RepaintPlan::Start;
  const struct {
    const char* name;
    std::vector<DrawCall> frame;
    bool wholeFrame;
    Start start;
    size_t replayFrom;
    std::optional<size_t> snapshotAt;
  } steps[] = {
      {"the first frame draws everything", Frame(L"a"), true, Start::Clear, 0, std::nullopt},
      {"the same frame again draws nothing", Frame(L"a"), true, Start::Nothing, 6, std::nullopt},
      {"scrolled: a snapshot where the clip starts", Frame(L"b"), true, Start::Clear, 0, 2},
      {"scrolled again: from the snapshot", Frame(L"c"), true, Start::Snapshot, 2, std::nullopt},
      {"a partial update redraws from the snapshot", Frame(L"c", 0xFF0000FF), false, Start::Snapshot, 2,
       std::nullopt},
      {"after a partial update the same frame is drawn again", Frame(L"c", 0xFF0000FF), true, Start::Snapshot, 2,
       std::nullopt},
      {"and is then whole", Frame(L"c", 0xFF0000FF), true, Start::Nothing, 6, std::nullopt},
      {"the snapshot moves on to what is shared", Frame(L"c", 0xFFFF0000), true, Start::Snapshot, 2, 5},
      {"and is used from there", Frame(L"c", 0xFFFFFF00), true, Start::Snapshot, 5, std::nullopt},
      {"a change before the snapshot drops it", Slice(Frame(L"c"), 1, 6), true, Start::Clear, 0, std::nullopt},
      {"and the next change draws everything again", Frame(L"d"), true, Start::Clear, 0, std::nullopt},
  };
  FrameReuse reuse;
  for (const auto& step : steps) {
    SCOPED_TRACE(step.name);
    const RepaintPlan plan = reuse.Next(step.frame, step.wholeFrame);
    EXPECT_EQ(plan.start, step.start);
    EXPECT_EQ(plan.replayFrom, step.replayFrom);
    EXPECT_EQ(plan.snapshotAt, step.snapshotAt);
    EXPECT_EQ(reuse.last(), step.frame);
  }
  reuse.Reset();
  EXPECT_EQ(reuse.Next(Frame(L"d"), true).start, RepaintPlan::Start::Clear);
}

TEST(ReplayDrawCalls, MakesEveryCallAgainAsRecorded) {
  RecordingCanvas original;
  const PointF points[] = {{1, 2}, {3, 4}, {5, 1}};
  original.PushScale(1.5f, 2);
  original.DrawGlyphs(L"x", kFont, 0xFF010203, {4, 5});
  original.DrawTextBox(L"box", kFont, 0xFF040506, {1, 2, 30, 40}, {TextAlign::Center, TextAlign::Far, true, true});
  original.DrawLine({0, 0}, {9, 9}, {0xFF112233, 2, LineCap::Round, LineJoin::Round});
  original.DrawPolyline(points, {0xFF445566, 1.5f});
  original.DrawCurve(points, 0.55f, {0xFF778899, 1.1f, LineCap::Round});
  original.PushClip({1, 1, 50, 50});
  original.FillRect({1, 1, 5, 5}, Brush(LinearGradient{{0, 0}, {0, 9}, 0xFF000000, 0xFFFFFFFF}));
  original.FillRoundedRect({2, 2, 20, 10}, 4, Argb{0x80FFFFFF});
  original.StrokeRoundedRect({2, 2, 20, 10}, 4, {0x40000000, 0.85f});
  original.Pop();
  original.PushRoundedClip({0, 0, 60, 60}, 12);
  original.FillEllipse({3, 3, 7, 7}, Argb{0xFFABCDEF});
  original.StrokeEllipse({3, 3, 7, 7}, {0xFFFEDCBA, 1});
  original.FillPath(Path().MoveTo({0, 0}).LineTo({5, 0}).BezierTo({6, 1}, {7, 2}, {8, 8}).Close(), Argb{0xFF000001});
  original.StrokePath(Path().ArcTo({0, 0, 10, 10}, 180, 90), {0xFF000002, 3});
  original.Pop();
  original.Pop();

  RecordingCanvas again;
  ReplayDrawCalls(original.Calls(), again);
  EXPECT_EQ(again.Calls(), original.Calls()) << again.Describe() << "\nwanted\n" << original.Describe();
}

}  // namespace
