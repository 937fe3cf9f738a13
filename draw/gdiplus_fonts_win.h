#pragma once
// The GDI+ objects that the canvas and the measurer share: fonts made once per family, size and
// style (a family that is not installed falls back to the generic sans-serif family, or where the
// system has none, to a common sans-serif family), and the
// string formats of glyph strings and text boxes. Make it after GdiplusStartup and destroy it before
// GdiplusShutdown.
#include <windows.h>

#include <gdiplus.h>

#include <map>
#include <memory>
#include <string>
#include <tuple>

#include "draw/canvas.h"
#include "draw/font.h"

class GdiplusFonts {
 public:
  GdiplusFonts();
  ~GdiplusFonts();
  GdiplusFonts(const GdiplusFonts&) = delete;
  GdiplusFonts& operator=(const GdiplusFonts&) = delete;

  // The font in pixel units, or null when none can be made (a size that is not positive).
  const Gdiplus::Font* Get(const FontSpec& wanted);
  // Whether `family` is installed (otherwise its fonts are of the generic sans-serif family).
  bool HasFamily(const std::wstring& family);

  // A clone of the generic typographic format with NoWrap: one line laid out from its origin.
  const Gdiplus::StringFormat* GlyphFormat() const { return glyphFormat_.get(); }
  // The same with MeasureTrailingSpaces, so trailing spaces count in measured widths.
  const Gdiplus::StringFormat* MeasureFormat() const { return measureFormat_.get(); }

 private:
  const Gdiplus::FontFamily* Family(const std::wstring& name);

  std::unique_ptr<Gdiplus::StringFormat> glyphFormat_;
  std::unique_ptr<Gdiplus::StringFormat> measureFormat_;
  std::map<std::wstring, std::unique_ptr<Gdiplus::FontFamily>> families_;  // null: not installed
  std::unique_ptr<Gdiplus::FontFamily> fallback_;
  std::map<std::tuple<std::wstring, float, unsigned>, std::unique_ptr<Gdiplus::Font>> fonts_;
};

// The string format of a text box: alignment, wrapping (with whole lines only) or one line, and
// ellipsis trimming.
std::unique_ptr<Gdiplus::StringFormat> MakeTextBoxFormat(const TextBoxFormat& format);

// The drawing quality every canvas uses: anti-aliased shapes, half-pixel offsets, anti-aliased
// grid-fitted text. Measure on a graphics set up the same way as the one drawn on.
void UseSmoothDrawing(Gdiplus::Graphics& graphics);

// At most INT_MAX code units, the length GDI+ takes.
INT GdiplusLength(std::wstring_view text);
