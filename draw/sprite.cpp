#include "draw/sprite.h"

#include <algorithm>
#include <cstring>

PixelRect Intersect(const PixelRect& a, const PixelRect& b) {
  return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
}

Sprite BlankSprite(const PixelRect& area) {
  Sprite sprite;
  if (IsEmpty(area)) return sprite;
  sprite.area = area;
  sprite.pixels.assign(size_t(area.Width()) * size_t(area.Height()), 0);
  return sprite;
}

void CropToInk(Sprite& sprite) {
  const int width = sprite.area.Width(), height = sprite.area.Height();
  int left = width, top = height, right = 0, bottom = 0;
  for (int y = 0; y < height && !IsEmpty(sprite.area); ++y) {
    const uint32_t* row = sprite.pixels.data() + size_t(y) * width;
    int first = 0;
    while (first < width && row[first] == 0) ++first;
    if (first == width) continue;
    int last = width - 1;
    while (row[last] == 0) --last;
    left = std::min(left, first);
    right = std::max(right, last + 1);
    top = std::min(top, y);
    bottom = y + 1;
  }
  if (left >= right) {
    sprite = Sprite{};
    return;
  }
  if (left == 0 && top == 0 && right == width && bottom == height) return;
  std::vector<uint32_t> kept(size_t(right - left) * size_t(bottom - top));
  for (int y = top; y < bottom; ++y) {
    std::memcpy(kept.data() + size_t(y - top) * (right - left), sprite.pixels.data() + size_t(y) * width + left,
                size_t(right - left) * 4);
  }
  sprite.pixels = std::move(kept);
  sprite.area = {sprite.area.left + left, sprite.area.top + top, sprite.area.left + right, sprite.area.top + bottom};
}

namespace {

// Source over destination, both premultiplied: each channel d' = s + d·(255 − αs)/255, rounded.
uint32_t Over(uint32_t source, uint32_t destination) {
  const uint32_t keep = 255 - (source >> 24);
  uint32_t out = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    const uint32_t scaled = ((destination >> shift) & 0xFF) * keep + 128;
    const uint32_t channel = ((source >> shift) & 0xFF) + ((scaled + (scaled >> 8)) >> 8);
    out |= std::min<uint32_t>(channel, 255) << shift;
  }
  return out;
}

}  // namespace

void BlendSprite(const Sprite& sprite, uint32_t* rows, int width, const PixelRect& clip) {
  const PixelRect area = Intersect(sprite.area, clip);
  if (IsEmpty(area)) return;
  const int spriteWidth = sprite.area.Width();
  for (int y = area.top; y < area.bottom; ++y) {
    const uint32_t* from = sprite.pixels.data() + size_t(y - sprite.area.top) * spriteWidth - sprite.area.left;
    uint32_t* to = rows + size_t(y) * width;
    for (int x = area.left; x < area.right; ++x) {
      const uint32_t source = from[x];
      if (source >= 0xFF000000u) {
        to[x] = source;
      } else if (source != 0) {
        to[x] = Over(source, to[x]);
      }
    }
  }
}
