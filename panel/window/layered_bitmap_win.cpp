#include "panel/window/layered_bitmap_win.h"

#include <algorithm>

#include "core/dib_section_win.h"

bool LayeredBitmap::Reset(int width, int height) {
  if (!Ensure(width, height)) return false;
  std::fill_n(bits_, static_cast<size_t>(width_) * static_cast<size_t>(height_), 0u);
  return true;
}

bool LayeredBitmap::Ensure(int width, int height) {
  if (width < 1 || height < 1) return false;
  if (!bitmap_ || width != width_ || height != height_) {
    bitmap_.reset();
    bits_ = nullptr;
    width_ = height_ = 0;
    void* bits = nullptr;
    bitmap_ = CreateTopDownDib(nullptr, width, height, bits);
    if (!bitmap_) return false;
    bits_ = static_cast<uint32_t*>(bits);
    width_ = width;
    height_ = height;
  }
  GdiFlush();
  return true;
}

bool LayeredBitmap::Push(HWND window, const POINT* position) const {
  if (!window || !bitmap_) return false;
  GdiFlush();
  UniqueMemoryDc memory(CreateCompatibleDC(nullptr));
  if (!memory) return false;
  GdiSelection selected(memory.get(), bitmap_.get());
  if (!selected.Succeeded()) return false;
  POINT origin{0, 0};
  SIZE size{width_, height_};
  BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  POINT at = position ? *position : POINT{};
  return UpdateLayeredWindow(window, nullptr, position ? &at : nullptr, &size, memory.get(), &origin, 0, &blend,
                             ULW_ALPHA) != FALSE;
}
