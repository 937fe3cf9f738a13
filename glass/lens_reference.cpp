#include "glass/lens_reference.h"

#include <algorithm>
#include <cmath>

namespace {

float Smooth(float x) {
  x = std::clamp(x, 0.0f, 1.0f);
  return x * x * (3.0f - 2.0f * x);
}

std::uint8_t ToUnorm8(float value) {
  return static_cast<std::uint8_t>(std::lround(std::clamp(value, 0.0f, 1.0f) * 255.0f));
}

}  // namespace

LensConstants MakeLensConstants(const PixelRect& monitor, const PixelRect& panel, const LensCrop& crop,
                                float radiusPx, float scale) {
  LensConstants lens;
  lens.panelPx[0] = static_cast<float>(panel.Width());
  lens.panelPx[1] = static_cast<float>(panel.Height());
  lens.monitorPx[0] = static_cast<float>(monitor.Width());
  lens.monitorPx[1] = static_cast<float>(monitor.Height());
  lens.panelInCrop[0] = static_cast<float>(crop.panelInCropX);
  lens.panelInCrop[1] = static_cast<float>(crop.panelInCropY);
  lens.cropPx[0] = static_cast<float>(crop.crop.Width());
  lens.cropPx[1] = static_cast<float>(crop.crop.Height());
  lens.radiusPx = radiusPx;
  lens.scale = scale;
  lens.blurSigmaPx = kLensBlurSigmaPx;
  return lens;
}

BgraImage MakeBgraImage(int width, int height) {
  BgraImage image;
  image.width = std::max(width, 0);
  image.height = std::max(height, 0);
  image.bytes.assign(static_cast<size_t>(image.width) * image.height * 4, 0);
  return image;
}

std::vector<BgraImage> BuildMipChain(const BgraImage& level0, int levels) {
  std::vector<BgraImage> chain{level0};
  for (int level = 1; level < levels && level0.width > 0 && level0.height > 0; ++level) {
    const BgraImage& above = chain.back();
    BgraImage next = MakeBgraImage(std::max(above.width / 2, 1), std::max(above.height / 2, 1));
    // Each pixel is a bilinear read of the level above at the pixel's centre: for an even size
    // exactly the mean of the 2 x 2 pixels below it.
    const float stepX = static_cast<float>(above.width) / static_cast<float>(next.width);
    const float stepY = static_cast<float>(above.height) / static_cast<float>(next.height);
    for (int y = 0; y < next.height; ++y) {
      const float ty = (static_cast<float>(y) + 0.5f) * stepY - 0.5f;
      const int y0 = std::clamp(static_cast<int>(std::floor(ty)), 0, above.height - 1);
      const int y1 = std::min(y0 + 1, above.height - 1);
      const float fy = std::clamp(ty - std::floor(ty), 0.0f, 1.0f);
      for (int x = 0; x < next.width; ++x) {
        const float tx = (static_cast<float>(x) + 0.5f) * stepX - 0.5f;
        const int x0 = std::clamp(static_cast<int>(std::floor(tx)), 0, above.width - 1);
        const int x1 = std::min(x0 + 1, above.width - 1);
        const float fx = std::clamp(tx - std::floor(tx), 0.0f, 1.0f);
        for (int c = 0; c < 4; ++c) {
          const float top = above.At(x0, y0)[c] + (above.At(x1, y0)[c] - above.At(x0, y0)[c]) * fx;
          const float bottom = above.At(x0, y1)[c] + (above.At(x1, y1)[c] - above.At(x0, y1)[c]) * fx;
          next.At(x, y)[c] = ToUnorm8((top + (bottom - top) * fy) / 255.0f);
        }
      }
    }
    chain.push_back(std::move(next));
  }
  return chain;
}

LensColor SampleBilinear(const BgraImage& level, float u, float v) {
  if (level.width <= 0 || level.height <= 0) return {0, 0, 0, 1};
  float tx = u * static_cast<float>(level.width) - 0.5f, ty = v * static_cast<float>(level.height) - 0.5f;
  if (!std::isfinite(tx)) tx = 0;  // a degenerate crop reads its first texel
  if (!std::isfinite(ty)) ty = 0;
  float lowX = std::floor(tx), lowY = std::floor(ty);
  float fx = tx - lowX, fy = ty - lowY;
  auto clampTo = [](float value, int size) {
    return static_cast<int>(std::clamp(value, 0.0f, static_cast<float>(size - 1)));
  };
  int x0 = clampTo(lowX, level.width), x1 = clampTo(lowX + 1, level.width);
  int y0 = clampTo(lowY, level.height), y1 = clampTo(lowY + 1, level.height);
  // Channel c (0 red, 1 green, 2 blue) filtered.
  auto channel = [&](int byte) {
    auto texel = [&](int x, int y) { return level.At(x, y)[byte] / 255.0f; };
    float top = texel(x0, y0) + (texel(x1, y0) - texel(x0, y0)) * fx;
    float bottom = texel(x0, y1) + (texel(x1, y1) - texel(x0, y1)) * fx;
    return top + (bottom - top) * fy;
  };
  return {channel(2), channel(1), channel(0), 1.0f};
}

