#include "screen/vision_image.h"

#include <bit>
#include <cstring>
#include <stdexcept>

#include "screen/base64.h"

void ForceOpaque(ScreenImage& image) {
  for (std::size_t alpha = 3; alpha < image.pixels.size(); alpha += 4) image.pixels[alpha] = 255;
}

namespace {

std::uint32_t LoadWord(const std::uint8_t* bytes) {
  std::uint32_t word;
  std::memcpy(&word, bytes, 4);
  return word;
}

void StoreWord(std::uint8_t* bytes, std::uint32_t word) { std::memcpy(bytes, &word, 4); }

}  // namespace

// Four pixels per step as 32-bit words (blue in the low byte on the little-endian machines this
// program runs on): each word goes back with its top byte set and its low three bytes are packed
// into three output words; the last few pixels go one at a time.
void OpaqueBgr24Rows(ScreenImage& image, int firstRow, int rowCount, std::uint8_t* bgr) {
  static_assert(std::endian::native == std::endian::little, "pixels are read as little-endian words");
  const std::size_t rowPixels = static_cast<std::size_t>(image.width);
  const std::size_t pixelCount = rowPixels * static_cast<std::size_t>(rowCount);
  std::uint8_t* pixel = image.pixels.data() + rowPixels * static_cast<std::size_t>(firstRow) * 4;
  std::uint8_t* dest = bgr;
  std::size_t i = 0;
  for (; i + 4 <= pixelCount; i += 4, pixel += 16, dest += 12) {
    const std::uint32_t p0 = LoadWord(pixel) | 0xFF000000u, p1 = LoadWord(pixel + 4) | 0xFF000000u;
    const std::uint32_t p2 = LoadWord(pixel + 8) | 0xFF000000u, p3 = LoadWord(pixel + 12) | 0xFF000000u;
    StoreWord(pixel, p0);
    StoreWord(pixel + 4, p1);
    StoreWord(pixel + 8, p2);
    StoreWord(pixel + 12, p3);
    StoreWord(dest, (p0 & 0xFFFFFFu) | (p1 << 24));
    StoreWord(dest + 4, ((p1 >> 8) & 0xFFFFu) | (p2 << 16));
    StoreWord(dest + 8, ((p2 >> 16) & 0xFFu) | (p3 << 8));
  }
  for (; i < pixelCount; ++i, pixel += 4, dest += 3) {
    dest[0] = pixel[0];
    dest[1] = pixel[1];
    dest[2] = pixel[2];
    pixel[3] = 255;
  }
}

std::string JpegDataUrl(const std::vector<std::uint8_t>& jpeg) {
  if (jpeg.empty()) return {};
  std::string url = kJpegDataUrlPrefix;
  AppendBase64(url, jpeg.data(), jpeg.size());
  return url;
}

std::string EncodeVisionImageWith(ScreenImage& image, const JpegEncoderFn& encodeJpeg) {
  if (!HasConsistentPixels(image)) return {};
  ForceOpaque(image);
  return JpegDataUrl(encodeJpeg(image));
}

std::string EncodeVisionBgr24With(ScreenImage& image, const Bgr24JpegEncoderFn& encodeJpeg) {
  if (!HasConsistentPixels(image)) return {};
  const int height = image.height;
  return JpegDataUrl(encodeJpeg(image.width, height, [&image, height](int firstRow, int rowCount, std::uint8_t* bgr) {
    if (firstRow < 0 || rowCount < 0 || rowCount > height - firstRow) throw std::out_of_range("rows outside the image");
    OpaqueBgr24Rows(image, firstRow, rowCount, bgr);
  }));
}
