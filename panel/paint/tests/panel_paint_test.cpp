// The panel painted on a recording canvas with fixed-advance glyphs: where the answer page's
// pieces go, which texts show in which state, the keycap, the palettes and the text block.
#include "panel/paint/panel_paint.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "draw/fixed_measurer.h"
#include "draw/recording_canvas.h"
#include "panel/paint/panel_palette.h"
#include "panel/panel_texts.h"
#include "panel/paint/text_block.h"

namespace {

constexpr float kW = 388, kH = 486;

TutorReply Reply(TutorReply::Status status, std::wstring text, std::wstring explanation = L"", int option = -1) {
  TutorReply reply;
  reply.status = status;
  reply.text = std::move(text);
  reply.explanation = std::move(explanation);
  reply.option = option;
  return reply;
}

struct Painted {
  RecordingCanvas canvas;
  FixedAdvanceMeasurer measurer;
  PanelView view;

  explicit Painted(PanelView v) : view(std::move(v)) {}
  Painted& Paint(float width = kW, float height = kH) {
    canvas.Clear();
    PaintPanel(canvas, canvas, measurer, width, height, view);
    return *this;
  }
  const DrawCall* TextBox(std::wstring_view text) const {
    for (const DrawCall* call : canvas.CallsOf(DrawCallKind::TextBox)) {
      if (call->text == text) return call;
    }
    return nullptr;
  }
  bool HasText(std::wstring_view text) const { return TextBox(text) != nullptr; }
  bool HasTextStartingWith(std::wstring_view prefix) const {
    for (const DrawCall* call : canvas.CallsOf(DrawCallKind::TextBox)) {
      if (std::wstring_view(call->text).starts_with(prefix)) return true;
    }
    return false;
  }
  std::vector<RectF> Clips() const {
    std::vector<RectF> clips;
    for (const DrawCall* call : canvas.CallsOf(DrawCallKind::PushClip)) clips.push_back(call->rect);
    return clips;
  }
};

PanelView AnswerView(const TutorReply& reply, bool explanationShown = true) {
  PanelView view;
  view.reply = &reply;
  view.explanationShown = explanationShown;
  view.scanHotkey = L"F9";
  return view;
}

bool Contains(const std::vector<RectF>& rects, const RectF& rect) {
  return std::find(rects.begin(), rects.end(), rect) != rects.end();
}

TEST(PanelPaint, AnswerPageLayoutAtTheNominalSize) {
  // A = 486 − 45 − 194 = 247; with the explanation shown the answer card is floor(0.48 · 247) = 118 high.
  const TutorReply reply = Reply(TutorReply::Answer, L"Paris is the capital", L"It has been since 987", 1);
  struct Case {
    bool explanationShown;
    RectF answerBody;
    std::optional<RectF> explanationBody;
    float explanationTop;
  };
  const Case cases[] = {
      {true, {34, 212, 320, 77}, RectF{34, 344, 320, 79}, 299},
      {false, {34, 212, 320, 167}, std::nullopt, 389},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.explanationShown);
    Painted p(AnswerView(reply, c.explanationShown));
    p.Paint();
    const std::vector<RectF> clips = p.Clips();
    EXPECT_TRUE(Contains(clips, c.answerBody)) << p.canvas.Describe();
    const DrawCall* body = p.TextBox(reply.text);
    ASSERT_NE(body, nullptr);
    EXPECT_EQ(body->rect.x, 34);
    EXPECT_EQ(body->rect.y, 212);
    EXPECT_EQ(body->font, PanelFont(19.5f, true));
    const DrawCall* label = p.TextBox(panel_text::Explanation);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->rect, (RectF{34, c.explanationTop + 1, 150, 36}));
    EXPECT_EQ(p.HasText(reply.explanation), c.explanationShown);
    if (c.explanationBody) {
      EXPECT_TRUE(Contains(clips, *c.explanationBody));
    }
    const DrawCall* answerLabel = p.TextBox(panel_text::AnswerLabel);
    ASSERT_NE(answerLabel, nullptr);
    EXPECT_EQ(answerLabel->rect, (RectF{34, 185, 130, 21}));
    EXPECT_EQ(p.canvas.Depth(), 0);
    EXPECT_EQ(p.canvas.UnmatchedPops(), 0);
  }
}

