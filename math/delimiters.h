#pragma once
// Stretchy delimiters of math: parentheses, brackets, braces and bars drawn as strokes that fill a
// box of any height; any other delimiter (angle brackets, floor and ceiling signs, a slash) is set
// as a glyph string sized by the box.
#include <string_view>

#include "draw/argb.h"
#include "draw/canvas.h"

// Draws `delimiter` in the box from (x, top), `width` wide and `height` high; nothing when empty.
void DrawDelimiter(Canvas& canvas, std::wstring_view delimiter, float x, float top, float height, float width,
                   Argb colour);
