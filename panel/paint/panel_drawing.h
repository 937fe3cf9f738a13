#pragma once
// Small drawing steps the panel repeats everywhere: focus rings, hover and press tints, soft
// shadows and accent outlines.
#include "draw/argb.h"
#include "draw/canvas.h"
#include "draw/geometry.h"

// A rectangle grown by `by` on every side.
RectF Inflate(const RectF& rect, float by);

// A 1.5-wide rounded outline just around `rect`.
void DrawFocusRing(Canvas& canvas, const RectF& rect, float radius, Argb colour);

// A blurred-looking shadow under a rounded rectangle: rings of growing size and falling alpha,
// a little lower than the shape. `spread` scales how far it reaches.
void DrawSoftShadow(Canvas& canvas, const RectF& rect, float radius, float spread, Argb colour = 0x30000000);

// A 1-wide outline in (alpha, red, green, blue).
void DrawAccentOutline(Canvas& canvas, const RectF& rect, float radius, uint8_t alpha, uint8_t red,
                       uint8_t green, uint8_t blue);

// Text placed in `box` on one line: aligned as asked, vertically centred, cut with an ellipsis.
TextBoxFormat OneLine(TextAlign horizontal = TextAlign::Near);
