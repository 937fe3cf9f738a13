#pragma once
// Draws recorded calls into a 32-bit premultiplied back buffer by blending each call's sprite.
// A call is drawn with GDI+ only the first time it is seen (SpriteKey: the same call, moved by
// whole device pixels at most): onto a transparent scratch buffer, within an area around where
// its ink is guessed to fall, grown and drawn again for as long as ink reaches the area's rim, so
// no guess can cut ink off. Its ink is kept as a sprite and blended whenever the call comes back;
// rectangular clips are applied while blending, as the whole pixels GDI+ keeps under them. Software
// GDI+ pays for every pixel it touches on every call, while blending a kept sprite costs a copy.
// The pixels are those of drawing the call onto the buffer directly, but for the rounding of one
// more blend.
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
  // Enough for the sprites of the panel's pages and a few answers (a page's sprites take a few
  // hundred kilobytes).
  static constexpr size_t kDefaultBudget = 6u << 20;

  explicit SpritePainter(size_t byteBudget = kDefaultBudget);
  ~SpritePainter();
  SpritePainter(const SpritePainter&) = delete;
  SpritePainter& operator=(const SpritePainter&) = delete;

  // Draws `calls` (in units of `scale` pixels) onto the top-down `rows` of a `width` x `height`
  // buffer, only within `update`; `measurer` measures glyphs in those units. False when a call
  // could not be drawn. The scratch buffer's pages go back to the system before it returns.
  bool Draw(std::span<const DrawCall> calls, GdiplusFonts& fonts, GlyphMeasurer& measurer, uint32_t* rows, int width,
            int height, const PixelRect& update, float scale);
  // Forgets every sprite and measured clip.
  void Clear();

  const SpriteCache& cache() const { return cache_; }
  // How many times a sprite was drawn again on a larger area because its ink reached the rim.
  int regrown() const { return regrown_; }

 private:
  class Scratch;
  struct MeasuredClip {
    std::vector<DrawCall> pushes;
    float scale = 0;
    PixelRect pixels;
  };
  Scratch* ScratchOf(int width, int height);
  bool ClipOf(std::span<const DrawCall> pushes, float scale, GdiplusFonts& fonts, int width, int height,
              PixelRect& pixels);
  bool DrawSprite(const DrawCall& call, std::span<const DrawCall> pushes, float scale, const SpritePlace& place,
                  GdiplusFonts& fonts, GlyphMeasurer& measurer, int width, int height, Sprite& sprite);

  SpriteCache cache_;
  std::unique_ptr<Scratch> scratch_;
  std::vector<MeasuredClip> clips_;
  int regrown_ = 0;
};
