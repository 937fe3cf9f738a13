// shader-compiler.exe: compiles one HLSL source at build time and writes the bytecode as a C++
// source with a byte array, so the program links its shaders instead of compiling them at run time.
//
//   shader-compiler.exe SOURCE.hlsl ENTRY PROFILE SYMBOL OUTPUT.cpp
//
// The output defines `const unsigned char SYMBOL[]` and `const std::size_t SYMBOLSize`. It uses the
// system's d3dcompiler_47.dll (also under Wine, which needs no display for it). Exit code 0 on
// success; 1 with the compiler's messages on standard error otherwise; 2 for wrong arguments.
#include <windows.h>
#include <d3dcompiler.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

using CompileFunction = HRESULT(WINAPI*)(const void*, SIZE_T, const char*, const D3D_SHADER_MACRO*, ID3DInclude*,
                                          const char*, const char*, UINT, UINT, ID3DBlob**, ID3DBlob**);

std::string Narrow(const wchar_t* text) {
  int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string result(size > 0 ? size - 1 : 0, '\0');
  if (size > 1) WideCharToMultiByte(CP_UTF8, 0, text, -1, result.data(), size, nullptr, nullptr);
  return result;
}

bool ReadWhole(const wchar_t* path, std::string& text) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return false;
  std::ostringstream content;
  content << file.rdbuf();
  text = content.str();
  return true;
}

// Only rewrites the output when its text changed, so an unchanged shader does not relink the program.
bool WriteIfChanged(const wchar_t* path, const std::string& text) {
  std::string old;
  if (ReadWhole(path, old) && old == text) return true;
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file << text;
  return static_cast<bool>(file);
}

std::string ByteArraySource(const std::string& symbol, const std::string& source, const unsigned char* bytes,
                            size_t size) {
  std::string text = "// Generated at build time from " + source + " by shader-compiler.exe; do not edit.\n";
  text += "#include <cstddef>\n\n";
  text += "extern const unsigned char " + symbol + "[] = {";
  char item[16];
  for (size_t i = 0; i < size; ++i) {
    std::snprintf(item, sizeof item, "%s%u,", i % 20 == 0 ? "\n    " : "", bytes[i]);
    text += item;
  }
  text += "\n};\n";
  text += "extern const std::size_t " + symbol + "Size = " + std::to_string(size) + ";\n";
  return text;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 6) {
    std::fprintf(stderr, "usage: shader-compiler SOURCE.hlsl ENTRY PROFILE SYMBOL OUTPUT.cpp\n");
    return 2;
  }
  const std::string sourceName = Narrow(argv[1]), entry = Narrow(argv[2]), profile = Narrow(argv[3]),
                    symbol = Narrow(argv[4]);
  std::string hlsl;
  if (!ReadWhole(argv[1], hlsl)) {
    std::fprintf(stderr, "shader-compiler: cannot read %s\n", sourceName.c_str());
    return 1;
  }
  HMODULE library = LoadLibraryW(L"d3dcompiler_47.dll");
  auto compile = library ? reinterpret_cast<CompileFunction>(
                               reinterpret_cast<void*>(GetProcAddress(library, "D3DCompile")))
                         : nullptr;
  if (!compile) {
    std::fprintf(stderr, "shader-compiler: d3dcompiler_47.dll or its D3DCompile is missing\n");
    return 1;
  }
  ID3DBlob* code = nullptr;
  ID3DBlob* messages = nullptr;
  HRESULT result = compile(hlsl.data(), hlsl.size(), sourceName.c_str(), nullptr, nullptr, entry.c_str(),
                           profile.c_str(), D3DCOMPILE_ENABLE_STRICTNESS | D3DCOMPILE_OPTIMIZATION_LEVEL3, 0,
                           &code, &messages);
  if (messages) {
    std::fwrite(messages->GetBufferPointer(), 1, messages->GetBufferSize(), stderr);
    messages->Release();
  }
  if (FAILED(result) || !code) {
    std::fprintf(stderr, "shader-compiler: %s (%s, %s) failed (0x%08lX)\n", sourceName.c_str(), entry.c_str(),
                 profile.c_str(), static_cast<unsigned long>(result));
    if (code) code->Release();
    return 1;
  }
  std::string base = sourceName.substr(sourceName.find_last_of("/\\") + 1);
  std::string text = ByteArraySource(symbol, base, static_cast<const unsigned char*>(code->GetBufferPointer()),
                                     code->GetBufferSize());
  code->Release();
  if (!WriteIfChanged(argv[5], text)) {
    std::fprintf(stderr, "shader-compiler: cannot write %s\n", Narrow(argv[5]).c_str());
    return 1;
  }
  return 0;
}
