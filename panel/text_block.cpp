#include "panel/text_block.h"

#include "math/rich_draw.h"
#include "math/rich_text.h"
#include "math/text_scroll.h"

FontSpec PanelFont(float pixelSize, bool semibold) {
  return {semibold ? L"Segoe UI Semibold" : L"Segoe UI", pixelSize, kFontRegular};
}

void DrawTextBlock(Canvas& canvas, GlyphMeasurer& measurer, std::wstring_view text, const RectF& rect,
                   float fontSize, Argb colour, float& scroll, float& scrollMax, bool semibold) {
  if (rect.IsEmpty()) return;
  if (ContainsMath(text)) {
    DrawRichText(MathGraphics{canvas, measurer}, text, rect, fontSize, colour, semibold, scroll, scrollMax);
    return;
  }
  const FontSpec font = PanelFont(fontSize, semibold);
  float width = rect.width;
  SizeF size = measurer.MeasureWrapped(text, font, width);
  if (size.height > rect.height && width - kScrollThumbRoom > 0) {
    width -= kScrollThumbRoom;  // room for the thumb
    size = measurer.MeasureWrapped(text, font, width);
  }
  scrollMax = ClampScroll(scroll, size.height, rect.height);
  {
    canvas.PushClip(rect);
    CanvasStateScope clip(canvas);
    if (size.height > 0) {
      canvas.DrawTextBox(text, font, colour, {rect.x, rect.y - scroll, width, size.height},
                         {TextAlign::Near, TextAlign::Near, true, false});
    }
  }
  DrawScrollThumb(canvas, rect, size.height, scroll, scrollMax, colour);
}