TEST(PanelPaint, OptionBadgeOnlyForAnAnswerWithAnOption) {
  struct Case {
    TutorReply::Status status;
    int option;
    const wchar_t* badge;  // null: none
  };
  const Case cases[] = {
      {TutorReply::Answer, -1, nullptr},          {TutorReply::Answer, -7, nullptr},
      {TutorReply::Answer, 0, L"Option A"},       {TutorReply::Answer, 2, L"Option C"},
      {TutorReply::Answer, 3, L"Option D"},       {TutorReply::Error, 2, nullptr},
      {TutorReply::NoQuestion, 1, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.status << " " << c.option);
    const TutorReply reply = Reply(c.status, L"text", L"why", c.option);
    Painted p(AnswerView(reply));
    p.Paint();
    EXPECT_EQ(p.HasTextStartingWith(panel_text::OptionPrefix), c.badge != nullptr);
    if (!c.badge) continue;
    const DrawCall* badge = p.TextBox(c.badge);
    ASSERT_NE(badge, nullptr);
    EXPECT_EQ(badge->rect, (RectF{kW - 22 - 74, 186, 62, 20}));
    EXPECT_EQ(badge->font, PanelFont(12, true));
  }
}

TEST(PanelPaint, EachReplyStatusHasItsLabelBodyAndExplanation) {
  struct Case {
    TutorReply reply;
    const wchar_t* label;
    std::wstring body;
    float size;
    bool explanation;
  };
  const Case cases[] = {
      {Reply(TutorReply::Answer, L"x = 4", L"", 0), panel_text::AnswerLabel, L"x = 4", 19.5f, true},
      {Reply(TutorReply::Error, L"The service did not answer.", L"ignored", 1), panel_text::ScanResultLabel,
       L"The service did not answer.", 15, false},
      {Reply(TutorReply::NoQuestion, L"", L"ignored", -1), panel_text::ScanResultLabel,
       panel_text::NoReadableQuestion, 15, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.reply.status);
    Painted p(AnswerView(c.reply));
    p.Paint();
    EXPECT_TRUE(p.HasText(c.label));
    const DrawCall* body = p.TextBox(c.body);
    ASSERT_NE(body, nullptr) << p.canvas.Describe();
    EXPECT_EQ(body->font.pixelSize, c.size);
    EXPECT_EQ(p.HasText(panel_text::Explanation), c.explanation);
    EXPECT_FALSE(p.HasText(L"ignored"));
    // An answer without an explanation says so.
    EXPECT_EQ(p.HasText(panel_text::NoExplanation), c.explanation);
  }
}

// A streamed answer replaces the busy page while the query runs, without a badge; once cut off it
// stays beside the failure's sentence, marked; the final answer replaces it with its badge.
TEST(PanelPaint, AStreamedAnswerGrowsOnTheCardsAndACutOffOneIsMarked) {
  LiveAnswer live;
  live.answer = L"Paris is";
  live.explanation = L"It has been";
  PanelView view;
  view.queryRunning = true;
  view.kind = QueryKind::Ask;
  view.live = &live;
  Painted running(view);
  running.Paint();
  EXPECT_TRUE(running.HasText(panel_text::AnswerLabel));
  EXPECT_TRUE(running.HasText(L"Paris is"));
  EXPECT_TRUE(running.HasText(L"It has been"));
  EXPECT_FALSE(running.HasText(panel_text::WorkingOnQuestion));
  EXPECT_FALSE(running.HasText(panel_text::CutOff));
  EXPECT_FALSE(running.HasText(panel_text::NoExplanation));  // nothing yet is not "none returned"

  const TutorReply failure = Reply(TutorReply::Error, L"The tutor service didn't return readable text. Try again.");
  view.queryRunning = false;
  view.reply = &failure;
  Painted cut(view);
  cut.Paint();
  EXPECT_TRUE(cut.HasText(panel_text::CutOff));
  EXPECT_TRUE(cut.HasText(L"Paris is"));
  EXPECT_TRUE(cut.HasText(failure.text));
  EXPECT_FALSE(cut.HasText(panel_text::ScanResultLabel));

  const TutorReply answer = Reply(TutorReply::Answer, L"Paris is the capital.", L"It has been.", 1);
  view.reply = &answer;
  view.live = nullptr;
  Painted final(view);
  final.Paint();
  EXPECT_TRUE(final.HasText(L"Option B"));
  EXPECT_FALSE(final.HasText(panel_text::CutOff));
}

