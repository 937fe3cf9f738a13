// Sprites of recorded calls: which calls share a sprite (and where it goes), sprites taken from
// pixels and blended back, and the cache that keeps them within a budget.
#include <gtest/gtest.h>

#include <vector>

#include "draw/sprite.h"
#include "draw/sprite_cache.h"
#include "draw/sprite_key.h"

namespace {

const FontSpec kFont{L"Segoe UI", 14, kFontRegular};

DrawCall Recorded(void (*make)(RecordingCanvas&)) {
  RecordingCanvas canvas;
  make(canvas);
  return canvas.Calls().front();
}

DrawCall Glyphs(PointF at, const FontSpec& font = kFont, Argb colour = 0xFFFFFFFF, const wchar_t* text = L"ab") {
  RecordingCanvas canvas;
  canvas.DrawGlyphs(text, font, colour, at);
  return canvas.Calls().front();
}

DrawCall Curve(PointF at, float width = 1.5f, float bend = 8) {
  RecordingCanvas canvas;
  const PointF points[] = {at, {at.x + 10, at.y + bend}, {at.x + 20, at.y}};
  canvas.DrawCurve(points, 0.5f, Stroke{0xFF000000, width});
  return canvas.Calls().front();
}

DrawCall Filled(PointF at, Brush brush) {
  RecordingCanvas canvas;
  canvas.FillPath(Path().MoveTo(at).LineTo({at.x + 9, at.y}).ArcTo({at.x, at.y, 9, 9}, 0, 90).Close(), brush);
  return canvas.Calls().front();
}

TEST(SpriteKey, CoversWhatChangesThePixelsAndIgnoresWholePixelMoves) {
  const DrawCall clip = Recorded([](RecordingCanvas& c) { c.PushClip({0, 0, 50, 50}); });
  const DrawCall rounded = Recorded([](RecordingCanvas& c) { c.PushRoundedClip({0, 0, 50, 50}, 6); });
  const DrawCall doubled = Recorded([](RecordingCanvas& c) { c.PushScale(2, 2); });
  const LinearGradient shade{{10, 10}, {10, 30}, 0xFF000000, 0xFFFFFFFF};
  const LinearGradient shadeMoved{{18, 14}, {18, 34}, 0xFF000000, 0xFFFFFFFF};
  struct Case {
    const char* name;
    DrawCall a, b;
    std::vector<DrawCall> pushesA, pushesB;
    bool shared;
  };
  const Case cases[] = {
      {"text moved by whole pixels", Glyphs({10.25f, 20.5f}), Glyphs({14.25f, 120.5f}), {}, {}, true},
      {"text moved by part of a pixel", Glyphs({10.25f, 20.5f}), Glyphs({10.5f, 20.5f}), {}, {}, false},
      {"another family", Glyphs({10, 20}), Glyphs({10, 20}, {L"Cambria Math", 14}), {}, {}, false},
      {"another size", Glyphs({10, 20}), Glyphs({10, 20}, {L"Segoe UI", 14.5f}), {}, {}, false},
      {"another style", Glyphs({10, 20}), Glyphs({10, 20}, {L"Segoe UI", 14, kFontItalic}), {}, {}, false},
      {"another colour", Glyphs({10, 20}), Glyphs({10, 20}, kFont, 0xFFFFFFFE), {}, {}, false},
      {"another text", Glyphs({10, 20}), Glyphs({10, 20}, kFont, 0xFFFFFFFF, L"ac"), {}, {}, false},
      {"a curve moved", Curve({5, 5}), Curve({25, 45}), {}, {}, true},
      {"another pen width", Curve({5, 5}), Curve({5, 5}, 2), {}, {}, false},
      {"another point", Curve({5, 5}), Curve({5, 5}, 1.5f, 9), {}, {}, false},
      {"a path with its gradient moved", Filled({10, 10}, shade), Filled({18, 14}, shadeMoved), {}, {}, true},
      {"a gradient moved apart from its path", Filled({10, 10}, shade), Filled({18, 14}, shade), {}, {}, false},
      {"under a rectangular clip (applied when blending)", Curve({5, 5}), Curve({5, 5}), {clip}, {}, true},
      {"under a rounded clip", Curve({5, 5}), Curve({5, 5}), {rounded}, {}, false},
      {"a rounded clip pins the place", Curve({5, 5}), Curve({6, 5}), {rounded}, {rounded}, false},
      {"under a scale", Curve({5, 5}), Curve({5, 5}), {doubled}, {}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const SpritePlace a = PlaceSprite(c.a, c.pushesA, 1.25f), b = PlaceSprite(c.b, c.pushesB, 1.25f);
    EXPECT_EQ(a.key == b.key, c.shared);
    if (c.shared) EXPECT_EQ(SpriteKeyHash{}(a.key), SpriteKeyHash{}(b.key));
  }
  // Where the shared sprite goes (moves are in device pixels at 1.25): the anchor's whole pixels.
  const SpritePlace moved = PlaceSprite(Glyphs({14.25f, 120.5f}), {}, 1.25f);
  EXPECT_EQ(moved.originX, 17);   // 14.25 × 1.25 = 17.8125
  EXPECT_EQ(moved.originY, 150);  // 120.5 × 1.25 = 150.625
}

TEST(Sprite, KeepsOnlyItsInkAndBlendsItBackAnywhere) {
  const int width = 40;
  std::vector<uint32_t> drawn(size_t(width) * 20, 0);
  drawn[5 * width + 10] = 0xFF112233;  // opaque: copied
  drawn[5 * width + 11] = 0x80400000;  // half alpha, premultiplied red 0x40
  drawn[5 * width + 30] = 0x40404040;  // far along the row: a run of its own
  drawn[9 * width + 12] = 0xFF000000;
  Sprite sprite = SpriteFromPixels(drawn.data(), width, {0, 0, width, 20}, 10, 5);
  EXPECT_EQ(sprite.ink, (PixelRect{0, 0, 21, 5}));
  EXPECT_EQ(sprite.runs.size(), 3u);
  EXPECT_EQ(sprite.pixels.size(), 4u);

  // Blended at its place it gives back the pixels over a transparent buffer; elsewhere, moved.
  std::vector<uint32_t> same(drawn.size(), 0), moved(drawn.size(), 0);
  BlendSprite(sprite, 10, 5, same.data(), width, {0, 0, width, 20});
  EXPECT_EQ(same, drawn);
  BlendSprite(sprite, 12, 8, moved.data(), width, {0, 0, width, 20});
  EXPECT_EQ(moved[8 * width + 12], 0xFF112233u);
  EXPECT_EQ(moved[12 * width + 14], 0xFF000000u);

  // Over an opaque grey: source over, or from the call's one colour; nothing outside the clip.
  std::vector<uint32_t> grey(drawn.size(), 0xFF808080);
  BlendSprite(sprite, 10, 5, grey.data(), width, {11, 0, width, 20});
  EXPECT_EQ(grey[5 * width + 10], 0xFF808080u);
  EXPECT_EQ(grey[5 * width + 11], 0xFF804040u);  // 0x40 + 0x80·127/255 = 0x80; 0x80·127/255 = 0x40
  sprite.tint = 0x7F0000;
  std::fill(grey.begin(), grey.end(), 0xFF808080);
  BlendSprite(sprite, 10, 5, grey.data(), width, {0, 0, width, 20});
  EXPECT_EQ(grey[5 * width + 11], 0xFF7F3F3Fu);  // (0x7F·128 + 0x80·127) / 255 and 0x80·127 / 255, truncated

  const Sprite solid = SolidSprite({0, 0, 3, 2}, 0xFF123456);
  BlendSprite(solid, 38, 19, grey.data(), width, {0, 0, width, 20});  // held to the buffer
  EXPECT_EQ(grey[19 * width + 39], 0xFF123456u);
  EXPECT_TRUE(SpriteFromPixels(same.data(), width, {0, 10, width, 20}, 0, 0).runs.empty());  // no ink there
}

TEST(SpriteCache, KeepsTheMostRecentlyUsedWithinItsBudget) {
  auto key = [](float x) { return PlaceSprite(Glyphs({0, 0}, {L"Segoe UI", x}), {}, 1).key; };
  auto sprite = [](int pixels) {
    std::vector<uint32_t> row(size_t(pixels), 0xFF000000);
    return SpriteFromPixels(row.data(), pixels, {0, 0, pixels, 1}, 0, 0);
  };
  const size_t one = sprite(1000).Bytes() + 1024;
  SpriteCache cache(3 * one);  // room for three sprites of 1,000 pixels
  cache.Keep(key(1), sprite(1000));
  cache.Keep(key(2), sprite(1000));
  cache.Keep(key(3), sprite(1000));
  ASSERT_NE(cache.Find(key(1)), nullptr);  // 1 is now the most recent, 2 the least
  cache.Keep(key(4), sprite(1000));
  EXPECT_EQ(cache.Find(key(2)), nullptr);
  EXPECT_NE(cache.Find(key(1)), nullptr);
  EXPECT_NE(cache.Find(key(3)), nullptr);
  EXPECT_EQ(cache.size(), 3u);

  cache.Keep(key(3), sprite(10));  // the same key again replaces its sprite
  EXPECT_EQ(cache.Find(key(3))->pixels.size(), 10u);
  EXPECT_EQ(cache.size(), 3u);

  cache.Keep(key(5), sprite(100000));  // alone over budget: kept, all others let go
  EXPECT_EQ(cache.size(), 1u);
  cache.Clear();
  EXPECT_EQ(cache.bytes(), 0u);
}

}  // namespace
