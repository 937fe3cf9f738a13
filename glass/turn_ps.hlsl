// Puts the desktop crop of a turned monitor the right way up: each pixel of the target (the first
// level of the lens pass's crop texture, in desktop order) is the texel of the unrotated frame crop
// that shows it. glass/output_rotation.cpp computes the walk; the vertex shader is the lens pass's.

cbuffer Turn : register(b0) {
  float2 origin;   // the texel of the target's top-left pixel
  float2 xStep;    // the texel step for one pixel to the right
  float2 yStep;    // the texel step for one pixel down
  float2 padding;
};

Texture2D frame : register(t0);

float4 main(float4 position : SV_Position) : SV_Target {
  float2 p = floor(position.xy);
  float2 texel = origin + p.x * xStep + p.y * yStep;
  return frame.Load(int3(texel.x, texel.y, 0));
}
