#pragma once
// The lens pass's two shaders as compiled bytecode (shader model 4.0), made from glass/lens_vs.hlsl
// and glass/lens_ps.hlsl when the program is built (see shader-compiler in CMakeLists.txt).
#include <cstddef>

extern const unsigned char kLensVertexShader[];
extern const std::size_t kLensVertexShaderSize;
extern const unsigned char kLensPixelShader[];
extern const std::size_t kLensPixelShaderSize;
