#pragma once
// A font as the drawing code asks for it: a family name, a size in pixels and style bits. A family
// that is not installed is replaced by the generic sans-serif family where fonts are made.
#include <string>

inline constexpr unsigned kFontRegular = 0;
inline constexpr unsigned kFontBold = 1;
inline constexpr unsigned kFontItalic = 2;

struct FontSpec {
  std::wstring family;
  float pixelSize = 0;
  unsigned style = kFontRegular;  // kFontBold and kFontItalic, alone or together
  bool operator==(const FontSpec&) const = default;
};