TEST(PanelPaint, KeycapWidthFollowsTheHotkeyTextWithinItsBounds) {
  struct Case {
    const wchar_t* hotkey;
    float width;
  };
  const Case cases[] = {
      {L"", 30}, {L"A", 30}, {L"F9", 30}, {L"F10", 35.4f}, {L"Alt+F9", 52.8f}, {L"Shift+F1", 58},
      {L"Ctrl+Alt+Shift+Win+Right Click", 58},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << std::string(c.hotkey, c.hotkey + wcslen(c.hotkey)));
    EXPECT_NEAR(KeycapWidth(wcslen(c.hotkey)), c.width, 1e-4);
    PanelView view;
    view.scanHotkey = c.hotkey;
    Painted p(view);
    p.Paint();
    // The pill is the rounded rectangle of radius 10.5 whose right edge is 9 inside the scan button's.
    const DrawCall* pill = nullptr;
    for (const DrawCall* call : p.canvas.CallsOf(DrawCallKind::FillRoundedRect)) {
      if (call->radius == 10.5f) pill = call;
    }
    ASSERT_NE(pill, nullptr);
    EXPECT_NEAR(pill->rect.width, c.width, 1e-4);
    EXPECT_NEAR(pill->rect.Right(), 22 + 168 - 9, 1e-4);
    EXPECT_EQ(pill->rect.y, 113 + 9.5f);
    EXPECT_EQ(pill->rect.height, 21);
  }
}

TEST(PanelPaint, HeadingsAndStatusTextsByQueryState) {
  const TutorReply answer = Reply(TutorReply::Answer, L"a", L"b", 0);
  const TutorReply none = Reply(TutorReply::NoQuestion, L"");
  const TutorReply failed = Reply(TutorReply::Error, L"oops");
  struct Case {
    bool running;
    QueryKind kind;
    const TutorReply* reply;
    bool vision;
    const wchar_t* heading;  // null: the answer card shows instead
    const wchar_t* status;
    bool accentDot;
  };
  const Case cases[] = {
      {true, QueryKind::Scan, nullptr, false, L"Reading your screen\u2026", L"Scanning\u2026", true},
      {true, QueryKind::VisionScan, &answer, false, L"Reading screen (Math)\u2026", L"Scanning (Vision)\u2026", true},
      {true, QueryKind::Snip, nullptr, true, L"Reading snipped image\u2026", L"Reading snip\u2026", true},
      {true, QueryKind::Ask, &failed, false, L"Working on your question\u2026", L"Thinking\u2026", true},
      {false, QueryKind::Ask, nullptr, false, L"Ready to scan", L"Ready", false},
      {false, QueryKind::Scan, nullptr, true, L"Ready to scan", L"Ready \u00B7 Vision", false},
      {false, QueryKind::Scan, &answer, false, nullptr, L"Answer ready", true},
      {false, QueryKind::Scan, &none, true, nullptr, L"No question found", true},
      {false, QueryKind::Scan, &failed, false, nullptr, L"Request failed", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.running << " " << int(c.kind) << " " << (c.reply ? c.reply->status : -1));
    PanelView view;
    view.queryRunning = c.running;
    view.kind = c.kind;
    view.reply = c.reply;
    view.visionOnScan = c.vision;
    view.scanHotkey = L"F9";
    Painted p(view);
    p.Paint();
    const DrawCall* status = p.TextBox(c.status);
    ASSERT_NE(status, nullptr) << p.canvas.Describe();
    EXPECT_EQ(status->rect, (RectF{31, 441 + 7, 388 - 134 - 31, 29}));
    EXPECT_EQ(status->font, PanelFont(12, true));
    EXPECT_TRUE(status->textFormat.ellipsis);
    EXPECT_FALSE(status->textFormat.wrap);
    if (c.heading) {
      const DrawCall* heading = p.TextBox(c.heading);
      ASSERT_NE(heading, nullptr);
      const float centreY = 176 + 0.28f * 247;
      EXPECT_NEAR(heading->rect.y, centreY + 52, 1e-3);
      EXPECT_EQ(heading->font, PanelFont(19, true));
      EXPECT_TRUE(p.HasText(c.running ? L"The answer will appear here." : L"Bring a question into view, then press F9."));
      EXPECT_FALSE(p.HasText(panel_text::AnswerLabel));
    } else {
      EXPECT_FALSE(p.HasText(panel_text::ReadyToScan));
    }
    // The footer dot: accent while busy or after a reply, green when ready.
    const DrawCall* dot = nullptr;
    for (const DrawCall* call : p.canvas.CallsOf(DrawCallKind::FillEllipse)) {
      if (call->rect == RectF{19.6f, 441 + 18.6f, 6.8f, 6.8f}) dot = call;
    }
    ASSERT_NE(dot, nullptr);
    EXPECT_EQ(dot->brush.colour, c.accentDot ? ChoosePalette(false, false).accent : 0xFF6ABE5Du);
  }
}

