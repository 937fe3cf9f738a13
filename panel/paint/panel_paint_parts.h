#pragma once
// The pieces PaintPanel is made of, sharing one context (internal to the panel's painting).
#include "draw/canvas.h"
#include "draw/glyph_measurer.h"
#include "panel/paint/panel_icons.h"
#include "panel/panel_layout.h"
#include "panel/paint/panel_palette.h"
#include "panel/paint/panel_view.h"

struct PaintContext {
  Canvas& canvas;
  GlyphMeasurer& measurer;
  const PanelPalette& palette;
  float width;
  float height;
  PanelView& view;

  // `text` in `box` at `size` pixels, on one line unless `format` says otherwise.
  void Text(std::wstring_view text, const RectF& box, float size, Argb colour, bool semibold = true,
            const TextBoxFormat& format = {TextAlign::Near, TextAlign::Center, false, true}) const;
  bool Hot(int id) const { return view.controls.hotControl == id; }
  // A hover tint (a press tint while held) over control `id`'s rectangle when it is under the pointer.
  void ControlTint(int id, const RectF& rect, float radius) const;
  // A focus ring around control `id` when it has the focus.
  void FocusRing(int id, const RectF& rect, float radius) const;
  // The fill and outline of a button or card.
  void Card(const RectF& rect, float radius) const;
};

void PaintChrome(const PaintContext& context);
void PaintActionRow(const PaintContext& context);
void PaintQuestionPage(const PaintContext& context);
void PaintAnswerPage(const PaintContext& context);
void PaintFooter(const PaintContext& context);
