#pragma once
// The decisions of the glass backdrop that need no platform: the back-off after a failed frame,
// the error text and which status the style section shows, whether the lens layer must be shown
// or hidden, and the numbers of the effect graphs (blur deviations and colour matrices).
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// A Direct2D 5 x 4 colour matrix, row by row (rows R, G, B, A multipliers, then the offset).
using ColorMatrix = std::array<float, 20>;

// The blur and colour grade of the backdrop and of the lens rim, per style.
struct GlassGrade {
  float blurDeviation = 0;
  ColorMatrix matrix{};
};
GlassGrade BackdropGrade(bool dark);

// One of the two dark shadows of the glass layer ("Ink"): blurred, turned black with its alpha
// multiplied by the gain, shifted down and shown with an opacity in the dark style only.
struct InkShadow {
  float blurDeviation;
  float alphaGain;
  float verticalOffset;
  float opacity;
};
inline constexpr std::array<InkShadow, 2> kInkShadows{{{6.0f, 1.65f, 1.2f, 0.22f}, {1.35f, 1.55f, 0.85f, 0.28f}}};
// All zero except the alpha-to-alpha gain.
ColorMatrix InkMatrix(float alphaGain);

// "Ridez: capture failed (0x8000000C)".
std::wstring CaptureFailureText(uint32_t code);

// The per-tick state of the glass object: the back-off clock, the last failure and the lens
// layer's visibility.
class GlassTick {
 public:
  static constexpr uint64_t kBackOffMs = 5000;

  // A tick at `nowMs` is skipped while a failure's back-off lasts.
  bool Skipping(uint64_t nowMs) const { return nowMs < retryAt_; }
  // The frame went through: no error text any more.
  void Succeeded() { errorText_.clear(); }
  // The frame failed with `code`: its text, and no ticks for the next 5000 ms.
  void Failed(uint64_t nowMs, uint32_t code);
  // Ends a back-off and forgets the error (activation, glass switched on).
  void Clear();
  // Whether the lens layer's visibility must change to `shown`; remembers it.
  bool LensChange(bool shown);

  bool lensShown() const { return lensShown_; }
  uint64_t retryAt() const { return retryAt_; }
  // The error text when there is one, else the capture's own status.
  std::wstring_view StatusText(std::wstring_view captureStatus) const {
    return errorText_.empty() ? captureStatus : std::wstring_view(errorText_);
  }

 private:
  uint64_t retryAt_ = 0;
  std::wstring errorText_;
  bool lensShown_ = false;
};
