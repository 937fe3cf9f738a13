#include "panel/settings_page/settings_paint.h"

#include <algorithm>

#include "panel/window/panel_controls.h"
#include "panel/paint/panel_drawing.h"
#include "panel/paint/panel_icons.h"
#include "panel/settings_page/settings_paint_parts.h"
#include "panel/paint/text_block.h"

namespace cid = control_id;

namespace {
constexpr float kCardRadius = 14;
constexpr float kHeaderHeight = kSectionHeaderHeight;

// The four looks' colours for one element, in the order plain light, plain dark, glass light, glass dark.
struct LookColours {
  Argb plainLight, plainDark, glassLight, glassDark;
  Argb For(const PanelPalette& p) const {
    if (!p.glass) return p.light ? plainLight : plainDark;
    return p.light ? glassLight : glassDark;
  }
};

constexpr LookColours kHeaderTint{0x0C000000, 0x12FFFFFF, 0x10000000, 0x1AFFFFFF};
constexpr LookColours kSegmentTint{0x0C000000, 0x10FFFFFF, 0x0E000000, 0x16FFFFFF};
constexpr LookColours kContainerFill{0xFFEAEAEE, 0xFF16161A, 0x1600000C, 0x2A0A0C10};

// The pink accent of the glass looks, as an outline of `alpha`.
Argb GlassAccent(const PanelPalette& p, uint8_t alpha) {
  return p.light ? MakeArgb(alpha, 255, 78, 174) : MakeArgb(alpha, 242, 54, 142);
}

RectF Shrink(const RectF& r, float by) { return Inflate(r, -by); }

void DrawCard(const SettingsPaintContext& c, const RectF& card) {
  const PanelPalette& p = c.palette;
  Canvas& canvas = c.canvas;
  if (!p.glass) {
    canvas.FillRoundedRect(card, kCardRadius, p.light ? 0xFFFFFFFFu : 0xFF28282Eu);
    canvas.StrokeRoundedRect(card, kCardRadius, {p.light ? 0x1A000000u : 0x1CF0E6F4u, p.light ? 0.9f : 1.0f});
    return;
  }
  if (p.light) DrawSoftShadow(canvas, card, kCardRadius, 1.5f, 0x18000000);
  canvas.FillRoundedRect(card, kCardRadius, p.light ? 0x48FFFFFFu : 0x24FFFFFFu);
  canvas.StrokeRoundedRect(card, kCardRadius, {GlassAccent(p, p.light ? 30 : 24), 1});
}

void DrawSectionHeader(const SettingsPaintContext& c, const SettingsPaintView& page, int index, const RectF& card) {
  const PanelPalette& p = c.palette;
  Canvas& canvas = c.canvas;
  const int id = cid::FirstSection + index;
  const bool open = page.openSection == index;
  const bool hot = c.Hot(id);
  const RectF header{card.x, card.y, card.width, kHeaderHeight};
  if (hot) {
    canvas.PushRoundedClip(card, 13);
    CanvasStateScope clip(canvas);
    canvas.FillRect(header, kHeaderTint.For(p));
  }
  c.Text(SectionTitle(index), {card.x + 12, card.y, 130, kHeaderHeight}, 13, p.primary);
  if (!open) {
    const std::wstring summary = SectionSummary(index, page.settings, page.account.area == AccountArea::LocalKey);
    c.Text(summary, {card.x + 132, card.y, card.width - 164, kHeaderHeight}, 11.5f, hot ? p.accent : p.secondary);
  }
  DrawPanelGlyph(canvas, PanelGlyph::Chevron, {card.Right() - 18 - 5.5f, card.y + 14 - 5.5f}, 11,
                 hot ? p.accent : p.secondary, open);
  if (c.Focused(id)) {
    canvas.StrokeRoundedRect({card.x - 2, card.y - 2, card.width + 4, 32}, 15, {WithAlpha(p.accent, 0xC0), 1.5f});
  }
  if (open) canvas.DrawLine({card.x + 10, card.y + kHeaderHeight}, {card.Right() - 10, card.y + kHeaderHeight},
                            {p.divider, 1});
}

void DrawPill(const SettingsPaintContext& c, const RectF& container, const RectF& pill, bool moving) {
  const PanelPalette& p = c.palette;
  Canvas& canvas = c.canvas;
  const float radius = pill.height / 2;
  if (!p.glass && p.light) {
    canvas.FillRoundedRect(pill, radius, 0xFFFFFFFFu);
    canvas.StrokeRoundedRect(Shrink(pill, 0.425f), radius - 0.425f, {0x1A000000, 0.85f});
  } else if (!p.glass) {
    canvas.FillRoundedRect(pill, radius, 0xFF44444Cu);
    canvas.StrokeRoundedRect(pill, radius, {0x22F0E6F4, 0.85f});
  } else {
    {
      canvas.PushRoundedClip(container, container.height / 2);
      CanvasStateScope clip(canvas);
      DrawSoftShadow(canvas, pill, radius, 0.8f, 0x28000000);
    }
    const uint8_t alpha = p.light ? (moving ? 0xEC : 0xD8) : (moving ? 0x9E : 0x82);
    canvas.FillRoundedRect(pill, radius, WithAlpha(0xFFFFFFFFu, alpha));
    canvas.StrokeRoundedRect(pill, radius, {GlassAccent(p, p.light ? 40 : 32), 1});
  }
}

// One segmented control: container, hot tint, pill (sliding while its slot runs), labels, focus ring.
// A locked row's labels are faded (its segments are disabled).
void DrawSegmented(const SettingsPaintContext& c, const SettingsPaintView& page, int slot, bool locked) {
  const PanelPalette& p = c.palette;
  Canvas& canvas = c.canvas;
  const SegmentedRow& row = SegmentedRowTable()[static_cast<size_t>(slot)];
  const RectF control = SegmentedControlRect(c.width, slot, page.openSection);
  const int selected = SelectedSegment(slot, page.settings);

  canvas.FillRoundedRect(control, control.height / 2, kContainerFill.For(p));
  if (!p.glass) {
    canvas.StrokeRoundedRect(control, control.height / 2,
                             {p.light ? 0x16000000u : 0x18FFFFFFu, p.light ? 0.9f : 0.85f});
  } else {
    canvas.StrokeRoundedRect(control, control.height / 2, {GlassAccent(p, p.light ? 24 : 18), 1});
  }

  const RectF inner = Shrink(control, 2.5f);
  for (int i = 0; i < row.count; ++i) {
    if (i == selected || !c.Hot(row.firstId + i)) continue;
    canvas.PushRoundedClip(inner, inner.height / 2);
    CanvasStateScope clip(canvas);
    const RectF segment = SegmentRect(c.width, slot, page.openSection, i);
    canvas.FillRoundedRect(segment, segment.height / 2, kSegmentTint.For(p));
  }

  RectF pill = SegmentRect(c.width, slot, page.openSection, selected);
  const AnimationSlot& animation = page.animations[static_cast<size_t>(slot)];
  const bool moving = animation.active && page.now - animation.startTime < kAnimationMs;
  if (moving) CurrentPill(animation, page.now, pill.x, pill.width);
  DrawPill(c, control, pill, moving);

  for (int i = 0; i < row.count; ++i) {
    const int id = row.firstId + i;
    const RectF segment = SegmentRect(c.width, slot, page.openSection, i);
    const bool strong = i == selected || c.Hot(id);
    const FontSpec font = i == selected ? FontSpec{L"Segoe UI", 12, kFontBold} : FontSpec{L"Segoe UI Semibold", 12, kFontRegular};
    Argb ink = strong ? p.primary : WithAlpha(p.secondary, 0xB8);
    if (locked) ink = WithAlpha(p.secondary, 0x70);
    canvas.DrawTextBox(row.segments[static_cast<size_t>(i)], font, ink, segment, OneLine(TextAlign::Center));
    if (c.Focused(id)) {
      canvas.StrokeRoundedRect(Inflate(segment, 2), segment.height / 2 + 2, {WithAlpha(p.accent, 0xC0), 1.5f});
    }
  }
}

void DrawRows(const SettingsPaintContext& c, const SettingsPaintView& page) {
  for (int slot = 0; slot < kSegmentedRows; ++slot) {
    if (SegmentedRowTable()[static_cast<size_t>(slot)].section != page.openSection) continue;
    const RectF row = RowRect(c.width, slot, page.openSection);
    const bool locked = RowLocked(slot, page.account.area == AccountArea::LocalKey);
    c.Text(SegmentedRowTable()[static_cast<size_t>(slot)].label, {row.x, row.y, 150, row.height}, 13,
           locked ? WithAlpha(c.palette.primary, 0x70) : c.palette.primary);
    DrawSegmented(c, page, slot, locked);
  }
}

void DrawHotkeysSection(const SettingsPaintContext& c, const SettingsPaintView& page, const RectF& card) {
  const PanelPalette& p = c.palette;
  const HotkeysHint hint = HotkeysHintLine(page.captureSlot, page.hotkeyStatus, page.hotkeyStatusError);
  const RectF reset = ResetHotkeysRect(c.width, card.y);
  c.Text(hint.text, {card.x + 12, reset.y, reset.x - card.x - 18, reset.height}, 11.5f,
         hint.error ? c.ErrorColour() : p.secondary);
  c.PillButton(cid::ResetHotkeys, reset, L"Reset", 11);
  for (int action = 0; action < kHotkeyActionCount; ++action) {
    const RectF line = HotkeyRowRect(c.width, card.y, action);
    const float labelWidth = KeycapRect(c.width, card.y, action).x - line.x - 6;
    c.Text(HotkeyRowLabel(action), {line.x, line.y, labelWidth, line.height}, 12.5f, p.primary);
    for (int slot : {action, action + kHotkeyActionCount}) {
      c.PillButton(cid::FirstHotkey + slot, KeycapRect(c.width, card.y, slot),
                   KeycapText(page.settings.hotkeys, slot, page.captureSlot), 11.5f, slot == page.captureSlot);
    }
  }
}
}  // namespace

