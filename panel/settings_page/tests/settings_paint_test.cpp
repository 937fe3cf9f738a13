// The settings page painted on a recording canvas: which texts each open section shows in every
// look, where the pill is while it slides, and the account area's stages and error colour.
#include "panel/settings_page/settings_paint.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "draw/fixed_measurer.h"
#include "draw/recording_canvas.h"
#include "panel/panel_texts.h"

namespace {

constexpr float kW = 388, kH = 486;

struct Painted {
  RecordingCanvas canvas;
  FixedAdvanceMeasurer measurer;
  PanelView view;
  SettingsPaintView page;

  Painted() { view.page = PanelPage::Settings; }
  Painted& Paint() {
    canvas.Clear();
    PaintSettingsPage(canvas, measurer, view, kW, kH, page);
    return *this;
  }
  bool Shows(std::wstring_view text) const {
    auto texts = canvas.Texts();
    return std::find(texts.begin(), texts.end(), text) != texts.end();
  }
  const DrawCall* TextCall(std::wstring_view text) const {
    for (const DrawCall* call : canvas.CallsOf(DrawCallKind::TextBox)) {
      if (call->text == text) return call;
    }
    return nullptr;
  }
};

TEST(SettingsPaint, EachOpenSectionInEveryLook) {
  struct Case {
    int open;
    std::vector<std::wstring> shown;
    std::vector<std::wstring> hidden;
  };
  const std::vector<Case> cases = {
      {1, {L"Quality", L"Fast", L"Deep", L"Vision", L"On", L"Style", L"Dark \u00B7 Glass"}, {L"Fast \u00B7 Vision", L"Theme"}},
      {2, {L"Theme", L"Light", L"Liquid glass", L"Fast"}, {L"Hands-free"}},
      {3, {L"Hands-free", L"10s", L"Strip width", L"6px", L"Screen side", L"Right"}, {L"Left \u00B7 6px \u00B7 Manual"}},
      {4, {L"Reset", L"Scan screen", L"Quit app", L"F9", L"None", L"Primary & secondary shortcuts"},
       {L"F9 \u00B7 F10 \u00B7 Right Alt"}},
      {0, {L"Using local API key (vyk.cfg)", L"Set backend_url in vyk.cfg or remove api_key"}, {L"Local key"}},
      {-1, {L"Account", L"Hotkeys", L"Local key", L"F9 \u00B7 F10 \u00B7 Right Alt", L"Dark mode"}, {L"Quality"}},
  };
  for (bool glass : {false, true}) {
    for (bool light : {false, true}) {
      for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "glass " << glass << " light " << light << " open " << c.open);
        Painted p;
        p.view.glassActive = glass;
        p.view.lightTheme = light;
        p.page.openSection = c.open;
        p.page.styleStatus = L"Dark mode";
        p.Paint();
        for (const std::wstring& text : c.shown) EXPECT_TRUE(p.Shows(text)) << std::string(text.begin(), text.end());
        for (const std::wstring& text : c.hidden) EXPECT_FALSE(p.Shows(text)) << std::string(text.begin(), text.end());
        EXPECT_EQ(p.canvas.Depth(), 0);
        EXPECT_EQ(p.canvas.UnmatchedPops(), 0);
      }
    }
  }
}

TEST(SettingsPaint, ThePillSlidesAndTheHintFollowsTheHotSegment) {
  Painted p;
  p.page.openSection = 3;
  p.page.settings.handsFreeSeconds = 10;
  const RectF off = SegmentRect(kW, 4, 3, 0), ten = SegmentRect(kW, 4, 3, 2);
  StartSlot(p.page.animations[4], off.x, off.width, ten.x, ten.width, 1000);
  auto pillAt = [&](uint64_t now) {
    p.page.now = now;
    p.Paint();
    // The pill is the white or grey rounded rectangle with the segments' height.
    for (const DrawCall* call : p.canvas.CallsOf(DrawCallKind::FillRoundedRect)) {
      if (call->rect.height == 21 && call->brush.colour == 0xFF44444Cu) return call->rect.x;
    }
    return -1.0f;
  };
  EXPECT_FLOAT_EQ(pillAt(1000), off.x);
  EXPECT_NEAR(pillAt(1105), off.x + (ten.x - off.x) * (1 - 1.0f / 16), 1e-3);
  EXPECT_FLOAT_EQ(pillAt(1210), ten.x);
  EXPECT_FLOAT_EQ(pillAt(5000), ten.x);

  p.view.controls.hotControl = 136;
  p.Paint();
  EXPECT_TRUE(p.Shows(L"Edge A\u2013D strip \u00B7 blends with background"));
}

