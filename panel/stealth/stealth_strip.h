#pragma once
// The stealth strip's geometry and colours: where the strip sits on the work area, the screen
// sample its marks take their colour from, the working pill, and the answer glow with its fade.
// Portable; panel/strip_controller_win.cpp reads the screen and pushes the pixels.
#include <cstdint>
#include <optional>

#include "core/geometry.h"

// The strip on the work area's left or right edge: round(stripWidth x dpiScale) pixels wide, but 2
// when that is below 3, as tall as the work area. Nothing for a work area without height.
std::optional<PixelRect> PlaceStrip(const PixelRect& workArea, int stripWidth, float dpiScale, bool right);

// The sampled band: `section` 0..3 is a quarter of the strip (A at the top); any other value the
// middle band. The sample reaches max(round(24 x dpiScale), 12) pixels in from the screen edge.
inline constexpr int kMiddleBand = -1;
PixelRect EdgeSampleArea(const PixelRect& strip, bool right, float dpiScale, int section);

// The screen area above is shrunk to 8 x 16 pixels for the colour.
inline constexpr int kEdgeSampleWidth = 8;
inline constexpr int kEdgeSampleHeight = 16;
inline constexpr int kEdgeSamplePixels = kEdgeSampleWidth * kEdgeSampleHeight;
inline constexpr uint32_t kEdgeFallbackColour = 0xDCDCDC;  // light grey, when the screen cannot be read
inline constexpr float kWorkContrast = 26.0f;
inline constexpr float kPulseContrast = 34.0f;

// The colour (0x00BBGGRR) of a mark over `kEdgeSamplePixels` blue-green-red-x pixels: their mean
// colour darkened over a light background or lightened over a dark one, more over a busy one.
uint32_t EdgeColour(const uint8_t* bgrx, float contrast);

// A filled rounded rectangle in strip pixels.
struct StripMark {
  float x = 0, y = 0, width = 0, height = 0, radius = 0;
  uint8_t alpha = 0;
};

// The pill shown while a query runs, hugging the screen edge in the middle of the strip.
StripMark WorkingPill(int width, int height, float dpiScale, bool right);

// How strongly the answer glow shows `elapsedMs` after it started: 0..1, fading in over 180 ms,
// holding, fading out from 5480 ms and gone at 6000 ms.
float GlowIntensity(int64_t elapsedMs);

// The glow over the section of `option` (0..3); nothing for another option or an invisible glow.
std::optional<StripMark> SectionGlow(int option, int width, int height, float dpiScale, int64_t elapsedMs);
