#pragma once
// Scrolling of a block of text taller than its rectangle: the scroll range, keeping a scroll
// offset inside it, and the thin rounded thumb drawn at the block's right edge.
#include "draw/argb.h"
#include "draw/canvas.h"
#include "draw/geometry.h"

// Width taken from the right of a block whose text does not fit, as room for the thumb.
inline constexpr float kScrollThumbRoom = 7;
inline constexpr float kScrollThumbWidth = 3;
inline constexpr float kMinScrollThumbHeight = 12;
// Alpha of the thumb, drawn in the text's colour.
inline constexpr uint8_t kScrollThumbAlpha = 0x69;

// The largest scroll offset, max(0, contentHeight − viewHeight); `scroll` is pulled into
// [0, that] (a scroll that is not a number becomes 0).
float ClampScroll(float& scroll, float contentHeight, float viewHeight);

// The thumb of a block at `block` showing `contentHeight` pixels of text from `scroll` on:
// 3 wide at the block's right edge, at least 12 high, moving from the block's top (scroll 0) to
// its bottom (scroll = maxScroll). Empty when maxScroll is not positive.
RectF ScrollThumbRect(const RectF& block, float contentHeight, float scroll, float maxScroll);

// Fills that thumb, a 3-wide rounded bar, in `textColour` at the thumb's alpha; nothing when the
// text fits.
void DrawScrollThumb(Canvas& canvas, const RectF& block, float contentHeight, float scroll, float maxScroll,
                     Argb textColour);
