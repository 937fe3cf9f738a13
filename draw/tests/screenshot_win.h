#pragma once
// Pictures drawn by GDI+ in the Windows tests, kept for a person to look at:
// $VYK_BUILD_DIR/screenshots/<name>.png.
#include <windows.h>

#include <gdiplus.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

// The PNG encoder's class ID, or none.
inline bool PngEncoder(CLSID& out) {
  UINT count = 0, bytes = 0;
  if (Gdiplus::GetImageEncodersSize(&count, &bytes) != Gdiplus::Ok || bytes == 0) return false;
  std::vector<BYTE> buffer(bytes);
  auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
  if (Gdiplus::GetImageEncoders(count, bytes, codecs) != Gdiplus::Ok) return false;
  for (UINT i = 0; i < count; ++i) {
    if (std::wstring(codecs[i].MimeType) == L"image/png") {
      out = codecs[i].Clsid;
      return true;
    }
  }
  return false;
}

// Saves `bitmap` (flush its graphics first) as the screenshot `name`. True when saved, or when
// no build folder is named and nothing is to be saved.
inline bool SaveScreenshot(Gdiplus::Bitmap& bitmap, const char* name) {
  const char* buildDir = std::getenv("VYK_BUILD_DIR");
  if (!buildDir || !*buildDir) return true;
  std::string folder = buildDir;
  if (folder.front() == '/') folder = "Z:" + folder;  // Wine's drive for the Unix root
  const std::filesystem::path directory = std::filesystem::path(folder) / "screenshots";
  std::error_code ignored;
  std::filesystem::create_directories(directory, ignored);
  const std::wstring file = (directory / (std::string(name) + ".png")).wstring();
  CLSID png;
  return PngEncoder(png) && bitmap.Save(file.c_str(), &png, nullptr) == Gdiplus::Ok &&
         std::filesystem::exists(file);
}
