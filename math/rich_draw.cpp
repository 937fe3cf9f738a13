#include "math/rich_draw.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "math/math_draw.h"
#include "math/rich_layout.h"
#include "math/text_scroll.h"

namespace {

// Draws the words and spaces of tokens [first, end) as one string at `pen`; returns the pen after
// them. Their widths are the advances of their glyphs, so the string sets every word where the
// layout put it, at the cost of one text call instead of one per word and space.
float DrawWordStretch(const MathGraphics& graphics, const RichTextLayout& layout, size_t first, size_t end,
                      float pen, float top, const FontSpec& font, Argb colour) {
  std::wstring stretch;
  const float start = pen;
  for (size_t i = first; i < end; ++i) {
    if (layout.tokens[i].isNewline) continue;  // a line feed inside the string would start a new line
    stretch += layout.tokens[i].text;
    pen += layout.tokens[i].width;
  }
  DrawGlyphs(graphics.canvas, stretch, font, start, top, colour);
  return pen;
}

void DrawLineTokens(const MathGraphics& graphics, const RichTextLayout& layout, const RichLine& line, float pen,
                    float baseline, Argb colour, bool bold) {
  const FontSpec wordFont = RichWordFont(layout.s, bold);
  for (size_t i = line.first; i < line.end;) {
    const RichToken& token = layout.tokens[i];
    if (token.isMath) {
      DrawMathNode(graphics, token.tree, pen, baseline, RichMathSize(token, layout.s), colour, bold);
      pen += token.width;
      ++i;
      continue;
    }
    size_t end = i + 1;
    while (end < line.end && !layout.tokens[end].isMath) ++end;
    pen = DrawWordStretch(graphics, layout, i, end, pen, baseline - layout.defaultAscent, wordFont, colour);
    i = end;
  }
}

}  // namespace

void DrawRichText(const MathGraphics& graphics, std::wstring_view text, const RectF& rect, float s, Argb colour,
                  bool bold, float& scroll, float& maxScroll) {
  if (rect.IsEmpty() || !(s > 0) || !std::isfinite(s)) return;
  const RichTextLayout layout = LayOutRichText(graphics.measurer, text, rect.width, rect.height, s, bold);
  maxScroll = ClampScroll(scroll, layout.height, rect.height);

  graphics.canvas.PushClip(rect);
  {
    CanvasStateScope clip(graphics.canvas);
    const MathGraphics clipped{graphics.canvas, graphics.measurer, rect};
    float top = rect.y - scroll;
    for (size_t k = 0; k < layout.lines.size(); ++k) {
      const RichLine& line = layout.lines[k];
      if (top - layout.inkOverhang > rect.Bottom()) break;  // no ink of this line or any after it reaches up
      const float baseline = top + line.ascent;
      const RichLineInk& ink = layout.lineInk[k];
      if (baseline + ink.below > rect.y && baseline - ink.above < rect.Bottom()) {
        const float pen = line.centered ? rect.x + std::max(0.0f, (rect.width - line.width) / 2) : rect.x;
        DrawLineTokens(clipped, layout, line, pen, baseline, colour, bold);
      }
      top += line.ascent + line.descent + layout.lineGap;
    }
  }
  DrawScrollThumb(graphics.canvas, rect, layout.height, scroll, maxScroll, colour);
}
