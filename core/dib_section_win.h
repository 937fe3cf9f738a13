#pragma once
// A 32-bit top-down DIB section: rows from the top, four bytes a pixel (blue, green, red, alpha),
// `width` × 4 bytes a row, its pixels written directly through `bits`.
#include <windows.h>

#include "core/unique_handle_win.h"

// Null (and `bits` null) when the size is not positive or the section cannot be made.
inline UniqueBitmap CreateTopDownDib(HDC dc, int width, int height, void*& bits) {
  bits = nullptr;
  if (width <= 0 || height <= 0) return {};
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  UniqueBitmap section(CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!section || !bits) {
    bits = nullptr;
    return {};
  }
  return section;
}