TEST(PanelPaint, ANoticeTakesTheStatusWordsPlace) {
  PanelView view;
  view.notice = panel_text::SnipFailed;
  Painted p(view);
  p.Paint();
  const DrawCall* notice = p.TextBox(panel_text::SnipFailed);
  ASSERT_NE(notice, nullptr) << p.canvas.Describe();
  EXPECT_EQ(notice->rect, (RectF{31, 441 + 7, 388 - 134 - 31, 29}));
  EXPECT_EQ(p.TextBox(L"Ready"), nullptr);
}

TEST(PanelPaint, WindowDotsWithHoverGlyphAndFocusRing) {
  const Argb colours[3] = {0xFFE16C5D, 0xFFE8B347, 0xFF6ABE5D};
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    PanelView view;
    view.controls.hotControl = 100 + i;
    view.controls.focusControl = 100 + i;
    Painted p(view);
    p.Paint();
    const RectF bounds = CircleBounds({21.0f + 18 * i, 21}, 6.3f);
    int dots = 0;
    for (const DrawCall* call : p.canvas.CallsOf(DrawCallKind::FillEllipse)) {
      if (call->rect == bounds) {
        EXPECT_EQ(call->brush.colour, colours[i]);
        ++dots;
      }
    }
    EXPECT_EQ(dots, 1);
    // The hovered dot's glyph lies inside it, in the dark glyph colour; the others have none.
    int glyphStrokes = 0;
    for (const DrawCall& call : p.canvas.Calls()) {
      if (call.stroke.colour != 0xE02D2A2F) continue;
      ++glyphStrokes;
      for (PointF point : call.points) {
        EXPECT_LT(std::abs(point.x - (21 + 18 * i)), 6.3f);
        EXPECT_LT(std::abs(point.y - 21), 6.3f);
      }
    }
    EXPECT_GT(glyphStrokes, 0);
    // The focus ring: a 1.5-wide outline around (12 + 18i, 12, 18, 18).
    bool ring = false;
    for (const DrawCall* call : p.canvas.CallsOf(DrawCallKind::StrokeRoundedRect)) {
      ring |= call->stroke.width == 1.5f && call->rect.x < 12 + 18 * i && call->rect.Right() > 30 + 18 * i &&
              call->rect.width < 20;
    }
    EXPECT_TRUE(ring);
  }
}

