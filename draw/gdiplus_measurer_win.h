#pragma once
// The GlyphMeasurer on a GDI+ graphics: glyph strings measured with the typographic format plus
// NoWrap and MeasureTrailingSpaces, text boxes with their own wrapping format, fonts in pixels.
#include <windows.h>

#include <gdiplus.h>

#include "draw/gdiplus_fonts_win.h"
#include "draw/glyph_measurer.h"

class GdiplusMeasurer : public GlyphMeasurer {
 public:
  // Measures on `graphics` (set up like the one drawn on, see UseSmoothDrawing); both must outlive it.
  GdiplusMeasurer(Gdiplus::Graphics& graphics, GdiplusFonts& fonts) : graphics_(graphics), fonts_(fonts) {}

  SizeF Measure(std::wstring_view text, const FontSpec& font) override;
  SizeF MeasureWrapped(std::wstring_view text, const FontSpec& font, float maxWidth) override;

  // The status of the last GDI+ call that failed, Ok when none has.
  Gdiplus::Status LastStatus() const { return lastStatus_; }

 private:
  SizeF MeasureIn(std::wstring_view text, const FontSpec& font, const Gdiplus::RectF& layout,
                  const Gdiplus::StringFormat* format);

  Gdiplus::Graphics& graphics_;
  GdiplusFonts& fonts_;
  Gdiplus::Status lastStatus_ = Gdiplus::Ok;
};
