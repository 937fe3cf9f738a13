#pragma once
// How wide and how high a string is in a font, for layout code that must not depend on a platform.
#include <string_view>

#include "draw/font.h"
#include "draw/geometry.h"

class GlyphMeasurer {
 public:
  virtual ~GlyphMeasurer() = default;

  // Advance width and line height of `text` on one line (no wrapping), in pixels, as the glyph
  // strings of a Canvas draw it; trailing spaces count. (0, 0) for an empty string.
  virtual SizeF Measure(std::wstring_view text, const FontSpec& font) = 0;

  // The size of `text` wrapped at word boundaries to lines no wider than `maxWidth`, as a wrapping
  // text box of a Canvas draws it. (0, 0) for an empty string or a width that is not positive.
  virtual SizeF MeasureWrapped(std::wstring_view text, const FontSpec& font, float maxWidth) = 0;
};