TEST(PanelPaint, FourPalettesAndTheirRims) {
  struct Case {
    bool glass, light;
    std::optional<Argb> background;
    Argb primary, secondary, accent, keycap;
    Argb rim;
    float rimWidth;
  };
  const Case cases[] = {
      {false, true, 0xFFF6F6F9, 0xFF121216, 0xFF484850, 0xFF0C0C10, 0xFFEEEEF2, 0x1C000000, 1},
      {false, false, 0xFF1E1E22, 0xFFF6F6FA, 0xFFC6C6CE, 0xFFFFFFFF, 0xFF404048, 0x24FFFFFF, 1},
      {true, true, 0x72FFFFFF, 0xFF121216, 0xE01C1C24, 0xFF0C0C10, 0x12000000, 0x2E000000, 0.9f},
      {true, false, std::nullopt, 0xFFFFFFFF, 0xF2FFFFFF, 0xFFFFFFFF, 0x22FFFFFF, 0x2C000000, 0.9f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.glass << c.light);
    const PanelPalette palette = ChoosePalette(c.glass, c.light);
    EXPECT_EQ(palette.background, c.background);
    EXPECT_EQ(palette.primary, c.primary);
    EXPECT_EQ(palette.secondary, c.secondary);
    EXPECT_EQ(palette.accent, c.accent);
    EXPECT_EQ(palette.keycap, c.keycap);

    PanelView view;
    view.glassActive = c.glass;
    view.lightTheme = c.light;
    Painted p(view);
    p.Paint();
    const std::vector<DrawCall>& calls = p.canvas.Calls();
    ASSERT_FALSE(calls.empty());
    if (c.background) {
      EXPECT_EQ(calls[0].kind, DrawCallKind::FillRect);
      EXPECT_EQ(calls[0].rect, (RectF{-1, -1, kW + 2, kH + 2}));
      EXPECT_EQ(calls[0].brush.colour, *c.background);
    } else {
      EXPECT_EQ(p.canvas.CountOf(DrawCallKind::FillRect), 0u);
    }
    const DrawCall& rim = calls[c.background ? 1 : 0];
    EXPECT_EQ(rim.kind, DrawCallKind::StrokeRoundedRect);
    EXPECT_EQ(rim.stroke.colour, c.rim);
    EXPECT_EQ(rim.stroke.width, c.rimWidth);
    EXPECT_EQ(rim.rect, (c.glass ? RectF{0, 0, kW, kH} : RectF{0.5f, 0.5f, kW - 1, kH - 1}));
    EXPECT_EQ(rim.radius, c.glass ? 30 : 29.5f);
    // The title in the secondary colour, the page title in the primary one.
    ASSERT_TRUE(p.HasText(L"Tavisk"));
    EXPECT_EQ(p.TextBox(L"Tavisk")->brush.colour, c.secondary);
    EXPECT_EQ(p.TextBox(L"Tavisk")->rect, (RectF{84, 0, kW - 168, 41}));
    EXPECT_EQ(p.TextBox(L"Study assistant")->brush.colour, c.primary);
  }
}

TEST(PanelPaint, GlassLayerGoesToItsOwnCanvas) {
  PanelView view;
  view.glassActive = true;
  view.lightTheme = true;
  RecordingCanvas content, glass;
  FixedAdvanceMeasurer measurer;
  PaintPanel(content, glass, measurer, kW, kH, view);
  EXPECT_EQ(glass.CountOf(DrawCallKind::FillRect), 1u);
  EXPECT_EQ(content.CountOf(DrawCallKind::FillRect), 0u);
  EXPECT_GE(glass.CountOf(DrawCallKind::StrokeRoundedRect), 5u);  // two outlines, three highlights
  EXPECT_TRUE(glass.Texts().empty());
  EXPECT_FALSE(content.Texts().empty());
}

