#pragma once
// Colours are 32-bit ARGB values: alpha in the top byte, then red, green, blue.
#include <cstdint>

using Argb = uint32_t;

constexpr Argb MakeArgb(uint8_t alpha, uint8_t red, uint8_t green, uint8_t blue) {
  return (Argb(alpha) << 24) | (Argb(red) << 16) | (Argb(green) << 8) | Argb(blue);
}
constexpr uint8_t AlphaOf(Argb colour) { return uint8_t(colour >> 24); }
// The colour with its top byte replaced.
constexpr Argb WithAlpha(Argb colour, uint8_t alpha) { return (colour & 0x00FFFFFFu) | (Argb(alpha) << 24); }
