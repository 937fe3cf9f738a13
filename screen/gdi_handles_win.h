#pragma once
// Owning wrappers for the GDI objects a screen copy needs, so each one is released on every
// return path, in reverse order of creation.
#include <windows.h>

// Owns one GDI handle and frees it with `Free` on destruction.
template <class Handle, auto Free>
class OwnedGdi {
 public:
  explicit OwnedGdi(Handle handle) : handle_(handle) {}
  ~OwnedGdi() {
    if (handle_) Free(handle_);
  }
  OwnedGdi(const OwnedGdi&) = delete;
  OwnedGdi& operator=(const OwnedGdi&) = delete;
  Handle Get() const { return handle_; }

 private:
  Handle handle_;
};

// The device context of the whole screen, from GetDC(nullptr).
using ScreenDc = OwnedGdi<HDC, [](HDC dc) { ReleaseDC(nullptr, dc); }>;
// A memory device context, from CreateCompatibleDC.
using MemoryDc = OwnedGdi<HDC, [](HDC dc) { DeleteDC(dc); }>;
// A bitmap (device-dependent or DIB section).
using GdiBitmap = OwnedGdi<HBITMAP, [](HBITMAP bitmap) { DeleteObject(bitmap); }>;

// Selects an object into a device context and puts the previous one back, at the latest on
// destruction. Declared after the object it selects, so it is undone before that object dies.
class GdiSelection {
 public:
  GdiSelection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  ~GdiSelection() { Restore(); }
  GdiSelection(const GdiSelection&) = delete;
  GdiSelection& operator=(const GdiSelection&) = delete;
  bool Succeeded() const { return previous_ != nullptr && previous_ != HGDI_ERROR; }
  void Restore() {
    if (Succeeded()) SelectObject(dc_, previous_);
    previous_ = nullptr;
  }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

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
