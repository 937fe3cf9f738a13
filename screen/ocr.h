#pragma once
// Reading the text of a ScreenImage with an OCR engine. An engine accepts images up to a maximum
// side, so a large screen is cut into overlapping tiles; the lines of all tiles are joined with
// a line repeated right after itself dropped. The tiling and joining are portable over the
// TextRecognizer interface; the platform engine is in ocr_win.cpp.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "screen/screen_image.h"

inline constexpr int kOcrTileOverlap = 96;

// What the error of a missing recognizer says (for the diagnostic side; users see the query's own
// sentence).
inline constexpr const char* kNoOcrLanguageMessage =
    "no OCR language installed. Open Settings > Time & language > Language & region > Add a "
    "language with basic typing (e.g. English), then restart vyk";

// One recognition engine, created once per RecognizeScreenText call.
class TextRecognizer {
 public:
  virtual ~TextRecognizer() = default;
  // The largest width or height the engine accepts.
  virtual int MaxImageDimension() = 0;
  // Recognises one opaque blue-green-red-alpha tile (stride width * 4) into its line texts, in
  // the engine's order. Platform failures are thrown.
  virtual std::vector<std::wstring> RecognizeLines(const std::uint8_t* bgra, int width, int height) = 0;
};

// Creates the engine for the user's languages, or returns null when none has a recognizer.
using TextRecognizerFactory = std::function<std::unique_ptr<TextRecognizer>()>;

// A tile of the image, in image pixels.
struct OcrTile {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

// The tiles of a width x height image for an engine limited to maxSide: rows top to bottom,
// left to right within a row, neighbours overlapping by 96 pixels. Throws std::runtime_error
// when maxSide is not above the overlap (the tiles would never advance).
std::vector<OcrTile> PlanOcrTiles(int width, int height, int maxSide);

// The tile's pixels in a fresh buffer of width * height * 4 bytes, every fourth byte 255. The
// tile must lie inside an image with consistent pixels.
std::vector<std::uint8_t> CopyOpaqueTile(const ScreenImage& image, const OcrTile& tile);

// Joins recognised lines with line feeds. Blank lines are dropped; a line whose folded form
// (ASCII lower case, blanks, tabs, CR and LF trimmed) equals that of the line appended just
// before is dropped too, so a line seen in two overlapping tiles comes out once.
class OcrLineJoiner {
 public:
  void Add(std::wstring_view line);
  const std::wstring& Text() const { return text_; }
  std::wstring TakeText() { return std::move(text_); }

 private:
  std::wstring text_;
  std::wstring lastKey_;
};

// The text of `image`, read tile by tile with the engine from `createEngine`. Throws
// std::runtime_error(kNoOcrLanguageMessage) when no engine is returned, std::invalid_argument when
// the image's buffer does not match its size, and lets the engine's errors through. An image of
// zero size reads as empty text.
std::wstring RecognizeScreenTextWith(const ScreenImage& image, const TextRecognizerFactory& createEngine);

// ---- Windows ----------------------------------------------------------------------------------

// RecognizeScreenTextWith the platform engine (Windows.Media.Ocr) for the user's profile
// languages. The calling thread must be in the multithreaded apartment. Platform failures are
// thrown as std::runtime_error with the error code in the message.
std::wstring RecognizeScreenText(const ScreenImage& image);

// The platform engine, or null when no profile language has a recognizer. Throws (with the error
// code) when the platform has no OCR classes at all, as under Wine (0x80040154).
std::unique_ptr<TextRecognizer> CreatePlatformTextRecognizer();
