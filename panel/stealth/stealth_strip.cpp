#include "panel/stealth/stealth_strip.h"

#include <algorithm>
#include <cmath>

namespace {
int RoundToInt(float value) { return static_cast<int>(std::lround(value)); }
}  // namespace

std::optional<PixelRect> PlaceStrip(const PixelRect& workArea, int stripWidth, float dpiScale, bool right) {
  const int height = workArea.Height();
  if (height < 1) return std::nullopt;
  int width = RoundToInt(static_cast<float>(stripWidth) * dpiScale);
  if (width < 3) width = 2;
  const int left = right ? workArea.right - width : workArea.left;
  return PixelRectAt(left, workArea.top, width, height);
}

PixelRect EdgeSampleArea(const PixelRect& strip, bool right, float dpiScale, int section) {
  const int reach = std::max(RoundToInt(24.0f * dpiScale), 12);
  const int left = right ? strip.right - reach : strip.left;
  const int height = strip.Height();
  if (section >= 0 && section <= 3) {
    const int quarter = height / 4;
    return PixelRectAt(left, strip.top + section * quarter, reach, std::max(quarter, 1));
  }
  const int band = std::min(std::max(RoundToInt(48.0f * dpiScale), 24), height);
  return PixelRectAt(left, strip.top + (height - band) / 2, reach, band);
}

uint32_t EdgeColour(const uint8_t* bgrx, float contrast) {
  double sumR = 0, sumG = 0, sumB = 0, sumY = 0, sumY2 = 0;
  for (int i = 0; i < kEdgeSamplePixels; ++i) {
    const double b = bgrx[4 * i], g = bgrx[4 * i + 1], r = bgrx[4 * i + 2];
    const double y = 0.2126 * r + 0.7152 * g + 0.0722 * b;
    sumR += r;
    sumG += g;
    sumB += b;
    sumY += y;
    sumY2 += y * y;
  }
  const double n = kEdgeSamplePixels;
  const double mean[3] = {sumR / n, sumG / n, sumB / n};
  const double mu = sumY / n;
  const double sigma = std::sqrt(std::max(0.0, sumY2 / n - mu * mu));
  const double c = contrast + contrast / 34.0 * 20.0 * std::clamp((mu - 127.5) / 127.5, 0.0, 1.0) +
                   std::min(0.35 * sigma, 16.0);
  const bool light = mu >= 127.5;
  const double k = light ? std::clamp(c / std::max(1.0, mu), 0.14, 0.42)
                         : std::clamp(c / std::max(1.0, 255.0 - mu), 0.11, 0.38);
  uint32_t colour = 0;
  for (int channel = 0; channel < 3; ++channel) {
    const double value = light ? mean[channel] * (1.0 - k) : mean[channel] + (255.0 - mean[channel]) * k;
    colour |= static_cast<uint32_t>(std::clamp<long>(std::lround(value), 0, 255)) << (8 * channel);
  }
  return colour;
}

StripMark WorkingPill(int width, int height, float dpiScale, bool right) {
  const float w = static_cast<float>(width);
  const float pill = width < 3 ? w : std::max(w - 1.0f, 1.5f);
  const float tall = std::max(24.0f * dpiScale, 18.0f);
  return {right ? w - pill : 0.0f, (static_cast<float>(height) - tall) / 2.0f, pill, tall, pill / 2.0f, 0xB9};
}

float GlowIntensity(int64_t elapsedMs) {
  const double f = static_cast<double>(std::max<int64_t>(elapsedMs, 0));
  if (f < 180) return static_cast<float>(1.0 - (1.0 - f / 180.0) * (1.0 - f / 180.0));
  if (f < 5480) return 1.0f;
  if (f < 6000) {
    const double rest = 1.0 - (f - 5480.0) / 520.0;
    return static_cast<float>(rest * rest);
  }
  return 0.0f;
}

std::optional<StripMark> SectionGlow(int option, int width, int height, float dpiScale, int64_t elapsedMs) {
  if (option < 0 || option > 3) return std::nullopt;
  const float a = GlowIntensity(elapsedMs);
  if (a <= 0.005f) return std::nullopt;
  const float w = static_cast<float>(width);
  const float quarter = static_cast<float>(height) * 0.25f;
  const float inset = std::clamp(0.06f * quarter, 6.0f * dpiScale, 14.0f * dpiScale);
  return StripMark{0.0f, static_cast<float>(option) * quarter + inset, w, std::max(quarter - 2.0f * inset, 4.0f),
                   std::min(4.0f * dpiScale, 0.48f * w), static_cast<uint8_t>(std::lround(240.0f * a))};
}
