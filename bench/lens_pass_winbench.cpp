// The lens pass under Wine on llvmpipe for a 388 x 486 panel on a 1920 x 1080 desktop: the crop
// copy, its mips, the pixel shader and the read-back of the target, next to the read-back alone;
// and the window and monitor queries every glass tick makes. Run by hand:
//   cmake --build <windows build> --target lens_pass_winbench
//   scripts/wine-exec <windows build>/lens_pass_winbench.exe     (with a DISPLAY)
#include <windows.h>

#include <cstdio>

#include "bench/median_timing.h"
#include "glass/desktop_capture_win.h"
#include "glass/lens_pass_win.h"
#include "glass/tests/lens_fixture_win.h"

namespace {
constexpr int kRuns = 21;
}  // namespace

int main() {
  LensDevice d3d = MakeLensDevice();
  if (FAILED(d3d.result)) {
    std::printf("no Direct3D 11 device (0x%08lX; is DISPLAY set?)\n", static_cast<unsigned long>(d3d.result));
    return 1;
  }
  const PixelRect monitor{0, 0, 1920, 1080};
  const PixelRect panel = PixelRectAt(700, 300, 388, 486);
  UniqueCom<ID3D11Texture2D> desktop = UploadDesktop(d3d.device.get(), SyntheticDesktop(1920, 1080));
  OffscreenTarget target = MakeOffscreenTarget(d3d.device.get(), panel.Width(), panel.Height());
  LensPass pass;
  if (!desktop || !target.view || FAILED(pass.Create(d3d.device.get()))) {
    std::printf("the lens pass could not be set up\n");
    return 1;
  }
  const double render = MedianMs(kRuns, [&] {
    pass.Render(d3d.device.get(), d3d.context.get(), desktop.get(), monitor, panel, 30.0f, 1.0f, target.view.get());
    ReadBack(d3d.device.get(), d3d.context.get(), target.texture.get());
  });
  const double readBack = MedianMs(kRuns, [&] { ReadBack(d3d.device.get(), d3d.context.get(), target.texture.get()); });

  HWND window = CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP, panel.left, panel.top, panel.Width(),
                                panel.Height(), nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  const double placement = MedianMs(1001, [&] { PlacementOf(window); });
  if (window) DestroyWindow(window);

  std::printf("lens pass 388 x 486, render + read-back  %9.3f ms (median of %d)\n", render, kRuns);
  std::printf("read-back alone                          %9.3f ms (median of %d)\n", readBack, kRuns);
  std::printf("panel and monitor queries of one tick    %9.4f ms (median of 1001)\n", placement);
  return 0;
}
