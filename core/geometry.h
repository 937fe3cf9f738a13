#pragma once
// The program's two rectangle types: whole device pixels (screen, window and capture rectangles) and
// logical pixels of the nominal panel (layout).

// Integer pixel rectangle, right and bottom exclusive; left and top may be negative on a
// multi-monitor desktop.
struct PixelRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool operator==(const PixelRect&) const = default;
};

// The rectangle of `width` x `height` pixels whose top-left corner is (left, top); an edge beyond
// the range of int is held at its limit.
constexpr PixelRect PixelRectAt(int left, int top, int width, int height) {
  auto edge = [](long long value) {
    constexpr long long lowest = -2147483647LL - 1, highest = 2147483647LL;
    return static_cast<int>(value < lowest ? lowest : value > highest ? highest : value);
  };
  return {left, top, edge(static_cast<long long>(left) + width), edge(static_cast<long long>(top) + height)};
}

// Rectangle in logical pixels, or in the units of the current world transform when drawing: origin
// and size. A rectangle with no positive width or height is empty and draws nothing.
struct RectF {
  float x = 0;
  float y = 0;
  float width = 0;
  float height = 0;
  float Right() const { return x + width; }
  float Bottom() const { return y + height; }
  bool IsEmpty() const { return !(width > 0 && height > 0); }
  bool Contains(float px, float py) const {
    return px >= x && px < x + width && py >= y && py < y + height;
  }
  bool operator==(const RectF&) const = default;
};
