#include "panel/controllers/snip_controller_win.h"

#include "hotkeys/hook_state.h"

void SnipController::Open(HINSTANCE instance, HWND owner, CapturePolicy policy) {
  if (ports_.queryRunning() || overlay_) return;
  ports_.opening();
  const PixelRect desktop = Desktop();
  if (desktop.Width() <= 0 || desktop.Height() <= 0) return;
  overlay_ = SnipOverlay::Create(instance, owner, desktop, policy);
  if (!overlay_) return;  // never offered where screen capture could record it
  overlay_->OnFinish([this](bool accept) { Finish(accept); });
  LiveHookState().SetPaused(true);  // every key and button reaches the overlay
  if (!overlay_->Open()) {
    // No bitmap for the dim layer (a very large virtual screen, no memory): an overlay that never
    // showed would hold the hotkeys paused, so it closes at once and the user hears why.
    LiveHookState().SetPaused(false);
    overlay_.reset();
    if (ports_.failed) ports_.failed();
    return;
  }
  if (ports_.overlayShown) ports_.overlayShown(true);
}

PixelRect SnipController::Desktop() const {
  if (ports_.desktop) return ports_.desktop();
  // Always the whole virtual screen, whichever monitors a scan would read.
  return PixelRectAt(GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                     GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN));
}

void SnipController::Finish(bool accept) {
  if (!overlay_) return;
  const std::optional<PixelRect> selection = overlay_->session().Finish(accept);
  LiveHookState().SetPaused(false);
  ReleaseCapture();
  overlay_.reset();
  if (ports_.overlayShown) ports_.overlayShown(false);
  if (selection) ports_.snipped(*selection);
}
