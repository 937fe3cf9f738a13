#pragma once
// Laying out text that mixes words and math: measuring its tokens, wrapping them into lines no
// wider than a block, and putting display math on centred lines of its own.
#include <span>
#include <string_view>
#include <vector>

#include "draw/font.h"
#include "draw/glyph_measurer.h"
#include "math/math_node.h"

// One laid-out line: tokens [first, end), its width, and its ascent and descent about the baseline.
struct RichLine {
  size_t first = 0;
  size_t end = 0;
  float width = 0;
  float ascent = 0;
  float descent = 0;
  bool centered = false;  // a display math line
  bool operator==(const RichLine&) const = default;
};

// Math is set a little larger than the words around it; display math larger still.
inline constexpr float kInlineMathScale = 1.04f;
inline constexpr float kDisplayMathScale = 1.12f;
// Words of a block at size s stand 0.8·s above and 0.28·s below their baseline; lines are 0.24·s apart.
inline constexpr float kRichWordAscent = 0.8f;
inline constexpr float kRichWordDescent = 0.28f;
inline constexpr float kRichLineGap = 0.24f;

// The font of the words of a block at size `s`: "Segoe UI", or "Segoe UI Semibold" when bold.
FontSpec RichWordFont(float s, bool bold);
// The size a math run of a block at size `s` is set at.
float RichMathSize(const RichToken& token, float s);
// A token that is a single blank between words.
bool IsRichSpace(const RichToken& token);

// Gives every token but line breaks its width, ascent, descent and ink: math runs from their
// measured tree, words and spaces from the word font with the block's default ascent and descent.
void MeasureRichTokens(GlyphMeasurer& measurer, std::span<RichToken> tokens, float s, bool bold);

// Wraps measured tokens into lines no wider than `maxWidth` where that can be done between
// tokens: a token wider than the line stands alone. Lines never start or end with a space; a
// line break ends the line (two in a row leave a blank line); display math takes a centred line
// with 0.25·s more above and below.
std::vector<RichLine> LayoutRichLines(std::span<const RichToken> tokens, float maxWidth, float s,
                                      float defaultAscent, float defaultDescent);

// How far the ink of a laid-out line's tokens reaches above and below its baseline: a math run's
// can reach well beyond the line's box (a radical's index, a tall script).
struct RichLineInk {
  float above = 0;
  float below = 0;
};
std::vector<RichLineInk> RichLinesInk(std::span<const RichToken> tokens, std::span<const RichLine> lines);

// A whole block laid out for a rectangle of `width` × `height`: when its text is taller than
// the rectangle (and the rectangle is wider than 20), it is laid out again narrower by the room
// of the scroll thumb.
struct RichTextLayout {
  std::vector<RichToken> tokens;
  std::vector<RichLine> lines;
  float s = 0;
  float defaultAscent = 0;
  float defaultDescent = 0;
  float lineGap = 0;
  float height = 0;  // of all lines with the gaps between them
  std::vector<RichLineInk> lineInk;  // one for each line
  float inkOverhang = 0;             // how far any line's ink reaches above its top
};
RichTextLayout LayOutRichText(GlyphMeasurer& measurer, std::wstring_view text, float width, float height, float s,
                              bool bold);