TEST(PanelPaint, PagesShowTheirOwnPieces) {
  struct Case {
    PanelPage page;
    std::vector<std::wstring> shown;
    std::vector<std::wstring> absent;
  };
  const Case cases[] = {
      {PanelPage::Answer,
       {L"Study assistant", L"Capture a question or write your own.", L"Scan screen", L"Ask a question", L"Stealth"},
       {L"Your question", L"Send", L"Settings"}},
      {PanelPage::Question,
       {L"Your question", L"Send", L"Close question", L"Enter to send  \u00B7  Shift+Enter for a new line"},
       {L"Ask a question", L"Ready to scan"}},
      {PanelPage::Settings, {L"Settings", L"Stealth", L"Ready"}, {L"Scan screen", L"Study assistant", L"Ready to scan"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(int(c.page));
    PanelView view;
    view.page = c.page;
    RecordingCanvas canvas;
    FixedAdvanceMeasurer measurer;
    int sectionsPainted = 0;
    PaintPanel(canvas, canvas, measurer, kW, kH, view,
               [&](Canvas&, GlyphMeasurer&, const PanelView&, float w, float h) {
                 EXPECT_EQ(w, kW);
                 EXPECT_EQ(h, kH);
                 ++sectionsPainted;
               });
    const std::vector<std::wstring> texts = canvas.Texts();
    auto has = [&](const std::wstring& t) { return std::find(texts.begin(), texts.end(), t) != texts.end(); };
    for (const std::wstring& text : c.shown) EXPECT_TRUE(has(text)) << std::string(text.begin(), text.end());
    for (const std::wstring& text : c.absent) EXPECT_FALSE(has(text)) << std::string(text.begin(), text.end());
    EXPECT_EQ(sectionsPainted, c.page == PanelPage::Settings ? 1 : 0);
  }
}

TEST(TextBlock, PlainTextWrapsScrollsAndShowsAThumbOnlyWhenTooTall) {
  struct Case {
    std::wstring text;
    float scroll;
    float wrapWidth;  // of the text box drawn
    float scrollMax;
    float scrollAfter;
    bool thumb;
  };
  // 10 px font: 5 px per character, 12 px lines; the block is 100 x 30.
  // Ten 4-letter words: 4 a line (3 lines, 36 px) at 100 wide, so 7 narrower: 3 a line, 4 lines, 48 px.
  const std::wstring longText = L"aaaa bbbb cccc dddd eeee ffff gggg hhhh iiii jjjj";
  const Case cases[] = {
      {L"short words", 0, 100, 0, 0, false},
      {L"short words", 25, 100, 0, 0, false},
      {longText, 0, 93, 18, 0, true},
      {longText, 12, 93, 18, 12, true},
      {longText, 400, 93, 18, 18, true},
      {longText, -5, 93, 18, 0, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.scroll);
    RecordingCanvas canvas;
    FixedAdvanceMeasurer measurer;
    float scroll = c.scroll, scrollMax = -1;
    const RectF rect{10, 20, 100, 30};
    DrawTextBlock(canvas, measurer, c.text, rect, 10, 0xFF102030, scroll, scrollMax, false);
    EXPECT_EQ(scrollMax, c.scrollMax);
    EXPECT_EQ(scroll, c.scrollAfter);
    const auto boxes = canvas.CallsOf(DrawCallKind::TextBox);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0]->rect.width, c.wrapWidth);
    EXPECT_EQ(boxes[0]->rect.y, 20 - c.scrollAfter);
    EXPECT_TRUE(boxes[0]->textFormat.wrap);
    EXPECT_EQ(boxes[0]->font, PanelFont(10, false));
    EXPECT_EQ(boxes[0]->depth, 1);
    const auto clips = canvas.CallsOf(DrawCallKind::PushClip);
    ASSERT_EQ(clips.size(), 1u);
    EXPECT_EQ(clips[0]->rect, rect);
    const auto fills = canvas.CallsOf(DrawCallKind::FillRoundedRect);
    ASSERT_EQ(fills.size(), c.thumb ? 1u : 0u);
    if (c.thumb) {
      EXPECT_EQ(fills[0]->rect.x, 107);
      EXPECT_EQ(fills[0]->rect.width, 3);
      EXPECT_EQ(fills[0]->brush.colour, 0x69102030u);
      EXPECT_EQ(fills[0]->depth, 0);
    }
    EXPECT_EQ(canvas.Depth(), 0);
  }
}

TEST(TextBlock, MathGoesThroughTheRichLayoutAndAnEmptyRectangleDrawsNothing) {
  RecordingCanvas canvas;
  FixedAdvanceMeasurer measurer;
  float scroll = 3, scrollMax = 9;
  DrawTextBlock(canvas, measurer, L"half is $\\frac{1}{2}$", {0, 0, 200, 0}, 15, 0xFF000000, scroll, scrollMax, true);
  EXPECT_TRUE(canvas.Calls().empty());
  EXPECT_EQ(scroll, 3);
  EXPECT_EQ(scrollMax, 9);

  DrawTextBlock(canvas, measurer, L"half is $\\frac{1}{2}$", {0, 0, 200, 100}, 15, 0xFF000000, scroll, scrollMax,
                true);
  EXPECT_EQ(canvas.CountOf(DrawCallKind::TextBox), 0u);
  EXPECT_GT(canvas.CountOf(DrawCallKind::Glyphs), 2u);
  bool fractionRule = canvas.CountOf(DrawCallKind::FillRect) + canvas.CountOf(DrawCallKind::Line) > 0;
  EXPECT_TRUE(fractionRule);
  EXPECT_EQ(scrollMax, 0);
  EXPECT_EQ(scroll, 0);
}

