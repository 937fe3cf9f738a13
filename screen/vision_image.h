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

// The image as tightly packed 24-bit blue-green-red rows (stride width * 3), top-down.
std::vector<std::uint8_t> ToBgr24(const ScreenImage& image);

// "data:image/jpeg;base64," and the base64 of `jpeg`; empty when `jpeg` is empty.
std::string JpegDataUrl(const std::vector<std::uint8_t>& jpeg);

// Encodes an opaque image as a complete JPEG file in memory; may throw on platform failures.
using JpegEncoderFn = std::function<std::vector<std::uint8_t>(const ScreenImage& opaqueImage)>;

// Forces the image opaque (in place) and returns the data URL of its JPEG. Empty when the image
// has no consistent pixels or the encoder produced nothing; the encoder's exceptions pass through.
std::string EncodeVisionImageWith(ScreenImage& image, const JpegEncoderFn& encodeJpeg);

// ---- Windows ----------------------------------------------------------------------------------

// The platform JPEG encoder (Windows Imaging Component): quality 0.85, 96 dpi, no thumbnail, no
// metadata, in memory only. Throws std::runtime_error with the error code on a platform failure.
// The calling thread must have COM initialised.
std::vector<std::uint8_t> EncodeJpegWithWic(const ScreenImage& opaqueImage);

// EncodeVisionImageWith the platform encoder.
std::string EncodeVisionImage(ScreenImage& image);
