#include "screen/ocr.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <string>

#include "core/wide_text.h"

namespace {

bool IsLineBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; }

std::wstring LineKey(std::wstring_view line) {
  std::size_t begin = 0;
  std::size_t end = line.size();
  while (begin < end && IsLineBlank(line[begin])) ++begin;
  while (end > begin && IsLineBlank(line[end - 1])) --end;
  std::wstring key(line.substr(begin, end - begin));
  for (wchar_t& c : key) c = AsciiLowerWide(c);
  return key;
}

// Offsets 0, step, 2 * step, ... below `extent`.
std::vector<int> TileOffsets(int extent, int step) {
  std::vector<int> offsets;
  for (int offset = 0; offset < extent; offset += step) offsets.push_back(offset);
  return offsets;
}

}  // namespace

std::vector<OcrTile> PlanOcrTiles(int width, int height, int maxSide) {
  if (maxSide <= kOcrTileOverlap) {
    throw std::runtime_error("OCR engine limit of " + std::to_string(maxSide) +
                             " pixels is too small for overlapping tiles");
  }
  const int tileWidth = std::min(maxSide, width);
  const int tileHeight = std::min(maxSide, height);
  const int stepX = tileWidth < width ? tileWidth - kOcrTileOverlap : tileWidth;
  const int stepY = tileHeight < height ? tileHeight - kOcrTileOverlap : tileHeight;
  std::vector<OcrTile> tiles;
  if (width < 1 || height < 1) return tiles;
  const std::vector<int> columns = TileOffsets(width, stepX);
  for (int y : TileOffsets(height, stepY)) {
    for (int x : columns) {
      tiles.push_back({x, y, std::min(width - x, tileWidth), std::min(height - y, tileHeight)});
    }
  }
  return tiles;
}

std::vector<std::uint8_t> CopyOpaqueTile(const ScreenImage& image, const OcrTile& tile) {
  const std::size_t rowBytes = static_cast<std::size_t>(tile.width) * 4;
  const std::size_t imageStride = static_cast<std::size_t>(image.width) * 4;
  std::vector<std::uint8_t> bytes(rowBytes * static_cast<std::size_t>(tile.height));
  const std::uint8_t* source = image.pixels.data() + static_cast<std::size_t>(tile.y) * imageStride +
                               static_cast<std::size_t>(tile.x) * 4;
  for (int row = 0; row < tile.height; ++row) {
    std::memcpy(bytes.data() + row * rowBytes, source + row * imageStride, rowBytes);
  }
  for (std::size_t alpha = 3; alpha < bytes.size(); alpha += 4) bytes[alpha] = 255;
  return bytes;
}

void OcrLineJoiner::Add(std::wstring_view line) {
  std::wstring key = LineKey(line);
  if (key.empty() || key == lastKey_) return;
  lastKey_ = std::move(key);
  if (!text_.empty()) text_.push_back(L'\n');
  text_.append(line);
}

std::wstring RecognizeScreenTextWith(const ScreenImage& image, const TextRecognizerFactory& createEngine) {
  std::unique_ptr<TextRecognizer> engine = createEngine ? createEngine() : nullptr;
  if (!engine) throw std::runtime_error(kNoOcrLanguageMessage);
  if (image.width == 0 || image.height == 0) return {};
  if (!HasConsistentPixels(image)) throw std::invalid_argument("screen image pixels do not match its size");
  OcrLineJoiner joiner;
  for (const OcrTile& tile : PlanOcrTiles(image.width, image.height, engine->MaxImageDimension())) {
    const std::vector<std::uint8_t> bytes = CopyOpaqueTile(image, tile);
    for (const std::wstring& line : engine->RecognizeLines(bytes.data(), tile.width, tile.height)) {
      joiner.Add(line);
    }
  }
  return joiner.TakeText();
}
