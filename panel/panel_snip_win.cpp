// Opening the snip overlay over the whole desktop and ending it, with or without a snip query.
#include "hotkeys/hook_state.h"
#include "panel/tutor_panel_win.h"

void TutorPanel::OpenSnipOverlay() {
  if (state_.queryRunning() || snip_) return;
  if (state_.captureSlot >= 0) ApplySettingsEffects(settingsPage_.CancelRecording(state_));
  // Always the whole virtual screen, whichever monitors a scan would read.
  const PixelRect desktop = PixelRectAt(GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                                        GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN));
  if (desktop.Width() <= 0 || desktop.Height() <= 0) return;
  snip_ = SnipOverlay::Create(instance_, main_, desktop, capturePolicy_);
  if (!snip_) return;  // never offered where screen capture could record it
  snip_->OnFinish([this](bool accept) { FinishSnip(accept); });
  LiveHookState().SetPaused(true);  // every key and button reaches the overlay
  snip_->Open();
  if (observers_.snipOverlay) observers_.snipOverlay(true);
}

void TutorPanel::FinishSnip(bool accept) {
  if (!snip_) return;
  const std::optional<PixelRect> selection = snip_->session().Finish(accept);
  LiveHookState().SetPaused(false);
  ReleaseCapture();
  snip_.reset();
  if (observers_.snipOverlay) observers_.snipOverlay(false);
  if (selection) StartQuery(QueryKind::Snip, SnipRectText(*selection));
}
