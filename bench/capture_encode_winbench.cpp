// Screen capture and vision encoding under Wine, each next to the bare platform calls it wraps, so
// the difference is this program's own work. Google Benchmark is built for the host only, hence a
// plain timing loop; run by hand:
//   cmake --build <windows build> --target capture_encode_winbench
//   scripts/wine-exec <windows build>/capture_encode_winbench.exe     (with a DISPLAY)
#include <windows.h>
#include <objbase.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

#include "core/dib_section_win.h"
#include "bench/median_timing.h"
#include "screen/capture.h"
#include "screen/vision_image.h"

namespace {

constexpr int kRuns = 25;

void Report(const char* what, double ours, double bare) {
  std::printf("%-34s ours %8.3f ms   bare %8.3f ms   ours/bare %.3f\n", what, ours, bare, ours / bare);
}

// Only the platform calls of one capture: the screen's device context, a bitmap of the output
// size, one copy (a halftone stretch when scaled) and GetDIBits into an unfilled buffer.
std::unique_ptr<std::uint8_t[]> BareCapture(int width, int height, int outWidth, int outHeight) {
  WindowDc screen(nullptr);
  UniqueMemoryDc memory(CreateCompatibleDC(screen.get()));
  UniqueBitmap bitmap(CreateCompatibleBitmap(screen.get(), outWidth, outHeight));
  const HGDIOBJ previous = SelectObject(memory.get(), bitmap.get());
  if (outWidth == width && outHeight == height) {
    BitBlt(memory.get(), 0, 0, width, height, screen.get(), 0, 0, SRCCOPY);
  } else {
    SetStretchBltMode(memory.get(), HALFTONE);
    SetBrushOrgEx(memory.get(), 0, 0, nullptr);
    StretchBlt(memory.get(), 0, 0, outWidth, outHeight, screen.get(), 0, 0, width, height, SRCCOPY);
  }
  SelectObject(memory.get(), previous);
  std::unique_ptr<std::uint8_t[]> bits(new std::uint8_t[static_cast<std::size_t>(outWidth) * outHeight * 4]);
  BITMAPINFO info = TopDownBgrxInfo(outWidth, outHeight);
  GetDIBits(memory.get(), bitmap.get(), 0, static_cast<UINT>(outHeight), bits.get(), &info, DIB_RGB_COLORS);
  return bits;
}

// A page of dark text lines on white, 1440 x 810, the size of a vision scan.
ScreenImage DocumentImage() {
  ScreenImage image;
  image.width = kVisionMaxSide;
  image.height = kVisionMaxSide * 9 / 16;
  image.pixels.resize(static_cast<std::size_t>(image.width) * image.height * 4);
  unsigned state = 1;
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      state = state * 1103515245u + 12345u;
      const bool ink = (y % 24) >= 6 && (y % 24) < 18 && (x / 9) % 7 != 0 && ((state >> 16) & 3) != 0;
      std::uint8_t* pixel = &image.pixels[(static_cast<std::size_t>(y) * image.width + x) * 4];
      pixel[0] = pixel[1] = pixel[2] = ink ? 30 : 250;
      pixel[3] = 0;
    }
  }
  return image;
}

}  // namespace

int main() {
  if (FAILED(CoInitializeEx(nullptr, COINIT_MULTITHREADED))) return 1;
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  std::printf("screen %d x %d, median of %d runs\n", width, height, kRuns);

  Report("capture, full resolution", MedianMs(kRuns, [] { CaptureFullScreen(false, 0); }),
         MedianMs(kRuns, [&] { BareCapture(width, height, width, height); }));
  const std::optional<CapturePlan> scaled = PlanCapture(PixelRectAt(0, 0, width, height), kVisionMaxSide);
  Report("capture, scaled to 1440", MedianMs(kRuns, [] { CaptureFullScreen(false, kVisionMaxSide); }),
         MedianMs(kRuns, [&] { BareCapture(width, height, scaled->outWidth, scaled->outHeight); }));

  // The bare encoder copies ready-made 24-bit rows; ours starts from the 32-bit image and ends
  // with the data URL.
  ScreenImage page = DocumentImage();
  std::vector<std::uint8_t> ready(static_cast<std::size_t>(page.width) * page.height * 3);
  OpaqueBgr24Rows(page, 0, page.height, ready.data());
  const std::size_t stride = static_cast<std::size_t>(page.width) * 3;
  const Bgr24RowsFn readyRows = [&](int firstRow, int rowCount, std::uint8_t* bgr) {
    std::memcpy(bgr, &ready[firstRow * stride], rowCount * stride);
  };
  Report("vision encoding, 1440 x 810", MedianMs(kRuns, [&] { EncodeVisionImage(page); }),
         MedianMs(kRuns, [&] { EncodeBgr24JpegWithWic(page.width, page.height, readyRows); }));
  CoUninitialize();
  return 0;
}
