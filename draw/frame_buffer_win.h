#pragma once
// Drawing recorded frames into a 32-bit premultiplied back buffer with GDI+, reusing what the last
// frame drew (FrameReuse): a frame equal to the last one draws nothing, and one that shares its
// start with the last one starts from a snapshot of the buffer taken where that part ended.
#include <windows.h>

#include <cstdint>
#include <vector>

#include "draw/frame_reuse.h"
#include "draw/gdiplus_fonts_win.h"
#include "draw/sprite_painter_win.h"

class FrameBuffer {
 public:
  // Draws `calls` (recorded in units of `scale` pixels) into the top-down premultiplied rows
  // `bits` of a `width` x `height` buffer, only within `update`, each call from its kept sprite
  // where it has one (SpritePainter); `measurer` measures glyphs in the calls' units. The buffer
  // must hold what the last Draw left there; call Reset whenever it does not (a new buffer, or
  // pixels drawn by anyone else).
  void Draw(GdiplusFonts& fonts, GlyphMeasurer& measurer, uint8_t* bits, int width, int height, const RECT& update,
            float scale, std::vector<DrawCall> calls);
  void Reset();

 private:
  FrameReuse reuse_;
  SpritePainter sprites_;
  std::vector<uint8_t> snapshot_;
  int width_ = 0;
  int height_ = 0;
  float scale_ = 0;
};
