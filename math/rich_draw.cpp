#include "math/rich_draw.h"

#include <algorithm>
#include <cmath>

#include "math/math_draw.h"
#include "math/rich_layout.h"
#include "math/text_scroll.h"

namespace {

void DrawLineTokens(const MathGraphics& graphics, const RichTextLayout& layout, const RichLine& line, float pen,
                    float baseline, Argb colour, bool bold) {
  const FontSpec wordFont = RichWordFont(layout.s, bold);
  for (size_t i = line.first; i < line.end; ++i) {
    const RichToken& token = layout.tokens[i];
    if (token.isMath) {
      DrawMathNode(graphics, token.tree, pen, baseline, RichMathSize(token, layout.s), colour, bold);
    } else {
      DrawGlyphs(graphics.canvas, token.text, wordFont, pen, baseline - layout.defaultAscent, colour);
    }
    pen += token.width;
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
    for (const RichLine& line : layout.lines) {
      if (top > rect.Bottom()) break;  // this line and all after it are below the block
      const float baseline = top + line.ascent;
      if (baseline + line.descent >= rect.y) {
        const float pen = line.centered ? rect.x + std::max(0.0f, (rect.width - line.width) / 2) : rect.x;
        DrawLineTokens(clipped, layout, line, pen, baseline, colour, bold);
      }
      top += line.ascent + line.descent + layout.lineGap;
    }
  }
  DrawScrollThumb(graphics.canvas, rect, layout.height, scroll, maxScroll, colour);
}
