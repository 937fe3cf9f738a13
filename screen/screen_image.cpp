#include "screen/screen_image.h"

bool HasConsistentPixels(const ScreenImage& image) {
  if (image.width <= 0 || image.height <= 0) return false;
  const auto pixelCount = static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height);
  return image.pixels.size() / 4 == pixelCount && image.pixels.size() % 4 == 0;
}
