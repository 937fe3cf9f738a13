// Arbitrary recognised text through the question check and the OCR line joiner, and arbitrary
// image and engine sizes through the tile planner: no crash, tiles always inside the image.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>

#include "screen/ocr.h"
#include "tutor/question_detect.h"

namespace {

std::wstring WideText(const std::uint8_t* data, std::size_t size) {
  std::wstring text;
  for (std::size_t i = 0; i + 1 < size; i += 2) text.push_back(static_cast<wchar_t>(data[i] | (data[i + 1] << 8)));
  return text;
}

void CheckTiles(const std::uint8_t* data, std::size_t size) {
  if (size < 6) return;
  const int width = 1 + (data[0] | (data[1] << 8)) % 5000;
  const int height = 1 + (data[2] | (data[3] << 8)) % 5000;
  const int maxSide = (data[4] | (data[5] << 8)) % 3000;
  try {
    for (const OcrTile& tile : PlanOcrTiles(width, height, maxSide)) {
      if (tile.width < 1 || tile.height < 1 || tile.x + tile.width > width || tile.y + tile.height > height ||
          tile.width > maxSide || tile.height > maxSide) {
        std::abort();
      }
    }
  } catch (const std::runtime_error&) {
    if (maxSide > kOcrTileOverlap) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::wstring text = WideText(data, size);
  LooksLikeQuestion(text);
  OcrLineJoiner joiner;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find(L'\n', start)) != std::wstring::npos; start = end + 1) {
    joiner.Add(std::wstring_view(text).substr(start, end - start));
  }
  joiner.Add(std::wstring_view(text).substr(start));
  if (joiner.Text().size() > text.size()) std::abort();
  CheckTiles(data, size);
  return 0;
}