TEST(TextBlock, LongPlainTextIsMeasuredOnlyWhereItShowsAndScrollsToItsEnd) {
  std::wstring text;
  for (int i = 0; text.size() < 100000; ++i) text += L"word" + std::to_wstring(i) + (i % 20 == 19 ? L"\n" : L" ");
  text += L"last";
  const RectF rect{10, 20, 320, 77};
  struct Case {
    float scroll;
    bool atEnd;
  };
  for (const Case& c : {Case{0, false}, Case{5000, false}, Case{1e9f, true}}) {
    SCOPED_TRACE(c.scroll);
    RecordingCanvas canvas;
    FixedAdvanceMeasurer measurer;
    float scroll = c.scroll, scrollMax = 0;
    DrawTextBlock(canvas, measurer, text, rect, 19.5f, 0xFF000000, scroll, scrollMax, true);
    if (!c.atEnd) EXPECT_LE(measurer.Calls(), 6);  // at its end the block measures every piece
    EXPECT_GT(scrollMax, 50000);
    EXPECT_EQ(scroll, c.atEnd ? scrollMax : c.scroll);
    const auto boxes = canvas.CallsOf(DrawCallKind::TextBox);
    ASSERT_FALSE(boxes.empty());
    ASSERT_LE(boxes.size(), 3u);
    for (const DrawCall* box : boxes) {
      EXPECT_LE(box->text.size(), kTextPieceLength);
      EXPECT_EQ(box->rect.width, 320 - 7);
      EXPECT_LT(box->rect.y, rect.Bottom());
      EXPECT_GT(box->rect.Bottom(), rect.y);
      EXPECT_EQ(box->depth, 1);  // inside the block's clip
    }
    if (c.scroll == 0) {
      EXPECT_EQ(boxes.front()->rect.y, rect.y);
      EXPECT_TRUE(text.starts_with(boxes.front()->text));
    }
    if (c.atEnd) {
      // The last piece, measured exactly, ends at the block's bottom.
      EXPECT_TRUE(text.ends_with(boxes.back()->text));
      EXPECT_NEAR(boxes.back()->rect.Bottom(), rect.Bottom(), 1e-2);
    }
    EXPECT_EQ(canvas.CountOf(DrawCallKind::FillRoundedRect), 1u);  // the thumb
  }
}

TEST(TextBlock, LongTextScrolledToTheEndOfTheLastRangeEndsAtItsTrueEnd) {
  // The first paint estimates the tail; the wheel then sets the scroll to that estimated end, and
  // the next paint, measuring the tail, must still show the very end.
  std::wstring text;
  // Long lines first, so the estimate of the tail (a line per character) falls far short.
  while (text.size() < 3000) text += L"abcdefgh ";
  while (text.size() < 20000) text += L"a\n";
  const RectF rect{0, 0, 200, 60};
  RecordingCanvas canvas;
  FixedAdvanceMeasurer measurer;
  float scroll = 0, scrollMax = 0;
  DrawTextBlock(canvas, measurer, text, rect, 12, 0xFF000000, scroll, scrollMax, false);
  scroll = scrollMax;
  canvas.Clear();
  DrawTextBlock(canvas, measurer, text, rect, 12, 0xFF000000, scroll, scrollMax, false);
  EXPECT_EQ(scroll, scrollMax);
  const auto boxes = canvas.CallsOf(DrawCallKind::TextBox);
  ASSERT_FALSE(boxes.empty());
  EXPECT_TRUE(text.ends_with(boxes.back()->text));
  EXPECT_NEAR(boxes.back()->rect.Bottom(), rect.Bottom(), 1e-2);
}

