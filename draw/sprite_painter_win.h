#pragma once
// Draws recorded calls into a 32-bit premultiplied back buffer by blending each call's sprite.
// A call is drawn with GDI+ only the first time it is made at its place: into a sprite of its
// own, under the same clips and scale, which is kept and blended again whenever the same call
// comes back. Software GDI+ pays for every pixel it touches on every call, while blending a kept
// sprite costs a copy; and the pixels are those of drawing the call onto the buffer directly.
#include <cstdint>
#include <span>

#include "app/core/geometry.h"
#include "draw/gdiplus_fonts_win.h"
#include "draw/recording_canvas.h"
#include "draw/sprite_cache.h"

class SpritePainter {
 public:
  // Draws `calls` (in units of `scale` pixels) onto the top-down `rows` of a `width` x `height`
  // buffer, only within `update`. False when a call could not be drawn.
  bool Draw(std::span<const DrawCall> calls, GdiplusFonts& fonts, uint32_t* rows, int width, int height,
            const PixelRect& update, float scale);
  // Forgets every sprite: the buffer's size or scale changed.
  void Clear() { cache_.Clear(); }

  const SpriteCache& cache() const { return cache_; }

 private:
  SpriteCache cache_{24u << 20};
};
