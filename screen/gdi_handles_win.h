#pragma once
// The bitmap header a screen copy reads its pixels with.
#include <windows.h>

#include "core/unique_handle_win.h"

// The header of a 32-bit, uncompressed, top-down device-independent bitmap.
inline BITMAPINFO TopDownBgrxInfo(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}