void SettingsPaintContext::Text(std::wstring_view text, const RectF& box, float size, Argb colour, bool semibold,
                                TextAlign align) const {
  if (text.empty() || box.IsEmpty()) return;
  canvas.DrawTextBox(text, PanelFont(size, semibold), colour, box, OneLine(align));
}

void SettingsPaintContext::FocusRing(int id, const RectF& rect, float radius) const {
  if (Focused(id)) canvas.StrokeRoundedRect(Inflate(rect, 2), radius + 2, {WithAlpha(palette.accent, 0xC0), 1.5f});
}

void SettingsPaintContext::PillButton(int id, const RectF& rect, std::wstring_view label, float textSize,
                                      bool marked) const {
  const float radius = std::min(rect.height / 2, 14.0f);
  canvas.FillRoundedRect(rect, radius, palette.keycap);
  if (palette.keycapOutline) canvas.StrokeRoundedRect(rect, radius, {palette.keycapOutline, 0.85f});
  if (Hot(id)) canvas.FillRoundedRect(rect, radius, view.controls.pressedControl == id ? palette.pressTint : palette.hoverTint);
  if (marked) canvas.StrokeRoundedRect(rect, radius, {WithAlpha(palette.accent, 0xA0), 1.2f});
  Text(label, rect, textSize, palette.primary, true, TextAlign::Center);
  FocusRing(id, rect, radius);
}