float LensBlurStep(float sigmaPx) {
  return std::sqrt(std::max(sigmaPx * sigmaPx - 4.0f, 0.0f));
}

LensColor LensBlur(const LensConstants& lens, const BgraImage& level2, float x, float y) {
  static constexpr float kWeights[5] = {1, 4, 6, 4, 1};
  float step = LensBlurStep(lens.blurSigmaPx);
  LensColor sum;
  for (int j = -2; j <= 2; ++j) {
    for (int i = -2; i <= 2; ++i) {
      float u = (x + lens.panelInCrop[0] + step * static_cast<float>(i)) / lens.cropPx[0];
      float v = (y + lens.panelInCrop[1] + step * static_cast<float>(j)) / lens.cropPx[1];
      LensColor tap = SampleBilinear(level2, u, v);
      float weight = kWeights[i + 2] * kWeights[j + 2];
      sum.r += weight * tap.r;
      sum.g += weight * tap.g;
      sum.b += weight * tap.b;
    }
  }
  return {sum.r / 256.0f, sum.g / 256.0f, sum.b / 256.0f, 1.0f};
}

LensColor LensPixel(const LensConstants& lens, const BgraImage& level2, int x, int y) {
  const float px = static_cast<float>(x) + 0.5f, py = static_cast<float>(y) + 0.5f;

  // Distance inward from the rounded-rectangle edge, in logical pixels.
  const float cx = lens.panelPx[0] * 0.5f, cy = lens.panelPx[1] * 0.5f;
  const float qx = std::fabs(px - cx) - (cx - lens.radiusPx), qy = std::fabs(py - cy) - (cy - lens.radiusPx);
  const float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
  const float e = lens.radiusPx - outside - std::min(std::max(qx, qy), 0.0f);
  const float d = std::max(e, 0.0f) / lens.scale;
  if (!(d < 17.0f)) return {};

  const float u = px / lens.panelPx[0], v = py / lens.panelPx[1];
  const float s = std::min(lens.panelPx[0], lens.panelPx[1]) / lens.scale;
  const float g = std::max(0.0f, std::max(std::min(u, 1.0f - u), std::min(v, 1.0f - v)));
  const float m = 0.026f * std::exp(-d / 7.2f) + 0.038f * std::exp(-0.472222f * d) + 0.06f * std::exp(-0.3f * s * g);
  const float t = 0.26f * std::sin(d / (0.144f * s)) * std::exp(-0.472222f * d);
  const float fromX = u - 0.5f, fromY = v - 0.5f;
  const float length = std::max(std::hypot(fromX, fromY), 0.00001f);
  const float nx = fromX / length, ny = fromY / length;
  const float dx = (nx * m + t * -ny) * lens.monitorPx[0], dy = (ny * m + t * nx) * lens.monitorPx[1];

  const float a = 1.0f - Smooth((d - 4.0f) / 13.0f);
  const float b = 1.0f - Smooth((d - 2.0f) / 15.0f);
  const float rim = 1.0f - Smooth(d / 7.0f);
  const float shiftX = a * dx, shiftY = a * dy;

  LensColor refracted = LensBlur(lens, level2, px + shiftX, py + shiftY);
  if (rim > 0.0181818f) {
    const float red = 1.0f - 0.055f * rim, blue = 1.0f + 0.055f * rim;
    refracted.r = LensBlur(lens, level2, px + shiftX * red, py + shiftY * red).r;
    refracted.b = LensBlur(lens, level2, px + shiftX * blue, py + shiftY * blue).b;
  }
  const LensColor plain = LensBlur(lens, level2, px, py);
  const float difference = std::max({std::fabs(refracted.r - plain.r), std::fabs(refracted.g - plain.g),
                                     std::fabs(refracted.b - plain.b)});
  const float alpha = b * b * Smooth((difference - 0.001f) / 0.034f);
  return {refracted.r * alpha, refracted.g * alpha, refracted.b * alpha, alpha};
}

BgraImage RenderLensReference(const LensConstants& lens, const BgraImage& crop) {
  const std::vector<BgraImage> mips = BuildMipChain(crop, 3);
  BgraImage out = MakeBgraImage(static_cast<int>(lens.panelPx[0]), static_cast<int>(lens.panelPx[1]));
  if (mips.empty() || crop.width <= 0 || crop.height <= 0) return out;
  const BgraImage& level2 = mips.back();
  for (int y = 0; y < out.height; ++y) {
    for (int x = 0; x < out.width; ++x) {
      LensColor color = LensPixel(lens, level2, x, y);
      std::uint8_t* pixel = out.At(x, y);
      pixel[0] = ToUnorm8(color.b);
      pixel[1] = ToUnorm8(color.g);
      pixel[2] = ToUnorm8(color.r);
      pixel[3] = ToUnorm8(color.a);
    }
  }
  return out;
}
