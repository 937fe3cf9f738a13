#pragma once
// What the snip overlay shows: the desktop dimmed everywhere but in the selection, a dark and a
// light frame on the selection, and its size in a small label above it.
#include <cstdint>
#include <optional>
#include <span>

#include "core/geometry.h"
#include "draw/canvas.h"

// Premultiplied black at alpha 82: the dim layer over the whole desktop.
inline constexpr uint32_t kSnipDimPixel = 0x52000000u;

// Fills a top-down premultiplied ARGB buffer of width x height with the dim layer and clears the
// selection (given in the buffer's coordinates and already within it) so the desktop shows through.
// A buffer smaller than width x height is left as it is.
void FillSnipPixels(std::span<uint32_t> pixels, int width, int height, const std::optional<PixelRect>& selection);

// The two frames on the selection and, when it is big enough, its size label.
void DrawSnipSelection(Canvas& canvas, const PixelRect& selection);
