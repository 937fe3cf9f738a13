#include "panel/stealth/shadow_window_win.h"

#include <new>

#include "panel/stealth/panel_shadow.h"
#include "panel/window/window_classes_win.h"
#include "panel/window/top_level_styles_win.h"

bool ShadowWindow::Register(HINSTANCE instance) {
  return RegisterWindowClass(instance, kShadowClassName, 0, &Procedure, nullptr);
}

std::unique_ptr<ShadowWindow> ShadowWindow::Create(HINSTANCE instance, HWND panel, CapturePolicy policy) {
  UniqueWindow window(CreateWindowExW(kLayeredOverlayExStyle, kShadowClassName, L"", WS_POPUP, 0, 0, 1, 1,
                                      panel, nullptr, instance, nullptr));
  if (!KeepOnlyIfHidden(window, policy)) return nullptr;
  return std::unique_ptr<ShadowWindow>(new (std::nothrow) ShadowWindow(std::move(window)));
}

bool ShadowWindow::DrawShadow(int width, int height, float uiScale) {
  const int margin = ShadowMargin(uiScale);
  if (width == width_ && height == height_ && margin == margin_) return true;  // already on the window
  std::optional<ShadowMask> mask = RenderShadowMask(width, height, uiScale);
  if (!mask || !bitmap_.Ensure(mask->width, mask->height)) return false;
  // Black with the mask's alpha, premultiplied: only the alpha byte is set.
  uint32_t* bits = bitmap_.bits();
  for (size_t i = 0; i < mask->alpha.size(); ++i) bits[i] = static_cast<uint32_t>(mask->alpha[i]) << 24;
  if (!bitmap_.Push(window_.get(), nullptr)) return false;
  width_ = width;
  height_ = height;
  margin_ = mask->margin;
  return true;
}

void ShadowWindow::Update(HWND panel, bool panelShown, float uiScale) {
  if (!panelShown) {
    ShowWindow(window_.get(), SW_HIDE);
    return;
  }
  RECT rect{};
  GetWindowRect(panel, &rect);
  DrawShadow(rect.right - rect.left, rect.bottom - rect.top, uiScale);
  SetWindowPos(window_.get(), nullptr, rect.left - margin_, rect.top - margin_, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

LRESULT CALLBACK ShadowWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  return DefWindowProcW(window, message, wParam, lParam);  // drawn with UpdateLayeredWindow; no messages of its own
}
