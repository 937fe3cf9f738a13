#pragma once
// The lens pass's shaders as compiled bytecode (shader model 4.0), made from glass/lens_vs.hlsl,
// glass/lens_ps.hlsl and glass/turn_ps.hlsl (the crop of a turned monitor put the right way up)
// when the program is built (see shader-compiler in CMakeLists.txt).
#include <cstddef>

extern const unsigned char kLensVertexShader[];
extern const std::size_t kLensVertexShaderSize;
extern const unsigned char kLensPixelShader[];
extern const std::size_t kLensPixelShaderSize;
extern const unsigned char kTurnPixelShader[];
extern const std::size_t kTurnPixelShaderSize;
