#pragma once
// Draws recorded calls into a 32-bit premultiplied back buffer by blending each call's sprite.
// A call is drawn with GDI+ only the first time it is made at its place: into a sprite of its
// own, under the same clips and scale, which is kept and blended again whenever the same call
// comes back. Software GDI+ pays for every pixel it touches on every call, while blending a kept
// sprite costs a copy. The pixels are those of drawing the call onto the buffer directly, but for
// the rounding of one more blend.
#include <windows.h>

#include <gdiplus.h>

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "core/geometry.h"
#include "draw/gdiplus_fonts_win.h"
#include "draw/glyph_measurer.h"
#include "draw/recording_canvas.h"
#include "draw/sprite_cache.h"

class SpritePainter {
 public:
  // Draws `calls` (in units of `scale` pixels) onto the top-down `rows` of a `width` x `height`
  // buffer, only within `update`; `measurer` measures glyphs in those units. False when a call
  // could not be drawn.
  bool Draw(std::span<const DrawCall> calls, GdiplusFonts& fonts, GlyphMeasurer& measurer, uint32_t* rows, int width,
            int height, const PixelRect& update, float scale);
  // Forgets every sprite: the buffer's size or scale changed.
  void Clear();

  const SpriteCache& cache() const { return cache_; }

 private:
  // A transparent buffer of the back buffer's size that new sprites are drawn on, made once:
  // making a GDI+ bitmap and graphics costs more than drawing most calls.
  struct Scratch {
    Scratch(int width, int height);
    std::vector<uint32_t> pixels;
    Gdiplus::Bitmap bitmap;
    Gdiplus::Graphics graphics;
  };
  Scratch* ScratchOf(int width, int height);
  bool DrawSprite(const DrawCall& call, std::span<const DrawCall> pushes, float scale, GdiplusFonts& fonts,
                  Sprite& sprite, int width, int height);

  SpriteCache cache_{24u << 20};
  std::unique_ptr<Scratch> scratch_;
};
