#pragma once
// DesktopCapture: the live desktop behind the panel and the lens drawn from it, for the glass
// object, on the UI thread. The decisions are CaptureController's (glass/capture_controller.h); this
// joins them to the desktop duplication (DxgiFrameSource) and the lens pass (LensPass).
//
// Contract with the glass object:
// - CreateLensResources(device) once, on the first tick, before CaptureAndRender: the shaders, the
//   sampler, the constant buffer and the lens swap chain for composition. S_OK or the failing
//   call's code. LensSwapChain() is then the swap chain to make the lens sprite's composition
//   surface from (null until it exists).
// - CaptureAndRender(...) once per 16 ms tick, with the glass object's device and immediate
//   context: `shown` when the lens image is current (show the lens sprite), not shown when nothing
//   can be shown this tick (Status() says why), or `failure` != 0 with the HRESULT of any other
//   DXGI or Direct3D failure; everything is released already then, and the glass object shows
//   "Ridez: capture failed (0x%08X)" and backs off.
// - Release() when glass stops, on display changes and on errors; the next tick starts afresh.
// - Status(): the capture's status text ("Glass: waiting for desktop frames" at first).
#include <windows.h>
#include <d3d11.h>
#include <dxgi1_2.h>

#include "glass/capture_controller.h"
#include "glass/dxgi_frame_source_win.h"
#include "glass/lens_pass_win.h"

class DesktopCapture {
 public:
  DesktopCapture();
  DesktopCapture(const DesktopCapture&) = delete;
  DesktopCapture& operator=(const DesktopCapture&) = delete;

  HRESULT CreateLensResources(ID3D11Device* device);
  IDXGISwapChain1* LensSwapChain() const { return lens_.SwapChain(); }

  CaptureOutcome CaptureAndRender(HWND panelWindow, ID3D11Device* device, ID3D11DeviceContext* context,
                                  float scale, float radiusPx);
  void Release() { controller_.Release(); }
  const wchar_t* Status() const { return controller_.Status(); }

 private:
  // The lens renderer the controller calls: the lens pass over the frame source's desktop copy,
  // into the lens swap chain, presented.
  class SwapChainLens : public LensRenderer {
   public:
    explicit SwapChainLens(DesktopCapture& owner) : owner_(owner) {}
    std::int32_t RenderLens(const PixelRect& monitor, const PixelRect& panel, float radiusPx, float scale,
                            OutputRotation rotation) override;
    void ReleaseLens() override { owner_.lens_.ReleaseCrop(); }

   private:
    DesktopCapture& owner_;
  };

  ID3D11Device* device_ = nullptr;          // the glass object's, for the current tick
  ID3D11DeviceContext* context_ = nullptr;
  DxgiFrameSource source_;
  LensPass lens_;
  SwapChainLens renderer_{*this};
  CaptureController controller_{source_, renderer_};
};

// Where the panel window's client area is and which monitor holds most of it.
PanelPlacement PlacementOf(HWND panelWindow);
