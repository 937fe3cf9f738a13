// Screen copies with GDI: a bit-block transfer, or a halftone stretch when the image is scaled.
#include <windows.h>

#include "core/dib_section_win.h"
#include "screen/capture.h"

namespace {

bool CopyIntoMemoryDc(HDC screen, HDC memory, const CapturePlan& plan) {
  const PixelRect& source = plan.source;
  if (!plan.Stretches()) {
    return BitBlt(memory, 0, 0, source.Width(), source.Height(), screen, source.left, source.top, SRCCOPY) != FALSE;
  }
  SetStretchBltMode(memory, HALFTONE);
  SetBrushOrgEx(memory, 0, 0, nullptr);
  return StretchBlt(memory, 0, 0, plan.outWidth, plan.outHeight, screen, source.left, source.top,
                    source.Width(), source.Height(), SRCCOPY) != FALSE;
}

ScreenImage ReadTopDownBits(HDC memory, HBITMAP bitmap, int width, int height) {
  ScreenImage image;
  // Not zero-filled first: GetDIBits writes every byte, and a short read discards the image.
  image.pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
  BITMAPINFO info = TopDownBgrxInfo(width, height);
  const int lines = GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), image.pixels.data(), &info, DIB_RGB_COLORS);
  if (lines != height) return {};
  image.width = width;
  image.height = height;
  return image;
}

ScreenImage Capture(const CapturePlan& plan) {
  WindowDc screen(nullptr);
  if (!screen.get()) return {};
  UniqueMemoryDc memory(CreateCompatibleDC(screen.get()));
  UniqueBitmap bitmap(CreateCompatibleBitmap(screen.get(), plan.outWidth, plan.outHeight));
  if (!memory.get() || !bitmap.get()) return {};
  GdiSelection selection(memory.get(), bitmap.get());
  const bool copied = selection.Succeeded() && CopyIntoMemoryDc(screen.get(), memory.get(), plan);
  selection.Restore();  // a selected bitmap must not be read with GetDIBits
  if (!copied) return {};
  return ReadTopDownBits(memory.get(), bitmap.get(), plan.outWidth, plan.outHeight);
}

}  // namespace

ScreenImage CaptureScreenRect(int left, int top, int width, int height, int maxSide) {
  const std::optional<CapturePlan> plan = PlanCapture(PixelRectAt(left, top, width, height), maxSide);
  if (!plan) return {};
  return Capture(*plan);
}

PixelRect FullScreenArea(bool allMonitors) {
  return FullScreenArea(allMonitors, [](int index) { return GetSystemMetrics(index); });
}

ScreenImage CaptureFullScreen(bool allMonitors, int maxSide) {
  const PixelRect area = FullScreenArea(allMonitors);
  return CaptureScreenRect(area.left, area.top, area.Width(), area.Height(), maxSide);
}

bool CapturePrimaryThumbnail(ScreenThumbnail& thumbnail) {
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  if (width <= 0 || height <= 0) return false;
  WindowDc screen(nullptr);
  if (!screen.get()) return false;
  UniqueMemoryDc memory(CreateCompatibleDC(screen.get()));
  const BITMAPINFO info = TopDownBgrxInfo(kThumbnailWidth, kThumbnailHeight);
  void* bits = nullptr;
  UniqueBitmap section(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!memory.get() || !section.get() || !bits) return false;
  GdiSelection selection(memory.get(), section.get());
  if (!selection.Succeeded()) return false;
  SetStretchBltMode(memory.get(), HALFTONE);
  SetBrushOrgEx(memory.get(), 0, 0, nullptr);
  if (!StretchBlt(memory.get(), 0, 0, kThumbnailWidth, kThumbnailHeight, screen.get(), 0, 0, width, height, SRCCOPY)) {
    return false;
  }
  GdiFlush();
  ReduceToLuma(static_cast<const std::uint8_t*>(bits), kThumbnailBytes, thumbnail.luma.data());
  return true;
}
