#pragma once
// Captured screen pixels, and the small grey sample of the primary screen used to notice changes.
#include <array>
#include <cstdint>
#include <vector>

#include "screen/pixel_bytes.h"

// One capture: 4 bytes per pixel in the order blue, green, red, fourth byte; rows top to bottom;
// each row exactly width * 4 bytes. The fourth byte carries no meaning: consumers that need alpha
// set it themselves. A failed capture is 0 x 0 with no pixels.
struct ScreenImage {
  PixelBytes pixels;  // resize() leaves new bytes unwritten: the capture overwrites them all
  int width = 0;
  int height = 0;
};

// The test every consumer makes before using an image.
inline bool IsUsable(const ScreenImage& image) { return image.width != 0 && image.height != 0; }

// True when both sides are positive and the buffer holds exactly width * height pixels, so the
// pixels can be read row by row without running past the end.
bool HasConsistentPixels(const ScreenImage& image);

inline constexpr int kThumbnailWidth = 128;
inline constexpr int kThumbnailHeight = 72;
inline constexpr int kThumbnailBytes = kThumbnailWidth * kThumbnailHeight;  // 9,216

// A 128 x 72 luma sample of the primary screen, one byte per pixel, rows top to bottom.
struct ScreenThumbnail {
  std::array<std::uint8_t, kThumbnailBytes> luma{};
};
