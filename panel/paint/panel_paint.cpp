#include "panel/paint/panel_paint.h"

#include <algorithm>

#include "draw/fixed_measurer.h"
#include "panel/window/panel_controls.h"
#include "panel/paint/panel_drawing.h"
#include "panel/paint/panel_paint_parts.h"
#include "panel/panel_rules.h"
#include "panel/panel_texts.h"
#include "panel/paint/text_block.h"

namespace cid = control_id;

namespace {
constexpr float kFooterHeight = 45;
constexpr float kDotRadius = 6.3f;
constexpr Argb kDotColours[3] = {panel_colour::CloseDot, panel_colour::HideDot, panel_colour::StealthDot};
constexpr PanelGlyph kDotGlyphs[3] = {PanelGlyph::Close, PanelGlyph::Minus, PanelGlyph::Strip};
}  // namespace

float KeycapWidth(size_t characters) {
  return std::clamp(5.8f * static_cast<float>(characters) + 18, 30.0f, 58.0f);
}

void PaintContext::Text(std::wstring_view text, const RectF& box, float size, Argb colour, bool semibold,
                        const TextBoxFormat& format) const {
  if (text.empty() || box.IsEmpty()) return;
  canvas.DrawTextBox(text, PanelFont(size, semibold), colour, box, format);
}

void PaintContext::ControlTint(int id, const RectF& rect, float radius) const {
  if (!Hot(id)) return;
  bool pressed = view.controls.pressedControl == id;
  canvas.FillRoundedRect(rect, radius, pressed ? palette.pressTint : palette.hoverTint);
}

void PaintContext::FocusRing(int id, const RectF& rect, float radius) const {
  if (view.controls.focusControl == id) DrawFocusRing(canvas, rect, radius, WithAlpha(palette.accent, 0xC0));
}

void PaintContext::Card(const RectF& rect, float radius) const {
  canvas.FillRoundedRect(rect, radius, palette.card);
  canvas.StrokeRoundedRect(rect, radius, {palette.cardOutline, 1});
}

void PaintChrome(const PaintContext& c) {
  Canvas& canvas = c.canvas;
  const PanelPalette& p = c.palette;
  for (int i = 0; i < 3; ++i) {
    const float left = 18.0f * static_cast<float>(i);
    const PointF centre{21 + left, 21};
    canvas.FillCircle(centre, kDotRadius, kDotColours[i]);
    canvas.StrokeEllipse({14.5f + left, 14.5f, 13, 13}, {panel_colour::DotRing, 1});
    if (c.Hot(cid::Close + i)) {
      DrawPanelGlyph(canvas, kDotGlyphs[i], {centre.x - 6, centre.y - 6}, 12, panel_colour::DotGlyph);
    }
    c.FocusRing(cid::Close + i, WindowDotRect(i), 9);
  }
  c.Text(panel_text::Title, {84, 0, c.width - 168, 41}, 12.5f, p.secondary, true, OneLine(TextAlign::Center));

  const bool settingsPage = c.view.page == PanelPage::Settings;
  if (!settingsPage) {
    const RectF snip = SnipButtonRect(c.width);
    Argb colour = p.secondary;
    if (c.view.queryRunning) {
      colour = WithAlpha(p.secondary, 0x78);
    } else {
      c.ControlTint(cid::Snip, snip, 14);
      if (c.Hot(cid::Snip)) colour = p.accent;
    }
    DrawPanelGlyph(canvas, PanelGlyph::Snip, {snip.x + 6, snip.y + 6}, 16, colour);
    c.FocusRing(cid::Snip, snip, 14);
  }
  const RectF settings = SettingsButtonRect(c.width);
  c.ControlTint(cid::Settings, settings, 14);
  DrawPanelGlyph(canvas, settingsPage ? PanelGlyph::Close : PanelGlyph::Gear, {settings.x + 6, settings.y + 6}, 16,
                 settingsPage ? p.accent : p.secondary);
  c.FocusRing(cid::Settings, settings, 14);

  c.Text(settingsPage ? panel_text::SettingsTitle : panel_text::StudyAssistant, {17, 47, c.width - 34, 39}, 27,
         p.primary);
  if (!settingsPage) c.Text(panel_text::Subtitle, {20, 83, c.width - 40, 22}, 13.5f, p.secondary, false);
}