void SettingsPaintContext::PrimaryButton(int id, const RectF& rect, std::wstring_view label) const {
  const bool hot = Hot(id);
  const Argb fill = palette.light ? (hot ? 0xFF303034u : 0xFF202024u) : (hot ? 0xFFF8F8F8u : 0xFFEBEBEBu);
  const Argb ink = palette.light ? 0xFFFFFFFFu : 0xFF121216u;
  canvas.FillRoundedRect(rect, 14, fill);
  Text(label, rect, 12, ink, true, TextAlign::Center);
  FocusRing(id, rect, 14);
}

void PaintSettingsPage(Canvas& canvas, GlyphMeasurer& measurer, const PanelView& view, float width, float,
                       const SettingsPaintView& page) {
  const PanelPalette palette = ChoosePalette(view.glassActive, view.lightTheme);
  const SettingsPaintContext c{canvas, measurer, palette, view, width};
  c.Text(HintLine(page.openSection, page.hover, view.controls.hotControl, page.styleStatus,
                  page.account.area == AccountArea::LocalKey),
         {20, 83, width - 40, 22}, 13.5f, palette.secondary);
  for (int index = 0; index < kSettingsSections; ++index) {
    const RectF card = SectionRect(width, index, page.openSection);
    DrawCard(c, card);
    DrawSectionHeader(c, page, index, card);
    if (page.openSection != index) continue;
    if (index == kAccountSection) {
      PaintAccountSection(c, page.account);
    } else if (index == kHotkeysSection) {
      DrawHotkeysSection(c, page, card);
    } else {
      DrawRows(c, page);
    }
  }
}
