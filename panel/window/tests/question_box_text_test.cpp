#include "panel/window/question_box_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "draw/fixed_measurer.h"
#include "draw/recording_canvas.h"
#include "panel/paint/panel_paint.h"

namespace {

// Every character of the 14.5 px text is 7.25 px wide with the fixed measurer.
constexpr float kAdvance = 7.25f;
const RectF kClip{35, 218, 318, 100};

QuestionBoxView TwoLines(size_t selectionStart, size_t selectionEnd, bool caretVisible) {
  QuestionBoxView box;
  box.text = L"ab\r\ncd";
  box.lines = {{0, 2, 218}, {4, 2, 236}};
  box.left = 35;
  box.lineHeight = 18;
  box.focused = true;
  box.caretVisible = caretVisible;
  box.selectionStart = selectionStart;
  box.selectionEnd = selectionEnd;
  return box;
}

TEST(QuestionBoxText, DrawsTheLinesTheSelectionAndTheCaretWhereTheBoxHasThem) {
  QuestionBoxView empty;
  empty.left = 35;
  QuestionBoxView beyond = TwoLines(40, 40, true);  // a stale reading: past the text's end
  beyond.lines.push_back({90, 5, 254});
  beyond.lines[1].length = 30;
  const struct {
    const char* name;
    QuestionBoxView box;
    bool light;
    std::vector<std::pair<std::wstring, PointF>> glyphs;
    Argb ink;
    std::vector<RectF> selection;
    std::optional<float> caretX;
    float caretTop;
  } cases[] = {
      {"an empty box shows its cue", empty, true, {{L"Type a question\u2026", {35, 218}}}, 0xA81C1C24, {}, {}, 0},
      {"the cue in dark glass", empty, false, {{L"Type a question\u2026", {35, 218}}}, 0x8CFFFFFF, {}, {}, 0},
      {"the caret after the c", TwoLines(5, 5, true), true, {{L"ab", {35, 218}}, {L"cd", {35, 236}}}, 0xFF121216, {},
       35 + kAdvance, 236},
      {"the caret in its dark phase", TwoLines(5, 5, false), false, {{L"ab", {35, 218}}, {L"cd", {35, 236}}},
       0xC0FFFFFF, {}, {}, 0},
      {"a selection over the line break, and no caret", TwoLines(5, 1, true), true,
       {{L"ab", {35, 218}}, {L"cd", {35, 236}}}, 0xFF121216,
       {{35 + kAdvance, 218, kAdvance, 18}, {35, 236, kAdvance, 18}}, {}, 0},
      {"lines and a caret past the text are cut to it", beyond, true, {{L"ab", {35, 218}}, {L"cd", {35, 236}}},
       0xFF121216, {}, 35 + 2 * kAdvance, 236},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FixedAdvanceMeasurer measurer;
    RecordingCanvas canvas;
    DrawQuestionBoxText(canvas, measurer, c.box, kClip, c.light, 0xFFE0467C);
    EXPECT_EQ(canvas.Depth(), 0);
    ASSERT_EQ(canvas.CountOf(DrawCallKind::PushClip), 1u);
    EXPECT_EQ(canvas.CallsOf(DrawCallKind::PushClip)[0]->rect, kClip);
    const auto glyphs = canvas.CallsOf(DrawCallKind::Glyphs);
    ASSERT_EQ(glyphs.size(), c.glyphs.size()) << canvas.Describe();
    for (size_t i = 0; i < glyphs.size(); ++i) {
      EXPECT_EQ(glyphs[i]->text, c.glyphs[i].first);
      EXPECT_EQ(glyphs[i]->points[0], c.glyphs[i].second);
      EXPECT_EQ(glyphs[i]->brush.colour, c.ink);
      EXPECT_EQ(glyphs[i]->font.pixelSize, kQuestionTextSize);
    }
    const auto fills = canvas.CallsOf(DrawCallKind::FillRect);
    ASSERT_EQ(fills.size(), c.selection.size()) << canvas.Describe();
    for (size_t i = 0; i < fills.size(); ++i) EXPECT_EQ(fills[i]->rect, c.selection[i]);
    const auto lines = canvas.CallsOf(DrawCallKind::Line);
    ASSERT_EQ(lines.size(), c.caretX ? 1u : 0u) << canvas.Describe();
    if (c.caretX) {
      EXPECT_EQ(lines[0]->points[0], (PointF{*c.caretX, c.caretTop + 1}));
      EXPECT_EQ(lines[0]->points[1], (PointF{*c.caretX, c.caretTop + 17}));
    }
  }
}

// The question page draws the box's content only under glass; otherwise the native box shows.
TEST(QuestionBoxText, ThePanelDrawsTheBoxOnlyUnderGlass) {
  for (bool glass : {false, true}) {
    SCOPED_TRACE(glass);
    PanelView view;
    view.page = PanelPage::Question;
    view.glassActive = glass;
    view.lightTheme = true;
    view.questionBox = TwoLines(5, 5, true);
    FixedAdvanceMeasurer measurer;
    RecordingCanvas canvas;
    PaintPanel(canvas, canvas, measurer, 388, 486, view);
    const auto texts = canvas.Texts();
    EXPECT_EQ(std::count(texts.begin(), texts.end(), L"cd"), glass ? 1 : 0);
  }
}

}  // namespace