void PaintActionRow(const PaintContext& c) {
  Canvas& canvas = c.canvas;
  const PanelPalette& p = c.palette;
  const bool running = c.view.queryRunning;

  const RectF scan = ScanButtonRect(c.width);
  c.Card(scan, 14);
  if (!running) c.ControlTint(cid::Scan, scan, 14);
  const Argb scanColour = running ? WithAlpha(p.primary, 0x91) : p.primary;
  DrawPanelGlyph(canvas, PanelGlyph::Scan, {scan.x + 12, scan.y + 11}, 18, scanColour);
  const float keycapWidth = KeycapWidth(Utf16Length(c.view.scanHotkey));
  const RectF keycap{scan.Right() - 9 - keycapWidth, scan.y + 9.5f, keycapWidth, 21};
  c.Text(panel_text::ScanScreen, {scan.x + 37, scan.y, keycap.x - scan.x - 41, scan.height}, 13.5f, scanColour);
  canvas.FillRoundedRect(keycap, 10.5f, p.keycap);
  if (p.keycapOutline) canvas.StrokeRoundedRect(keycap, 10.5f, {p.keycapOutline, 0.85f});
  c.Text(c.view.scanHotkey, keycap, 11.5f, p.primary, true, OneLine(TextAlign::Center));
  c.FocusRing(cid::Scan, scan, 14);

  const RectF ask = AskButtonRect(c.width);
  const bool questionOpen = c.view.page == PanelPage::Question;
  c.Card(ask, 14);
  c.ControlTint(cid::Ask, ask, 14);
  DrawPanelGlyph(canvas, questionOpen ? PanelGlyph::Close : PanelGlyph::Question, {ask.x + 12, ask.y + 12}, 16,
                 p.primary);
  c.Text(questionOpen ? panel_text::CloseQuestion : panel_text::AskQuestion,
         {ask.x + 36, ask.y, ask.width - 40, ask.height}, 13.5f, p.primary);
  c.FocusRing(cid::Ask, ask, 14);
}

void PaintFooter(const PaintContext& c) {
  Canvas& canvas = c.canvas;
  const PanelPalette& p = c.palette;
  const PanelView& v = c.view;
  const float footer = c.height - kFooterHeight;

  const bool busyOrReplied = v.queryRunning || v.reply;
  canvas.FillEllipse({19.6f, footer + 18.6f, 6.8f, 6.8f}, busyOrReplied ? p.accent : panel_colour::ReadyDot);
  const TutorReply::Status status = v.reply ? v.reply->status : TutorReply::Answer;
  const std::wstring word =
      v.notice.empty() ? StatusWord(v.queryRunning, v.kind, v.reply != nullptr, status, v.visionOnScan) : v.notice;
  const RectF stealth = FooterStealthRect(c.width, c.height);
  c.Text(word, {31, footer + 7, std::max(40.0f, stealth.x - 31), 29}, 12, p.secondary);

  const bool hot = c.Hot(cid::FooterStealth);
  if (hot) {
    canvas.FillRoundedRect(stealth, 16, p.hoverTint);
    if (p.glass) canvas.StrokeRoundedRect(stealth, 16, {p.badgeOutline, 1});
  }
  DrawPanelGlyph(canvas, PanelGlyph::Strip, {stealth.x + 10, stealth.y + 8.5f}, 15, hot ? p.accent : p.secondary);
  const RectF track{stealth.Right() - 40, stealth.y + 5, 34, 22};
  c.Text(panel_text::Stealth, {stealth.x + 29, stealth.y, track.x - stealth.x - 31, stealth.height}, 12.5f,
         hot ? p.accent : p.primary);
  canvas.FillRoundedRect(track, 11, p.switchTrack);
  const float knob = hot ? 9.5f : 9.2f;
  const PointF centre{track.x + 11, track.y + 11};
  canvas.FillCircle({centre.x, centre.y + 0.9f}, knob + 0.6f, Brush(Argb{0x30000000}));
  canvas.FillCircle(centre, knob, panel_colour::White);
  c.FocusRing(cid::FooterStealth, stealth, 16);
}

void PaintPanel(Canvas& canvas, Canvas& glassCanvas, GlyphMeasurer& measurer, float width, float height,
                PanelView& view, const SettingsPagePainter& settingsPage) {
  if (!(width > 0) || !(height > 0)) return;
  const PanelPalette palette = ChoosePalette(view.glassActive, view.lightTheme);
  FillPanelBackground(glassCanvas, palette, width, height);
  DrawPanelRim(glassCanvas, palette, width, height);

  const PaintContext context{canvas, measurer, palette, width, height, view};
  PaintChrome(context);
  switch (view.page) {
    case PanelPage::Answer:
      PaintActionRow(context);
      PaintAnswerPage(context);
      break;
    case PanelPage::Question:
      PaintActionRow(context);
      PaintQuestionPage(context);
      break;
    case PanelPage::Settings:
      if (settingsPage) settingsPage(canvas, measurer, view, width, height);
      break;
  }
  PaintFooter(context);
}
