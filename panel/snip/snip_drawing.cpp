#include "panel/snip/snip_drawing.h"

#include <algorithm>
#include <string>

#include "panel/snip/snip_session.h"

namespace {
constexpr Stroke kOuterFrame{0xA0000000u, 2.5f};
constexpr Stroke kInnerFrame{0xF0FFFFFFu, 1.5f};
constexpr float kLabelWidth = 76, kLabelHeight = 20, kLabelRadius = 6;
constexpr float kLabelGap = 24, kLabelMinTop = 4;
constexpr Argb kLabelFill = 0xBE141418u;
constexpr Argb kLabelText = 0xFFFFFFFFu;
}  // namespace

void FillSnipPixels(std::span<uint32_t> pixels, int width, int height, const std::optional<PixelRect>& selection) {
  if (width <= 0 || height <= 0) return;
  const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
  if (pixels.size() < count) return;
  std::fill(pixels.begin(), pixels.begin() + static_cast<std::ptrdiff_t>(count), kSnipDimPixel);
  if (!selection) return;
  const int left = std::clamp(selection->left, 0, width), right = std::clamp(selection->right, left, width);
  const int top = std::clamp(selection->top, 0, height), bottom = std::clamp(selection->bottom, top, height);
  for (int y = top; y < bottom; ++y) {
    auto row = pixels.begin() + static_cast<std::ptrdiff_t>(static_cast<size_t>(y) * static_cast<size_t>(width));
    std::fill(row + left, row + right, 0u);
  }
}

void DrawSnipSelection(Canvas& canvas, const PixelRect& selection) {
  const int width = selection.Width(), height = selection.Height();
  if (width <= 0 || height <= 0) return;
  const RectF frame{static_cast<float>(selection.left), static_cast<float>(selection.top), static_cast<float>(width),
                    static_cast<float>(height)};
  Path outline;
  outline.AddRoundedRectangle(frame, 0);
  canvas.StrokePath(outline, kOuterFrame);
  canvas.StrokePath(outline, kInnerFrame);
  if (!SnipLabelShown(width, height)) return;
  const RectF label{frame.x, std::max(frame.y - kLabelGap, kLabelMinTop), kLabelWidth, kLabelHeight};
  canvas.FillRoundedRect(label, kLabelRadius, kLabelFill);
  const TextBoxFormat centred{TextAlign::Center, TextAlign::Center, false, true};
  canvas.DrawTextBox(SnipLabelText(width, height), FontSpec{L"Segoe UI", 11, kFontBold}, kLabelText, label, centred);
}
