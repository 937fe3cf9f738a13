#pragma once
// A GlyphMeasurer with made-up, exactly predictable metrics for tests: every UTF-16 code unit
// (spaces included, trailing ones too) advances `advance` × the font size, and a line is `lineHeight`
// × the font size high, whatever the family and style.
#include "draw/glyph_measurer.h"

class FixedAdvanceMeasurer : public GlyphMeasurer {
 public:
  explicit FixedAdvanceMeasurer(float advance = 0.5f, float lineHeight = 1.2f)
      : advance_(advance), lineHeight_(lineHeight) {}

  SizeF Measure(std::wstring_view text, const FontSpec& font) override;
  // Greedy wrapping: words (runs between spaces) fill a line while they fit, the spaces between
  // them counting; a word wider than the line stands alone; a line feed ends a line. The width is
  // that of the widest line without its trailing spaces.
  SizeF MeasureWrapped(std::wstring_view text, const FontSpec& font, float maxWidth) override;

  // How many times either measuring call was made.
  int Calls() const { return calls_; }

 private:
  float advance_;
  float lineHeight_;
  int calls_ = 0;
};

// UTF-16 code units of `text` (a character above U+FFFF counts two where wchar_t is wider).
size_t Utf16Length(std::wstring_view text);
