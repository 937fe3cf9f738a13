// Sprites of recorded calls: the area a call can touch, cutting a sprite to its ink, blending it
// over a buffer, and the cache that keeps them within a budget.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "draw/fixed_measurer.h"
#include "draw/sprite.h"
#include "draw/sprite_area.h"
#include "draw/sprite_cache.h"

namespace {

DrawCall Recorded(void (*make)(RecordingCanvas&)) {
  RecordingCanvas canvas;
  make(canvas);
  return canvas.Calls().front();
}

TEST(SpriteArea, CoversWhatEachCallCanTouchAndNoMoreThanTheClipsAllow) {
  const DrawCall fill = Recorded([](RecordingCanvas& c) { c.FillRect({10.5f, 20, 30, 40}, Brush(0xFF000000)); });
  const DrawCall stroke =
      Recorded([](RecordingCanvas& c) { c.StrokeRoundedRect({10, 20, 30, 40}, 4, Stroke{0xFF000000, 2}); });
  const DrawCall glyphs =
      Recorded([](RecordingCanvas& c) { c.DrawGlyphs(L"ab", FontSpec{L"Segoe UI", 10}, 0xFF000000, {50, 60}); });
  const DrawCall curve = Recorded([](RecordingCanvas& c) {
    const PointF points[] = {{0, 50}, {10, 0}, {20, 50}};
    c.DrawCurve(points, 1, Stroke{0xFF000000, 1});
  });
  const DrawCall clip = Recorded([](RecordingCanvas& c) { c.PushClip({15, 25, 10, 10}); });
  const DrawCall scale = Recorded([](RecordingCanvas& c) { c.PushScale(2, 3); });
  const DrawCall nowhere = Recorded([](RecordingCanvas& c) {
    c.FillRect({std::numeric_limits<float>::quiet_NaN(), 0, 5, 5}, Brush(0xFF000000));
  });
  const DrawCall huge = Recorded([](RecordingCanvas& c) { c.FillRect({-1e30f, 5, 2e30f, 1e30f}, Brush(0xFF000000)); });

  FixedAdvanceMeasurer measured;                        // 0.5 em a character, lines 1.2 em high
  FixedAdvanceMeasurer unmeasurable(0.5f, 0);             // lines of no height
  struct Case {
    const char* name;
    DrawCall call;
    std::vector<DrawCall> pushes;
    float scale;
    PixelRect area;
    GlyphMeasurer* measurer = nullptr;
  };
  const Case cases[] = {
      {"a fill, two pixels around for smoothing", fill, {}, 1, {8, 18, 43, 62}},
      {"at the buffer's scale, held to the buffer", fill, {}, 2, {19, 38, 83, 100}},
      {"under a pushed scale of its own", fill, {scale}, 1, {19, 58, 83, 100}},
      {"a stroke reaches out by its miters", stroke, {}, 1, {0, 7, 53, 73}},
      {"glyphs: their measured box and an em around it", glyphs, {}, 1, {38, 48, 72, 84}},
      {"glyphs not measured: 1.5 em a character, 8 em high", glyphs, {}, 1, {38, 48, 92, 100}, &unmeasurable},
      {"a curve bends past its points", curve, {}, 1, {0, 0, 32, 75}},
      {"within the clips in effect", fill, {clip}, 1, {13, 23, 27, 37}},
      {"not finite: nothing", nowhere, {}, 1, {}},
      {"beyond the buffer: held to it", huge, {}, 1, {0, 3, 200, 100}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const PixelRect area = SpriteArea(c.call, c.pushes, c.scale, 200, 100, c.measurer ? *c.measurer : measured);
    if (IsEmpty(c.area)) {
      EXPECT_TRUE(IsEmpty(area));
    } else {
      EXPECT_EQ(area, c.area) << area.left << "," << area.top << " " << area.right << "," << area.bottom;
    }
  }
}

TEST(SpriteArea, OnlyAnOpaqueFillOverTheWholeAreaNeedsNoRasteriser) {
  auto fill = [](RectF rect, Brush brush) {
    RecordingCanvas canvas;
    canvas.FillRect(rect, brush);
    return canvas.Calls().front();
  };
  const DrawCall background = fill({-1, -1, 390, 488}, Brush(0xFF1E1E22));
  RecordingCanvas pushes;
  pushes.PushClip({0, 0, 100, 100});
  pushes.PushScale(2, 2);
  const DrawCall clip = pushes.Calls()[0], scale = pushes.Calls()[1];
  auto whole = [](const DrawCall& call, std::vector<DrawCall> pushes, float scale) {
    FixedAdvanceMeasurer measurer;
    return WholeOpaqueFill(call, pushes, scale, SpriteArea(call, pushes, scale, 388, 486, measurer)).has_value();
  };
  EXPECT_TRUE(whole(background, {}, 1));
  EXPECT_TRUE(whole(background, {}, 1.25f)) << "its edges fall inside pixels beyond the buffer";
  EXPECT_TRUE(whole(background, {scale}, 1));
  EXPECT_FALSE(whole(fill({10.5f, 10, 20, 20}, Brush(0xFF000000)), {}, 1)) << "smoothed edges inside the area";
  EXPECT_FALSE(whole(fill({-1, -1, 390, 488}, Brush(0xFE1E1E22)), {}, 1)) << "translucent";
  EXPECT_FALSE(whole(fill({-1, -1, 390, 488}, Brush(LinearGradient{{0, 0}, {0, 9}, 0xFF000000, 0xFFFFFFFF})), {}, 1));
  EXPECT_FALSE(whole(background, {clip}, 1)) << "under a clip";
}

TEST(Sprite, IsCutToItsInkAndBlendedSourceOverInsideTheClip) {
  Sprite sprite = BlankSprite({10, 20, 14, 23});  // 4 x 3
  sprite.pixels[1 * 4 + 1] = 0xFF112233;          // opaque: copied
  sprite.pixels[1 * 4 + 2] = 0x80400000;          // half alpha, premultiplied red 0x40
  CropToInk(sprite);
  EXPECT_EQ(sprite.area, (PixelRect{11, 21, 13, 22}));
  EXPECT_EQ(sprite.pixels, (std::vector<uint32_t>{0xFF112233, 0x80400000}));

  std::vector<uint32_t> rows(30 * 30, 0xFF808080);
  BlendSprite(sprite, rows.data(), 30, {0, 0, 30, 30});
  EXPECT_EQ(rows[21 * 30 + 11], 0xFF112233u);
  EXPECT_EQ(rows[21 * 30 + 12], 0xFF804040u);  // 0x40 + 0x80·127/255 = 0x80; 0x80·127/255 = 0x40
  EXPECT_EQ(rows[21 * 30 + 13], 0xFF808080u);  // beyond the ink

  std::vector<uint32_t> clipped(30 * 30, 0);
  BlendSprite(sprite, clipped.data(), 30, {12, 0, 30, 30});
  EXPECT_EQ(clipped[21 * 30 + 11], 0u);
  EXPECT_EQ(clipped[21 * 30 + 12], 0x80400000u);

  Sprite empty = BlankSprite({0, 0, 5, 5});
  CropToInk(empty);
  EXPECT_TRUE(IsEmpty(empty.area));
  BlendSprite(empty, rows.data(), 30, {0, 0, 30, 30});  // draws nothing, reads nothing
}

TEST(SpriteCache, KeepsTheMostRecentlyUsedWithinItsBudget) {
  auto key = [](float x) {
    RecordingCanvas canvas;
    canvas.FillRect({x, 0, 1, 1}, Brush(0xFF000000));
    return SpriteKey{canvas.Calls().front(), {}};
  };
  auto sprite = [](int pixels) { return BlankSprite({0, 0, pixels, 1}); };
  SpriteCache cache(3 * 1000 * 4 + 3 * 1024);  // room for three sprites of 1,000 pixels
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

  // A pushed clip makes another key.
  SpriteKey clipped = key(1);
  clipped.pushes.push_back(key(9).call);
  EXPECT_EQ(cache.Find(clipped), nullptr);

  cache.Keep(key(5), sprite(100000));  // alone over budget: kept, all others let go
  EXPECT_EQ(cache.size(), 1u);
  cache.Clear();
  EXPECT_EQ(cache.bytes(), 0u);
}

}  // namespace
