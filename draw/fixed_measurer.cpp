#include "draw/fixed_measurer.h"

#include <algorithm>
#include <cstdint>

size_t Utf16Length(std::wstring_view text) {
  size_t units = text.size();
  if constexpr (sizeof(wchar_t) > 2) {
    for (wchar_t c : text) units += (static_cast<uint32_t>(c) >> 16) != 0 ? 1 : 0;
  }
  return units;
}

SizeF FixedAdvanceMeasurer::Measure(std::wstring_view text, const FontSpec& font) {
  ++calls_;
  if (text.empty()) return {};
  return {float(Utf16Length(text)) * advance_ * font.pixelSize, lineHeight_ * font.pixelSize};
}

SizeF FixedAdvanceMeasurer::MeasureWrapped(std::wstring_view text, const FontSpec& font, float maxWidth) {
  ++calls_;
  if (text.empty() || !(maxWidth > 0)) return {};
  const float unit = advance_ * font.pixelSize;
  size_t lines = 0;
  size_t widest = 0;  // code units of the widest line, trailing spaces left out
  while (true) {
    const size_t feed = text.find(L'\n');
    std::wstring_view paragraph = text.substr(0, feed);
    size_t line = 0;     // units on the open line, up to its last word
    size_t pending = 0;  // spaces after it, which count only if another word follows on this line
    bool lineHasWord = false;
    size_t i = 0;
    while (i < paragraph.size()) {
      if (paragraph[i] == L' ') {
        ++pending;
        ++i;
        continue;
      }
      const size_t wordEnd = std::min(paragraph.find(L' ', i), paragraph.size());
      const size_t word = Utf16Length(paragraph.substr(i, wordEnd - i));
      if (lineHasWord && float(line + pending + word) * unit > maxWidth) {
        widest = std::max(widest, line);
        ++lines;
        line = word;
      } else {
        line += pending + word;
      }
      pending = 0;
      lineHasWord = true;
      i = wordEnd;
    }
    widest = std::max(widest, line);
    ++lines;
    if (feed == std::wstring_view::npos || feed + 1 == text.size()) break;
    text.remove_prefix(feed + 1);
  }
  return {float(widest) * unit, float(lines) * lineHeight_ * font.pixelSize};
}
