#pragma once
// Turning a ScreenImage into the JPEG data URL that vision scans and snips send.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "screen/screen_image.h"

inline constexpr const char* kJpegDataUrlPrefix = "data:image/jpeg;base64,";
inline constexpr float kVisionJpegQuality = 0.85f;  // on the encoder's 0..1 scale
inline constexpr double kVisionJpegDpi = 96.0;

// Sets the fourth byte of every pixel to 255.
void ForceOpaque(ScreenImage& image);

// In one pass over rows firstRow .. firstRow + rowCount - 1 of an image with consistent pixels:
// sets the fourth byte of each of their pixels to 255 and writes them to `bgr` as tightly packed
// 24-bit blue-green-red rows (stride width * 3, rowCount rows).
void OpaqueBgr24Rows(ScreenImage& image, int firstRow, int rowCount, std::uint8_t* bgr);

// "data:image/jpeg;base64," and the base64 of `jpeg`; empty when `jpeg` is empty.
std::string JpegDataUrl(const std::vector<std::uint8_t>& jpeg);

// Encodes an opaque image as a complete JPEG file in memory; may throw on platform failures.
using JpegEncoderFn = std::function<std::vector<std::uint8_t>(const ScreenImage& opaqueImage)>;

// Forces the image opaque (in place) and returns the data URL of its JPEG. Empty when the image
// has no consistent pixels or the encoder produced nothing; the encoder's exceptions pass through.
std::string EncodeVisionImageWith(ScreenImage& image, const JpegEncoderFn& encodeJpeg);

// Writes rows firstRow .. firstRow + rowCount - 1 to `bgr` as 24-bit rows (stride width * 3).
using Bgr24RowsFn = std::function<void(int firstRow, int rowCount, std::uint8_t* bgr)>;

// Encodes a width x height picture as a complete JPEG file in memory, asking `rows` for its 24-bit
// rows top to bottom, in strips of the encoder's choosing; may throw on platform failures.
using Bgr24JpegEncoderFn = std::function<std::vector<std::uint8_t>(int width, int height, const Bgr24RowsFn& rows)>;

// EncodeVisionImageWith for an encoder that takes 24-bit rows: each strip the encoder asks for is
// forced opaque (in place) in the same pass that drops it to 24 bits, so no 24-bit copy of the
// whole image is ever made.
std::string EncodeVisionBgr24With(ScreenImage& image, const Bgr24JpegEncoderFn& encodeJpeg);

// ---- Windows ----------------------------------------------------------------------------------

// The platform JPEG encoder (Windows Imaging Component), which takes 24-bit rows, fed in strips of
// kJpegStripRows rows: quality 0.85, 96 dpi, no thumbnail, no metadata, in memory only. Throws
// std::runtime_error with the error code on a platform failure. The calling thread must have COM
// initialised.
inline constexpr int kJpegStripRows = 64;
std::vector<std::uint8_t> EncodeBgr24JpegWithWic(int width, int height, const Bgr24RowsFn& rows);

// EncodeVisionBgr24With the platform encoder.
std::string EncodeVisionImage(ScreenImage& image);
