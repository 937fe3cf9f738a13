// Screen copies with GDI: a bit-block transfer, or a halftone stretch when the image is scaled.
#include <windows.h>

#include "screen/capture.h"
#include "screen/gdi_handles_win.h"

namespace {

bool CopyIntoMemoryDc(HDC screen, HDC memory, const CapturePlan& plan) {
  const CaptureRect& source = plan.source;
  if (!plan.Stretches()) {
    return BitBlt(memory, 0, 0, source.width, source.height, screen, source.left, source.top, SRCCOPY) != FALSE;
  }
  SetStretchBltMode(memory, HALFTONE);
  SetBrushOrgEx(memory, 0, 0, nullptr);
  return StretchBlt(memory, 0, 0, plan.outWidth, plan.outHeight, screen, source.left, source.top,
                    source.width, source.height, SRCCOPY) != FALSE;
}

ScreenImage ReadTopDownBits(HDC memory, HBITMAP bitmap, int width, int height) {
  ScreenImage image;
  image.pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
  BITMAPINFO info = TopDownBgrxInfo(width, height);
  const int lines = GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), image.pixels.data(), &info, DIB_RGB_COLORS);
  if (lines != height) return {};
  image.width = width;
  image.height = height;
  return image;
}

ScreenImage Capture(const CapturePlan& plan) {
  ScreenDc screen(GetDC(nullptr));
  if (!screen.Get()) return {};
  MemoryDc memory(CreateCompatibleDC(screen.Get()));
  GdiBitmap bitmap(CreateCompatibleBitmap(screen.Get(), plan.outWidth, plan.outHeight));
  if (!memory.Get() || !bitmap.Get()) return {};
  GdiSelection selection(memory.Get(), bitmap.Get());
  const bool copied = selection.Succeeded() && CopyIntoMemoryDc(screen.Get(), memory.Get(), plan);
  selection.Restore();  // a selected bitmap must not be read with GetDIBits
  if (!copied) return {};
  return ReadTopDownBits(memory.Get(), bitmap.Get(), plan.outWidth, plan.outHeight);
}

}  // namespace

ScreenImage CaptureScreenRect(int left, int top, int width, int height, int maxSide) {
  const std::optional<CapturePlan> plan = PlanCapture({left, top, width, height}, maxSide);
  if (!plan) return {};
  return Capture(*plan);
}

CaptureRect FullScreenArea(bool allMonitors) {
  return FullScreenArea(allMonitors, [](int index) { return GetSystemMetrics(index); });
}

ScreenImage CaptureFullScreen(bool allMonitors, int maxSide) {
  const CaptureRect area = FullScreenArea(allMonitors);
  return CaptureScreenRect(area.left, area.top, area.width, area.height, maxSide);
}

bool CapturePrimaryThumbnail(ScreenThumbnail& thumbnail) {
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  if (width <= 0 || height <= 0) return false;
  ScreenDc screen(GetDC(nullptr));
  if (!screen.Get()) return false;
  MemoryDc memory(CreateCompatibleDC(screen.Get()));
  const BITMAPINFO info = TopDownBgrxInfo(kThumbnailWidth, kThumbnailHeight);
  void* bits = nullptr;
  GdiBitmap section(CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!memory.Get() || !section.Get() || !bits) return false;
  GdiSelection selection(memory.Get(), section.Get());
  if (!selection.Succeeded()) return false;
  SetStretchBltMode(memory.Get(), HALFTONE);
  SetBrushOrgEx(memory.Get(), 0, 0, nullptr);
  if (!StretchBlt(memory.Get(), 0, 0, kThumbnailWidth, kThumbnailHeight, screen.Get(), 0, 0, width, height, SRCCOPY)) {
    return false;
  }
  GdiFlush();
  ReduceToLuma(static_cast<const std::uint8_t*>(bits), kThumbnailBytes, thumbnail.luma.data());
  return true;
}
