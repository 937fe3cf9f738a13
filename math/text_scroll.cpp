#include "math/text_scroll.h"

#include <algorithm>

float ClampScroll(float& scroll, float contentHeight, float viewHeight) {
  const float maxScroll = std::max(0.0f, contentHeight - viewHeight);
  if (scroll > maxScroll) scroll = maxScroll;
  if (!(scroll >= 0)) scroll = 0;
  return maxScroll;
}

RectF ScrollThumbRect(const RectF& block, float contentHeight, float scroll, float maxScroll) {
  if (!(maxScroll > 0) || !(contentHeight > 0)) return {};
  const float h = block.height;
  const float height = std::max(kMinScrollThumbHeight, h * h / contentHeight);
  const float top = block.y + (h - height) * scroll / maxScroll;
  return {block.Right() - kScrollThumbWidth, top, kScrollThumbWidth, height};
}

void DrawScrollThumb(Canvas& canvas, const RectF& block, float contentHeight, float scroll, float maxScroll,
                     Argb textColour) {
  const RectF thumb = ScrollThumbRect(block, contentHeight, scroll, maxScroll);
  if (thumb.IsEmpty()) return;
  // A radius of half the width: the four corner arcs are 3 × 3 and meet across the width.
  canvas.FillRoundedRect(thumb, kScrollThumbWidth / 2, Brush(WithAlpha(textColour, kScrollThumbAlpha)));
}
