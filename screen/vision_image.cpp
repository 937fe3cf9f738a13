#include "screen/vision_image.h"

#include "screen/base64.h"

void ForceOpaque(ScreenImage& image) {
  for (std::size_t alpha = 3; alpha < image.pixels.size(); alpha += 4) image.pixels[alpha] = 255;
}

std::vector<std::uint8_t> ToBgr24(const ScreenImage& image) {
  const std::size_t pixelCount = image.pixels.size() / 4;
  std::vector<std::uint8_t> bgr(pixelCount * 3);
  const std::uint8_t* source = image.pixels.data();
  std::uint8_t* dest = bgr.data();
  for (std::size_t i = 0; i < pixelCount; ++i, source += 4, dest += 3) {
    dest[0] = source[0];
    dest[1] = source[1];
    dest[2] = source[2];
  }
  return bgr;
}

std::string JpegDataUrl(const std::vector<std::uint8_t>& jpeg) {
  if (jpeg.empty()) return {};
  return kJpegDataUrlPrefix + Base64Encode(jpeg.data(), jpeg.size());
}

std::string EncodeVisionImageWith(ScreenImage& image, const JpegEncoderFn& encodeJpeg) {
  if (!HasConsistentPixels(image)) return {};
  ForceOpaque(image);
  return JpegDataUrl(encodeJpeg(image));
}
