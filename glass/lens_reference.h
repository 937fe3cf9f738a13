#pragma once
// The lens pass computed on the CPU, pixel for pixel as the pixel shader (glass/lens_ps.hlsl) does
// it, over a mip chain built as Direct3D builds one. The tests compare the Direct3D pass with it;
// it also holds the `Lens` constant buffer's layout, which the Direct3D pass uploads as it is.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/geometry.h"
#include "glass/lens_crop.h"

// The constant buffer `Lens` of the pixel shader, byte for byte (all 32-bit floats).
struct LensConstants {
  float panelPx[2] = {0, 0};      // panel client size in pixels
  float monitorPx[2] = {0, 0};    // monitor size in pixels
  float panelInCrop[2] = {0, 0};  // panel origin inside the crop
  float cropPx[2] = {0, 0};       // crop size in pixels
  float radiusPx = 0;             // the panel's corner radius in pixels
  float scale = 1;                // pixels per logical pixel
  float blurSigmaPx = 5;
  float padding = 0;
};
static_assert(sizeof(LensConstants) == 48, "the shader's constant buffer is 48 bytes");
static_assert(offsetof(LensConstants, monitorPx) == 8 && offsetof(LensConstants, panelInCrop) == 16 &&
                  offsetof(LensConstants, cropPx) == 24 && offsetof(LensConstants, radiusPx) == 32 &&
                  offsetof(LensConstants, scale) == 36 && offsetof(LensConstants, blurSigmaPx) == 40,
              "the members sit where the shader's constant buffer has them");

// The blur of the lens, in pixels.
constexpr float kLensBlurSigmaPx = 5.0f;

// The constants of one render of the lens for `panel` on `monitor` (screen pixels) and its crop.
LensConstants MakeLensConstants(const PixelRect& monitor, const PixelRect& panel, const LensCrop& crop,
                                float radiusPx, float scale);

// 32-bit pixels in blue, green, red, alpha byte order, rows top-down without padding.
struct BgraImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> bytes;  // width * height * 4
  const std::uint8_t* At(int x, int y) const { return &bytes[(static_cast<size_t>(y) * width + x) * 4]; }
  std::uint8_t* At(int x, int y) { return &bytes[(static_cast<size_t>(y) * width + x) * 4]; }
};

BgraImage MakeBgraImage(int width, int height);

// `levels` mip levels starting with `level0`, each half the size of the one before (rounded down,
// at least 1 x 1), as Direct3D's mip generation makes them: each pixel the rounded mean of the
// 2 x 2 pixels below it, and for an odd size a bilinear read of the level above at the pixel's
// centre (which is that mean wherever the size is even).
std::vector<BgraImage> BuildMipChain(const BgraImage& level0, int levels);

struct LensColor {
  float r = 0, g = 0, b = 0, a = 0;
};

// Bilinear, clamped sample of `level` at normalised coordinates (u, v) of the crop: texel centres at
// half-integers, the edge texels repeated outside. Alpha is 1.
LensColor SampleBilinear(const BgraImage& level, float u, float v);

// The distance between the blur kernel's taps for a blur of `sigmaPx`: sqrt(sigma^2 - 4), and 0
// (all taps on one point) for a sigma of 2 or less.
float LensBlurStep(float sigmaPx);

// The 5 x 5 binomial blur of the crop's mip level 2 around panel point (x, y).
LensColor LensBlur(const LensConstants& lens, const BgraImage& level2, float x, float y);

// The lens's premultiplied colour at the centre of panel pixel (x, y), from the crop's mip level 2.
LensColor LensPixel(const LensConstants& lens, const BgraImage& level2, int x, int y);

// The whole lens image for a crop (its mip 0), premultiplied BGRA bytes as a render target of the
// panel's size stores them.
BgraImage RenderLensReference(const LensConstants& lens, const BgraImage& crop);
