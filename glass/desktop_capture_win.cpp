#include "glass/desktop_capture_win.h"

PanelPlacement PlacementOf(HWND panelWindow) {
  PanelPlacement placement;
  RECT client{};
  POINT origin{0, 0};
  if (!GetClientRect(panelWindow, &client) || !ClientToScreen(panelWindow, &origin)) return placement;
  OffsetRect(&client, origin.x, origin.y);
  placement.panel = PixelRect{client.left, client.top, client.right, client.bottom};
  HMONITOR monitor = MonitorFromRect(&client, MONITOR_DEFAULTTONULL);
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (monitor && GetMonitorInfoW(monitor, &info)) {
    placement.monitor = reinterpret_cast<std::uintptr_t>(monitor);
    placement.monitorRect = {info.rcMonitor.left, info.rcMonitor.top, info.rcMonitor.right, info.rcMonitor.bottom};
  }
  return placement;
}

DesktopCapture::DesktopCapture() = default;

HRESULT DesktopCapture::CreateLensResources(ID3D11Device* device) {
  HRESULT result = lens_.Create(device);
  if (FAILED(result)) return result;
  return lens_.CreateSwapChain(device);
}

CaptureOutcome DesktopCapture::CaptureAndRender(HWND panelWindow, ID3D11Device* device, ID3D11DeviceContext* context,
                                                float scale, float radiusPx) {
  device_ = device;
  context_ = context;
  source_.Use(device, context);
  CaptureOutcome outcome = controller_.Tick(PlacementOf(panelWindow), scale, radiusPx);
  context_ = nullptr;
  device_ = nullptr;
  source_.Use(nullptr, nullptr);
  return outcome;
}

std::int32_t DesktopCapture::SwapChainLens::RenderLens(const PixelRect& monitor, const PixelRect& panel,
                                                       float radiusPx, float scale, OutputRotation rotation) {
  HRESULT result = owner_.lens_.Render(owner_.device_, owner_.context_, owner_.source_.DesktopCopy(), monitor, panel,
                                       radiusPx, scale, nullptr, rotation);
  if (SUCCEEDED(result)) result = owner_.lens_.Present();
  return SUCCEEDED(result) ? 0 : static_cast<std::int32_t>(result);
}
