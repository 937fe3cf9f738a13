// The programs carry their application manifest: Common Controls 6 and Windows 10 as a supported OS.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

std::string ManifestOf(const std::wstring& program) {
  HMODULE module = LoadLibraryExW(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  if (!module) return "cannot load " + std::string(program.begin(), program.end());
  std::string text;
  if (HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24))) {  // RT_MANIFEST
    if (HGLOBAL loaded = LoadResource(module, found)) {
      text.assign(static_cast<const char*>(LockResource(loaded)), SizeofResource(module, found));
    }
  }
  FreeLibrary(module);
  return text;
}

TEST(Manifest, BothProgramsNameCommonControls6AndWindows10) {
  const char* buildDir = std::getenv("VYK_BUILD_DIR");
  ASSERT_NE(buildDir, nullptr);
  for (const char* name : {"vyk.exe", "vyk-dev.exe"}) {
    std::string path = std::string(buildDir) + "/" + name;
    if (name == std::string("vyk-dev.exe") && GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
      continue;  // the development program is built only with its option on
    }
    const std::string manifest = ManifestOf(std::wstring(path.begin(), path.end()));
    SCOPED_TRACE(name);
    EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""), std::string::npos)
        << manifest;
    EXPECT_NE(manifest.find("<supportedOS Id=\"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}\"/>"), std::string::npos);
    EXPECT_EQ(manifest.find("dpiAware"), std::string::npos) << "DPI awareness is set at start-up";
  }
}

}  // namespace