TEST(SettingsPaint, AccountArea) {
  struct Case {
    AccountArea area;
    bool jobRunning;
    bool error;
    std::vector<std::wstring> shown;
    std::vector<std::wstring> hidden;
  };
  for (const Case& c : std::vector<Case>{
           {AccountArea::SignInEmail, false, true, {L"Send code", L"status"}, {L"Back", L"Sign out"}},
           {AccountArea::SignInEmail, true, false, {L"Working\u2026"}, {L"Send code"}},
           {AccountArea::SignInCode, false, false, {L"Verify code", L"Back", L"status"}, {L"Send code"}},
           {AccountArea::SignedIn, false, false, {L"me@example.com", L"Refresh", L"Sign out", L"status"}, {L"Send code"}},
           {AccountArea::SignedIn, true, false, {L"Syncing\u2026"}, {L"Refresh"}},
       }) {
    for (bool light : {false, true}) {
      SCOPED_TRACE(testing::Message() << static_cast<int>(c.area) << " light " << light);
      Painted p;
      p.view.lightTheme = light;
      p.page.openSection = 0;
      AccountPaintView& account = p.page.account;
      account.area = c.area;
      account.email = L"me@example.com";
      account.statusLine = L"status";
      account.statusIsError = c.error;
      account.jobRunning = c.jobRunning;
      account.codeStage = c.area == AccountArea::SignInCode;
      p.Paint();
      for (const std::wstring& text : c.shown) EXPECT_TRUE(p.Shows(text)) << std::string(text.begin(), text.end());
      for (const std::wstring& text : c.hidden) EXPECT_FALSE(p.Shows(text)) << std::string(text.begin(), text.end());
      if (const DrawCall* status = p.TextCall(L"status"); status && c.error) {
        EXPECT_EQ(status->brush.colour, light ? 0xFFBC2E2Cu : 0xFFFFA29Cu);
      }
    }
  }
}

TEST(SettingsPaint, UnderGlassTheSignInFieldIsDrawnLikeTheQuestionBox) {
  // A long address scrolled sideways: the whole text from left of the field, clipped to the field,
  // with the caret where the field has it; empty, the stage's prompt.
  Painted p;
  p.view.glassActive = true;
  p.page.openSection = 0;
  AccountPaintView& account = p.page.account;
  account.area = AccountArea::SignInEmail;
  account.fieldFocused = true;
  const std::wstring address = L"ada.lovelace@example.org";
  QuestionBoxView& field = account.field;
  field.text = address;
  field.lines = {{0, address.size(), 181}};
  field.left = 4;
  field.lineHeight = 18;
  field.focused = true;
  field.caretVisible = true;
  field.selectionStart = field.selectionEnd = 20;
  p.Paint();
  EXPECT_EQ(p.TextCall(address), nullptr);  // never cut off with an ellipsis
  const auto glyphs = p.canvas.CallsOf(DrawCallKind::Glyphs);
  const auto drawn = std::find_if(glyphs.begin(), glyphs.end(), [&](const DrawCall* call) { return call->text == address; });
  ASSERT_NE(drawn, glyphs.end()) << p.canvas.Describe();
  EXPECT_EQ((*drawn)->points[0], (PointF{4, 181}));
  const auto clips = p.canvas.CallsOf(DrawCallKind::PushClip);
  EXPECT_NE(std::find_if(clips.begin(), clips.end(), [](const DrawCall* call) { return call->rect == SignInFieldRect(kW); }),
            clips.end());
  const float advance = (*drawn)->font.pixelSize / 2;  // the fixed measurer's advance
  const auto lines = p.canvas.CallsOf(DrawCallKind::Line);
  EXPECT_NE(std::find_if(lines.begin(), lines.end(),
                         [&](const DrawCall* call) { return call->points[0].x == 4 + 20 * advance; }),
            lines.end())
      << p.canvas.Describe();

  account.area = AccountArea::SignInCode;
  account.codeStage = true;
  field.text.clear();
  field.lines = {{0, 0, 181}};
  field.left = 47;
  field.selectionStart = field.selectionEnd = 0;
  p.Paint();
  const auto cue = p.canvas.CallsOf(DrawCallKind::Glyphs);
  EXPECT_NE(std::find_if(cue.begin(), cue.end(),
                         [](const DrawCall* call) {
                           return call->text == panel_text::CodePrompt && call->points[0] == PointF{47, 181};
                         }),
            cue.end())
      << p.canvas.Describe();
}

}  // namespace
