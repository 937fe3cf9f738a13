#pragma once
// 32-bit top-down device-independent bitmaps: rows from the top, four bytes a pixel (blue, green,
// red, alpha), `width` × 4 bytes a row. Their header, and a DIB section written through `bits`.
#include <windows.h>

#include "core/unique_handle_win.h"

// The header of a 32-bit, uncompressed, top-down device-independent bitmap (also the header a
// screen copy reads its pixels with).
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

// Null (and `bits` null) when the size is not positive or the section cannot be made.
inline UniqueBitmap CreateTopDownDib(HDC dc, int width, int height, void*& bits) {
  bits = nullptr;
  if (width <= 0 || height <= 0) return {};
  const BITMAPINFO info = TopDownBgrxInfo(width, height);
  UniqueBitmap section(CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!section || !bits) {
    bits = nullptr;
    return {};
  }
  return section;
}
