// The lens pass's pixel shader: the refracting rim along the panel's rounded edge, drawn from the
// crop of the desktop around the panel (texture `desktop`, three mip levels). Output is
// premultiplied. glass/lens_reference.cpp is the same computation on the CPU; change both together.
//
// Written for the shader compiler of the cross build (Wine's), which has no helper functions, no
// macro calls inside macros, no exp, sin, sqrt or ternary operator and no SampleLevel: the
// bilinear, clamped read of mip level 2 is done here with four texel loads per tap, exactly as the
// sampler `linearClamp` would filter at that level.

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

float4 main(float4 position : SV_Position) : SV_Target {
  float2 p = position.xy;

  // Distance inward from the rounded-rectangle edge, in logical pixels.
  float2 c = panelPx * 0.5;
  float2 q = abs(p - c) - (c - radiusPx);
  float e = radiusPx - length(max(q, 0.0)) - min(max(q.x, q.y), 0.0);
  float d = max(e, 0.0) / scale;
  if (d >= 17.0) return float4(0.0, 0.0, 0.0, 0.0);

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
  float dispersion = (float)(rim > 0.0181818);
  float2 shift = a * displacement;

  // Four blurred reads of the desktop: the refracted point (green, and all channels without
  // dispersion), the red and blue points spread along the shift, and the unshifted point. Each is a
  // 5 x 5 binomial kernel (1 4 6 4 1) of taps `step` pixels apart.
  float step = pow(max(blurSigmaPx * blurSigmaPx - 4.0, 0.0), 0.5);
  float2 level2 = max(floor(cropPx * 0.25), 1.0);
  float3 refracted = float3(0.0, 0.0, 0.0);
  float3 plain = float3(0.0, 0.0, 0.0);
  for (int k = 0; k < 4; ++k) {
    if (k == 0 || k == 3 || dispersion != 0.0) {
      float factor = 1.0 - 0.055 * rim * (float)(k == 1) + 0.055 * rim * (float)(k == 2) - (float)(k == 3);
      float2 x = p + shift * factor;
      float3 sum = float3(0.0, 0.0, 0.0);
      for (int j = -2; j <= 2; ++j) {
        for (int i = -2; i <= 2; ++i) {
          float weight = (6.0 - 2.0 * abs(i) - (float)(abs(i) == 2)) * (6.0 - 2.0 * abs(j) - (float)(abs(j) == 2));
          float2 texel = (x + panelInCrop + step * float2(i, j)) / cropPx * level2 - 0.5;
          float2 low = floor(texel);
          float2 f = texel - low;
          float2 lo = clamp(low, 0.0, level2 - 1.0);
          float2 hi = clamp(low + 1.0, 0.0, level2 - 1.0);
          float3 top = lerp(desktop.Load(int3(lo.x, lo.y, 2)).rgb, desktop.Load(int3(hi.x, lo.y, 2)).rgb, f.x);
          float3 bottom = lerp(desktop.Load(int3(lo.x, hi.y, 2)).rgb, desktop.Load(int3(hi.x, hi.y, 2)).rgb, f.x);
          sum += weight * lerp(top, bottom, f.y);
        }
      }
      sum /= 256.0;
      if (k == 0) refracted = sum;
      if (k == 1) refracted.r = sum.r;
      if (k == 2) refracted.b = sum.b;
      if (k == 3) plain = sum;
    }
  }

  float3 difference = abs(refracted - plain);
  float v = SMOOTH((max(difference.r, max(difference.g, difference.b)) - 0.001) / 0.034);
  float alpha = b * b * v;
  return float4(refracted * alpha, alpha);
}
