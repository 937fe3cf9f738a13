#include "glass/output_rotation.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A turned monitor as the system describes it: a frame texel's rectangle becomes the desktop
// rectangle given here (the turns of DXGI_MODE_ROTATION, as desktop duplication documents them),
// written from the frame's side, independently of the mapping under test.
PixelRect DesktopRectOfTexel(int x, int y, int desktopWidth, int desktopHeight, OutputRotation rotation) {
  const PixelRect t{x, y, x + 1, y + 1};
  switch (rotation) {
    case OutputRotation::Rotate90:
      return {desktopWidth - t.bottom, t.left, desktopWidth - t.top, t.right};
    case OutputRotation::Rotate180:
      return {desktopWidth - t.right, desktopHeight - t.bottom, desktopWidth - t.left, desktopHeight - t.top};
    case OutputRotation::Rotate270:
      return {t.top, desktopHeight - t.right, t.bottom, desktopHeight - t.left};
    case OutputRotation::Identity: break;
  }
  return t;
}

TEST(OutputRotation, DxgiValues) {
  EXPECT_EQ(RotationFromDxgi(0), OutputRotation::Identity);  // unspecified
  EXPECT_EQ(RotationFromDxgi(1), OutputRotation::Identity);
  EXPECT_EQ(RotationFromDxgi(2), OutputRotation::Rotate90);
  EXPECT_EQ(RotationFromDxgi(3), OutputRotation::Rotate180);
  EXPECT_EQ(RotationFromDxgi(4), OutputRotation::Rotate270);
  EXPECT_EQ(RotationFromDxgi(7), OutputRotation::Identity);
}

// Every pixel of every box of a small turned desktop is read from the frame texel that shows it.
TEST(OutputRotation, BoxesAndWalksReadEachDesktopPixelFromItsFrameTexel) {
  const int desktopWidth = 7, desktopHeight = 5;
  for (OutputRotation rotation : {OutputRotation::Identity, OutputRotation::Rotate90, OutputRotation::Rotate180,
                                  OutputRotation::Rotate270}) {
    SCOPED_TRACE(static_cast<int>(rotation));
    const PixelRect frame = UnrotatedBox({0, 0, desktopWidth, desktopHeight}, desktopWidth, desktopHeight, rotation);
    ASSERT_EQ(frame.left, 0);
    ASSERT_EQ(frame.top, 0);
    // Label every frame texel and put the label where the system shows that texel.
    std::vector<int> desktop(desktopWidth * desktopHeight, -1);
    for (int y = 0; y < frame.Height(); ++y) {
      for (int x = 0; x < frame.Width(); ++x) {
        const PixelRect at = DesktopRectOfTexel(x, y, desktopWidth, desktopHeight, rotation);
        ASSERT_EQ(at.Width(), 1);
        ASSERT_EQ(at.Height(), 1);
        desktop[at.top * desktopWidth + at.left] = y * frame.Width() + x;
      }
    }
    for (const PixelRect box : {PixelRect{0, 0, 7, 5}, PixelRect{1, 2, 4, 5}, PixelRect{6, 0, 7, 3}, PixelRect{2, 1, 3, 2}}) {
      const PixelRect source = UnrotatedBox(box, desktopWidth, desktopHeight, rotation);
      ASSERT_EQ(source.Width() * source.Height(), box.Width() * box.Height());
      ASSERT_TRUE(source.left >= 0 && source.top >= 0 && source.right <= frame.right && source.bottom <= frame.bottom);
      const TexelWalk walk = DesktopOrderWalk(box.Width(), box.Height(), rotation);
      for (int y = 0; y < box.Height(); ++y) {
        for (int x = 0; x < box.Width(); ++x) {
          const int tx = walk.originX + x * walk.xStepX + y * walk.yStepX;
          const int ty = walk.originY + x * walk.xStepY + y * walk.yStepY;
          ASSERT_TRUE(tx >= 0 && ty >= 0 && tx < source.Width() && ty < source.Height());
          EXPECT_EQ((source.top + ty) * frame.Width() + source.left + tx,
                    desktop[(box.top + y) * desktopWidth + box.left + x])
              << "desktop pixel " << box.left + x << "," << box.top + y;
        }
      }
    }
  }
}

}  // namespace