TEST(TextBlock, LongTextInPiecesWrapsAsTheWholeTextDoes) {
  // Pieces are cut only at line feeds, so their lines are the whole text's lines: the heights add
  // up to the whole text's, the pieces with the feeds between them give the text back, and the
  // block scrolled to its end has the whole text's exact range.
  auto paragraphs = [](const std::wstring& separator, int words) {
    std::wstring text;
    for (int i = 0; text.size() < 9000; ++i) text += L"word" + std::to_wstring(i) + (i % words == words - 1 ? separator : L" ");
    return text;
  };
  const struct {
    const char* name;
    std::wstring text;
  } cases[] = {
      {"short paragraphs", paragraphs(L"\n", 12)},
      {"carriage returns and blank lines", paragraphs(L"\r\n\r\n", 30)},
      {"runs of line feeds", paragraphs(L"\n\n\n\n", 7)},
      {"paragraphs longer than a piece", paragraphs(L"\n", 200)},
      {"a line as long as a text laid out whole", paragraphs(L"\n", 200) + L"\n" + std::wstring(3990, L'w') + L"\nend"},
      {"a feed at the very start and end", L"\n" + paragraphs(L"\n", 50) + L"\n"},
  };
  const FontSpec font = PanelFont(12, false);
  const float width = 200 - 7;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FixedAdvanceMeasurer measurer;
    const std::vector<std::wstring_view> pieces = LinePieces(c.text);
    float sum = 0;
    std::wstring joined;
    for (std::wstring_view piece : pieces) {
      sum += measurer.MeasureWrapped(piece, font, width).height;
      if (!joined.empty() || piece.data() != c.text.data()) {
        const size_t gap = static_cast<size_t>(piece.data() - c.text.data()) - joined.size();
        joined += c.text.substr(joined.size(), gap);
        EXPECT_EQ(c.text[joined.size() - 1], L'\n');
        EXPECT_LE(gap, 2u);
      }
      joined += piece;
    }
    EXPECT_EQ(joined, c.text);
    const float whole = measurer.MeasureWrapped(c.text, font, width).height;
    EXPECT_FLOAT_EQ(sum, whole);

    RecordingCanvas canvas;
    float scroll = 0, scrollMax = 0;
    const RectF rect{0, 0, 200, 60};
    DrawTextBlock(canvas, measurer, c.text, rect, 12, 0xFF000000, scroll, scrollMax, false);
    scroll = scrollMax;
    DrawTextBlock(canvas, measurer, c.text, rect, 12, 0xFF000000, scroll, scrollMax, false);
    EXPECT_FLOAT_EQ(scrollMax, whole - rect.height);
    EXPECT_EQ(scroll, scrollMax);
  }
}

TEST(TextBlock, OnlyALineTooLongToLayOutWholeIsCutInsideNeverInASurrogatePair) {
  std::wstring text = L"x";
  while (text.size() < 6000) text += L"\xD83D\xDE00";
  const std::vector<std::wstring_view> pieces = LinePieces(text);
  ASSERT_GT(pieces.size(), 1u);
  EXPECT_EQ(pieces[0].size(), kTextPieceLength - 1);
  EXPECT_EQ(pieces[0].back(), L'\xDE00');
  size_t total = 0;
  for (std::wstring_view piece : pieces) total += piece.size();
  EXPECT_EQ(total, text.size());
}

TEST(PanelPaint, HostileAnswersPaintAndScrollToTheirEnd) {
  std::wstring huge;
  for (int i = 0; huge.size() < 100000; ++i) huge += L"word" + std::to_wstring(i) + L" ";
  std::wstring surrogates = L"lone \xD800 high and \xDC00 low \xDBFF\xD800 crossed ";
  for (int i = 0; i < 6; ++i) surrogates += surrogates;
  std::wstring hugeMath = huge.substr(0, 20000) + L" $\\frac{1}{2}$ $$x^2$$ ";
  for (const std::wstring* text : {&huge, &surrogates, &hugeMath}) {
    const TutorReply reply = Reply(TutorReply::Answer, *text, *text, 2);
    PanelView view = AnswerView(reply);
    view.answerScroll = 1e9f;
    view.explanationScroll = 1e9f;
    Painted p(view);
    p.Paint();
    EXPECT_GT(p.view.answerScrollMax, 0);
    EXPECT_EQ(p.view.answerScroll, p.view.answerScrollMax);
    EXPECT_GT(p.view.explanationScrollMax, 0);
    EXPECT_EQ(p.view.explanationScroll, p.view.explanationScrollMax);
    EXPECT_EQ(p.canvas.Depth(), 0);
  }
}

TEST(PanelView, TheReplyOnViewIsPaintedAndItsScrollsComeBackClamped) {
  std::wstring longAnswer = L"first ";
  for (int i = 0; i < 400; ++i) longAnswer += L"word" + std::to_wstring(i) + L" ";
  const TutorReply reply = Reply(TutorReply::Answer, longAnswer, L"because", 1);
  PanelState state;
  UiSettings settings;
  CardScrolls kept;
  kept.answer = 1e9f;  // beyond any end: the paint clamps it
  Painted p(MakePanelView(state, settings, false, {false, QueryKind::Scan, &reply}, kept));
  p.Paint();
  EXPECT_TRUE(p.HasTextStartingWith(L"first"));
  const CardScrolls back = ScrollsOf(p.view);
  EXPECT_GT(back.answerMax, 0);
  EXPECT_EQ(back.answer, back.answerMax);
  EXPECT_EQ(back.explanation, 0);
}

}  // namespace
