#include "draw/sprite.h"

#include <algorithm>

namespace {

// Transparent stretches shorter than this stay inside a run: a run costs more than a few pixels.
constexpr int kSplitGap = 8;

int Moved(int value, int by) {
  if (value == INT_MIN || value == INT_MAX) return value;  // an open side stays open
  return int(std::clamp<long long>((long long)value + by, INT_MIN, INT_MAX));
}

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

void Include(PixelRect& bounds, const PixelRect& more) {
  if (IsEmpty(bounds)) {
    bounds = more;
    return;
  }
  bounds = {std::min(bounds.left, more.left), std::min(bounds.top, more.top), std::max(bounds.right, more.right),
            std::max(bounds.bottom, more.bottom)};
}

// A pixel of alpha αs in the colour `tint` over an opaque one, as GDI+ blends a colour onto an
// opaque pixel: each channel d' = (c·αs + d·(255 − αs)) / 255, truncated.
uint32_t TintOver(uint32_t tint, uint32_t alpha, uint32_t destination) {
  uint32_t out = 0xFF000000u;
  for (int shift = 0; shift < 24; shift += 8) {
    out |= ((((tint >> shift) & 0xFF) * alpha + ((destination >> shift) & 0xFF) * (255 - alpha)) / 255) << shift;
  }
  return out;
}

}  // namespace

PixelRect Intersect(const PixelRect& a, const PixelRect& b) {
  return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
}

PixelRect Offset(const PixelRect& r, int dx, int dy) {
  return {Moved(r.left, dx), Moved(r.top, dy), Moved(r.right, dx), Moved(r.bottom, dy)};
}

PixelRect Inflate(const PixelRect& r, int by) {
  return {Moved(r.left, -by), Moved(r.top, -by), Moved(r.right, by), Moved(r.bottom, by)};
}

Sprite SpriteFromPixels(const uint32_t* rows, int width, const PixelRect& area, int originX, int originY) {
  Sprite sprite;
  for (int y = area.top; y < area.bottom; ++y) {
    const uint32_t* row = rows + size_t(y) * width;
    int x = area.left;
    while (x < area.right) {
      while (x < area.right && row[x] == 0) ++x;
      if (x == area.right) break;
      const int start = x;
      int end = x;  // one past the last ink of this run
      while (x < area.right && x - end < kSplitGap) {
        if (row[x] != 0) end = x + 1;
        ++x;
      }
      sprite.runs.push_back(SpriteRun{start - originX, y - originY, uint32_t(sprite.pixels.size()), uint32_t(end - start)});
      sprite.pixels.insert(sprite.pixels.end(), row + start, row + end);
      Include(sprite.ink, {start - originX, y - originY, end - originX, y + 1 - originY});
      x = end;
    }
  }
  sprite.runs.shrink_to_fit();
  sprite.pixels.shrink_to_fit();
  return sprite;
}

Sprite SolidSprite(const PixelRect& area, uint32_t colour) {
  Sprite sprite;
  if (IsEmpty(area)) return sprite;
  sprite.ink = area;
  sprite.solid = colour;
  return sprite;
}

void BlendSprite(const Sprite& sprite, int x, int y, uint32_t* rows, int width, const PixelRect& clip) {
  const PixelRect placed = Offset(sprite.ink, x, y);
  const PixelRect area = Intersect(placed, clip);
  if (IsEmpty(area)) return;
  if (sprite.solid) {
    for (int row = area.top; row < area.bottom; ++row) {
      std::fill(rows + size_t(row) * width + area.left, rows + size_t(row) * width + area.right, *sprite.solid);
    }
    return;
  }
  for (const SpriteRun& run : sprite.runs) {
    const int row = run.y + y;
    if (row < area.top || row >= area.bottom) continue;
    const int from = std::max(run.x + x, area.left), to = std::min(run.x + x + int(run.length), area.right);
    const uint32_t* source = sprite.pixels.data() + run.offset - (run.x + x);
    uint32_t* target = rows + size_t(row) * width;
    for (int column = from; column < to; ++column) {
      const uint32_t pixel = source[column];
      if (pixel >= 0xFF000000u) {
        target[column] = pixel;
      } else if (pixel == 0) {
        continue;
      } else if (sprite.tint && target[column] >= 0xFF000000u) {
        target[column] = TintOver(*sprite.tint, pixel >> 24, target[column]);
      } else {
        target[column] = Over(pixel, target[column]);
      }
    }
  }
}
