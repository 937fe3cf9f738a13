#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <stdexcept>

#include "screen/vision_image.h"

namespace {

ScreenImage TwoByOne(std::uint8_t fourth) {
  ScreenImage image;
  image.width = 2;
  image.height = 1;
  image.pixels = {1, 2, 3, fourth, 4, 5, 6, fourth};
  return image;
}

// An encoder stand-in whose "JPEG" is the pixel bytes it was given, so the output shows exactly
// what reached the encoder.
std::vector<std::uint8_t> EchoEncoder(const ScreenImage& image) { return image.pixels; }

TEST(VisionImage, ForcesTheImageOpaqueInPlaceBeforeEncoding) {
  ScreenImage image = TwoByOne(0);
  std::vector<std::uint8_t> seen;
  EncodeVisionImageWith(image, [&](const ScreenImage& opaque) {
    seen = opaque.pixels;
    return std::vector<std::uint8_t>{0xFF, 0xD8};
  });
  const std::vector<std::uint8_t> expected = {1, 2, 3, 255, 4, 5, 6, 255};
  EXPECT_EQ(seen, expected);
  EXPECT_EQ(image.pixels, expected);
}

TEST(VisionImage, TransparentAndOpaqueInputEncodeAlike) {
  ScreenImage clear = TwoByOne(0);
  ScreenImage opaque = TwoByOne(255);
  EXPECT_EQ(EncodeVisionImageWith(clear, EchoEncoder), EncodeVisionImageWith(opaque, EchoEncoder));
}

TEST(VisionImage, TheDataUrlIsThePrefixAndPaddedBase64) {
  for (std::size_t length : {1u, 2u, 3u, 4u, 1000u}) {
    const std::string url = JpegDataUrl(std::vector<std::uint8_t>(length, 0xAB));
    ASSERT_EQ(url.rfind(kJpegDataUrlPrefix, 0), 0u);
    const std::size_t body = url.size() - std::string(kJpegDataUrlPrefix).size();
    EXPECT_EQ(body % 4, 0u);
    EXPECT_EQ(body, (length + 2) / 3 * 4);
  }
  EXPECT_EQ(JpegDataUrl({0xFF, 0xD8, 0xFF}), "data:image/jpeg;base64,/9j/");
}

TEST(VisionImage, NothingEncodedOrNothingToEncodeGivesAnEmptyString) {
  ScreenImage image = TwoByOne(0);
  EXPECT_EQ(EncodeVisionImageWith(image, [](const ScreenImage&) { return std::vector<std::uint8_t>{}; }), "");

  bool called = false;
  const JpegEncoderFn spy = [&](const ScreenImage& opaque) {
    called = true;
    return opaque.pixels;
  };
  ScreenImage empty;
  EXPECT_EQ(EncodeVisionImageWith(empty, spy), "");
  ScreenImage lying = TwoByOne(0);
  lying.width = 4;  // claims more pixels than it holds
  EXPECT_EQ(EncodeVisionImageWith(lying, spy), "");
  EXPECT_FALSE(called);
}

// An encoder stand-in for the 24-bit road that asks for the rows in strips of `stripRows` and
// returns the rows it was given, so the output shows exactly what reached the encoder.
Bgr24JpegEncoderFn StripEchoEncoder(int stripRows) {
  return [stripRows](int width, int height, const Bgr24RowsFn& rows) {
    std::vector<std::uint8_t> seen(static_cast<std::size_t>(width) * height * 3);
    for (int row = 0; row < height; row += stripRows) {
      rows(row, std::min(stripRows, height - row), &seen[static_cast<std::size_t>(row) * width * 3]);
    }
    return seen;
  };
}

// Each strip is forced opaque in the same pass that drops the fourth byte; strips of any height
// give the same rows, in order, and leave the whole image opaque.
TEST(VisionImage, The24BitRoadForcesTheFourthByteInTheSamePassThatDropsIt) {
  std::mt19937 random(3);
  const struct {
    int width, height, stripRows;
  } cases[] = {{1, 1, 1}, {2, 1, 64}, {3, 2, 1}, {7, 5, 2}, {64, 3, 64}, {5, 130, 64}};
  for (const auto& c : cases) {
    ScreenImage image;
    image.width = c.width;
    image.height = c.height;
    image.pixels.resize(static_cast<std::size_t>(c.width) * c.height * 4);
    for (auto& byte : image.pixels) byte = static_cast<std::uint8_t>(random());
    std::vector<std::uint8_t> expectedRows, expectedPixels(image.pixels);
    for (std::size_t i = 0; i < expectedPixels.size(); i += 4) {
      expectedRows.insert(expectedRows.end(), &expectedPixels[i], &expectedPixels[i] + 3);
      expectedPixels[i + 3] = 255;
    }
    const std::string url = EncodeVisionBgr24With(image, StripEchoEncoder(c.stripRows));
    EXPECT_EQ(url, JpegDataUrl(expectedRows)) << c.width << " x " << c.height << " in strips of " << c.stripRows;
    EXPECT_EQ(image.pixels, expectedPixels) << c.width << " x " << c.height;
  }
}

TEST(VisionImage, The24BitRoadRefusesRowsOutsideTheImageAndEncodesNothingWithoutPixels) {
  const Bgr24JpegEncoderFn overreaching = [](int width, int height, const Bgr24RowsFn& rows) {
    std::vector<std::uint8_t> strip(static_cast<std::size_t>(width) * (height + 1) * 3);
    rows(0, height + 1, strip.data());
    return strip;
  };
  ScreenImage image = TwoByOne(0);
  EXPECT_THROW(EncodeVisionBgr24With(image, overreaching), std::out_of_range);

  bool called = false;
  const Bgr24JpegEncoderFn spy = [&](int, int, const Bgr24RowsFn&) {
    called = true;
    return std::vector<std::uint8_t>{};
  };
  ScreenImage empty;
  EXPECT_EQ(EncodeVisionBgr24With(empty, spy), "");
  ScreenImage lying = TwoByOne(0);
  lying.height = 2;  // claims more pixels than it holds
  EXPECT_EQ(EncodeVisionBgr24With(lying, spy), "");
  EXPECT_FALSE(called);
  EXPECT_EQ(EncodeVisionBgr24With(image, spy), "");  // the encoder produced nothing
  EXPECT_TRUE(called);
}

}  // namespace
