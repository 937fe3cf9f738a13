#include <gtest/gtest.h>

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

}  // namespace
