// The lens pass's pixel shader: the refracting rim along the panel's rounded edge, drawn from the
// crop of the desktop around the panel (texture `desktop`, three mip levels). Output is
// premultiplied. glass/lens_reference.cpp is the same computation on the CPU; change both together.
//
// Written for the shader compiler of the cross build (Wine's), which has no helper functions, no
// exp, sin or sqrt, no ternary operator and no SampleLevel, cannot pass a macro's parameter on to
// another macro, and whose loops and early returns come out wrong: everything is written out, and
// the bilinear, clamped read of mip level 2 is done with four texel loads per tap, exactly as the
// sampler `linearClamp` filters at that level.

cbuffer Lens : register(b0) {
  float2 panelPx;      // panel client size in pixels
  float2 monitorPx;    // monitor size in pixels
  float2 panelInCrop;  // panel origin inside the crop
  float2 cropPx;       // crop size in pixels
  float radiusPx;      // corner radius in pixels
  float scale;         // pixels per logical pixel
  float blurSigmaPx;
  float padding;
};

Texture2D desktop : register(t0);
SamplerState linearClamp : register(s0);

// x^2 (3 - 2x) of x clamped to [0, 1].
#define SMOOTH(x) (saturate(x) * saturate(x) * (3.0 - 2.0 * saturate(x)))
// e^x.
#define EXP(x) pow(2.718281828, (x))
// sin of an angle already folded into [-pi/2, pi/2], to seven decimal places.
#define SIN_FOLDED(r) \
  ((r) * (1.0 + (r) * (r) * (-1.0 / 6.0 + (r) * (r) * (1.0 / 120.0 + (r) * (r) * (-1.0 / 5040.0 + \
  (r) * (r) * (1.0 / 362880.0 + (r) * (r) * (-1.0 / 39916800.0)))))))

// One tap of the blur around panel point `x`: the crop's mip level 2 read bilinearly (texel
// centres at half-integers, edges clamped) at `x` moved by `step` * (i, j), weighted by w into `sum`.
#define TAP(i, j, w) \
  texel = (x + panelInCrop + step * float2(i, j)) / cropPx * level2 - 0.5; \
  low = floor(texel); \
  f = texel - low; \
  lo = clamp(low, 0.0, level2 - 1.0); \
  hi = clamp(low + 1.0, 0.0, level2 - 1.0); \
  top = lerp(desktop.Load(int3(lo.x, lo.y, 2)).rgb, desktop.Load(int3(hi.x, lo.y, 2)).rgb, f.x); \
  bottom = lerp(desktop.Load(int3(lo.x, hi.y, 2)).rgb, desktop.Load(int3(hi.x, hi.y, 2)).rgb, f.x); \
  sum += (w) * lerp(top, bottom, f.y);
// The 5 x 5 binomial kernel (1 4 6 4 1 by 1 4 6 4 1, 256 in all) around `x`, added into `sum`.
#define BLUR_TAPS \
  TAP(-2.0, -2.0, 1.0) TAP(-1.0, -2.0, 4.0) TAP(0.0, -2.0, 6.0) TAP(1.0, -2.0, 4.0) TAP(2.0, -2.0, 1.0) \
  TAP(-2.0, -1.0, 4.0) TAP(-1.0, -1.0, 16.0) TAP(0.0, -1.0, 24.0) TAP(1.0, -1.0, 16.0) TAP(2.0, -1.0, 4.0) \
  TAP(-2.0, 0.0, 6.0) TAP(-1.0, 0.0, 24.0) TAP(0.0, 0.0, 36.0) TAP(1.0, 0.0, 24.0) TAP(2.0, 0.0, 6.0) \
  TAP(-2.0, 1.0, 4.0) TAP(-1.0, 1.0, 16.0) TAP(0.0, 1.0, 24.0) TAP(1.0, 1.0, 16.0) TAP(2.0, 1.0, 4.0) \
  TAP(-2.0, 2.0, 1.0) TAP(-1.0, 2.0, 4.0) TAP(0.0, 2.0, 6.0) TAP(1.0, 2.0, 4.0) TAP(2.0, 2.0, 1.0)

float4 main(float4 position : SV_Position) : SV_Target {
  float2 p = position.xy;
  float4 result = float4(0.0, 0.0, 0.0, 0.0);

  // Distance inward from the rounded-rectangle edge, in logical pixels. The lens touches only the
  // band 17 logical pixels wide along the edge.
  float2 c = panelPx * 0.5;
  float2 q = abs(p - c) - (c - radiusPx);
  float e = radiusPx - length(max(q, 0.0)) - min(max(q.x, q.y), 0.0);
  float d = max(e, 0.0) / scale;
  if (d < 17.0) {
    // Radial strength and swirl of the displacement.
    float2 uv = p / panelPx;
    float s = min(panelPx.x, panelPx.y) / scale;
    float g = max(0.0, max(min(uv.x, 1.0 - uv.x), min(uv.y, 1.0 - uv.y)));
    float m = 0.026 * EXP(-d / 7.2) + 0.038 * EXP(-0.472222 * d) + 0.06 * EXP(-0.3 * s * g);
    float angle = d / (0.144 * s);
    angle -= 6.283185307 * floor(angle / 6.283185307 + 0.5);  // into [-pi, pi)
    angle = min(angle, 3.141592654 - angle);                   // folded into [-pi/2, pi/2]
    angle = max(angle, -3.141592654 - angle);
    float t = 0.26 * SIN_FOLDED(angle) * EXP(-0.472222 * d);
    float2 fromCentre = uv - 0.5;
    float2 n = fromCentre / max(length(fromCentre), 0.00001);
    float2 displacement = (n * m + t * float2(-n.y, n.x)) * monitorPx;

    float a = 1.0 - SMOOTH((d - 4.0) / 13.0);
    float b = 1.0 - SMOOTH((d - 2.0) / 15.0);
    float rim = 1.0 - SMOOTH(d / 7.0);
    float2 shift = a * displacement;

    // Blurred reads of the desktop: the refracted point (green, and all channels without
    // dispersion), the red and blue points spread along the shift, and the unshifted point.
    float step = pow(max(blurSigmaPx * blurSigmaPx - 4.0, 0.0), 0.5);  // sqrt
    float2 level2 = max(floor(cropPx * 0.25), 1.0);
    float2 texel, low, f, lo, hi;
    float3 top, bottom;

    float2 x = p + shift;
    float3 sum = float3(0.0, 0.0, 0.0);
    BLUR_TAPS
    float3 refracted = sum / 256.0;
    if (rim > 0.0181818) {
      x = p + shift * (1.0 - 0.055 * rim);
      sum = float3(0.0, 0.0, 0.0);
      BLUR_TAPS
      refracted.r = sum.r / 256.0;
      x = p + shift * (1.0 + 0.055 * rim);
      sum = float3(0.0, 0.0, 0.0);
      BLUR_TAPS
      refracted.b = sum.b / 256.0;
    }
    x = p;
    sum = float3(0.0, 0.0, 0.0);
    BLUR_TAPS
    float3 plain = sum / 256.0;

    float3 difference = abs(refracted - plain);
    float v = SMOOTH((max(difference.r, max(difference.g, difference.b)) - 0.001) / 0.034);
    float alpha = b * b * v;
    result = float4(refracted * alpha, alpha);
  }
  return result;
}
