#pragma once
// The numbers of the glass effect graphs: the blur and colour grade of the backdrop and of the lens
// rim per style, and the two dark shadows of the glass layer.
#include <array>

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
