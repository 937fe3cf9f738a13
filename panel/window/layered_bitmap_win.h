#pragma once
// A 32-bit top-down DIB section of premultiplied pixels, kept between draws while its size stays,
// and pushed to a layered window with per-pixel alpha.
#include <windows.h>

#include <cstdint>

#include "core/unique_handle_win.h"

class LayeredBitmap {
 public:
  // Makes the bitmap width x height (kept when it already is), every pixel transparent. False when
  // it cannot be made.
  bool Reset(int width, int height);
  // The same without clearing, for a draw that writes every pixel itself (the pixels are left as
  // they were, undefined in a new bitmap).
  bool Ensure(int width, int height);
  // The pixels, 0xAARRGGBB premultiplied, rows top to bottom; null before a successful Reset.
  uint32_t* bits() const { return bits_; }
  int width() const { return width_; }
  int height() const { return height_; }
  // Pushes the whole bitmap to `window`, moved to `position` unless that is null.
  bool Push(HWND window, const POINT* position) const;

 private:
  UniqueBitmap bitmap_;
  uint32_t* bits_ = nullptr;
  int width_ = 0;
  int height_ = 0;
};
