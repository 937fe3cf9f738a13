#pragma once
// Building ScreenImages pixel by pixel for tests.
#include <algorithm>
#include <array>
#include <cstdint>

#include "screen/screen_image.h"

using TestPixel = std::array<std::uint8_t, 4>;  // blue, green, red, fourth byte

template <class PixelAt>
ScreenImage MakeTestImage(int width, int height, PixelAt pixelAt) {
  ScreenImage image;
  image.width = width;
  image.height = height;
  image.pixels.resize(static_cast<std::size_t>(width) * height * 4);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const TestPixel pixel = pixelAt(x, y);
      std::copy(pixel.begin(), pixel.end(), &image.pixels[(static_cast<std::size_t>(y) * width + x) * 4]);
    }
  }
  return image;
}
