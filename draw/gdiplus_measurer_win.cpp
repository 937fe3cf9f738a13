#include "draw/gdiplus_measurer_win.h"

namespace {
// Taller than any wrapped text the panel shows.
constexpr float kUnboundedHeight = 100000;
}  // namespace

SizeF GdiplusMeasurer::MeasureIn(std::wstring_view text, const FontSpec& font, const Gdiplus::RectF& layout,
                                 const Gdiplus::StringFormat* format) {
  if (text.empty()) return {};
  const Gdiplus::Font* made = fonts_.Get(font);
  if (!made) {
    lastStatus_ = Gdiplus::InvalidParameter;
    return {};
  }
  Gdiplus::RectF bounds;
  const Gdiplus::Status status =
      graphics_.MeasureString(text.data(), GdiplusLength(text), made, layout, format, &bounds);
  if (status != Gdiplus::Ok) {
    lastStatus_ = status;
    return {};
  }
  return {bounds.Width, bounds.Height};
}

SizeF GdiplusMeasurer::Measure(std::wstring_view text, const FontSpec& font) {
  return MeasureIn(text, font, Gdiplus::RectF(0, 0, 0, 0), fonts_.MeasureFormat());
}

SizeF GdiplusMeasurer::MeasureWrapped(std::wstring_view text, const FontSpec& font, float maxWidth) {
  if (!(maxWidth > 0)) return {};
  const auto format = MakeTextBoxFormat({TextAlign::Near, TextAlign::Near, /*wrap=*/true, /*ellipsis=*/false});
  return MeasureIn(text, font, Gdiplus::RectF(0, 0, maxWidth, kUnboundedHeight), format.get());
}
