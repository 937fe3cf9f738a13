// The settings page on the panel: what a change on the page asks of the windows (the setters' side
// effects, the recording and the bindings, the tooltips), the row hover, the style status and the
// page's painting.
#include <windowsx.h>

#include "hotkeys/hook_state.h"
#include "panel/settings_paint.h"
#include "panel/tutor_panel_win.h"

void TutorPanel::ApplySettingsEffects(const SettingsEffects& effects) {
  if (effects.captureChanged) LiveHookState().SetCaptureSlot(state_.captureSlot);
  if (effects.bindingsChanged) {
    PublishHotkeys(state_.settings.hotkeys);
    UpdateTooltips();
  }
  if (effects.pill) {
    const PillMove& move = *effects.pill;
    StartAnimation(move.slot, {move.fromX, 0, move.fromWidth, 0}, {move.toX, 0, move.toWidth, 0});
  }
  ApplySettingChange(effects.changed);
  if (effects.relayout) Relayout();
  if (effects.accountOpened && IsWindowVisible(controls_.Get(control_id::SignInField))) {
    controls_.Focus(control_id::SignInField);
  }
  if (effects.repaint) Repaint();
}

void TutorPanel::ApplySettingChange(SettingChange change) {
  const UiSettings& settings = state_.settings;
  switch (change) {
    case SettingChange::Theme:
      if (glass_) {
        glass_->SetDark(!settings.lightTheme);
        if (state_.glassActive) glass_->ClearStatus();
      }
      controls_.RemakeEditBrush(settings.lightTheme);
      controls_.SetEditsFaded(state_.glassActive);
      UpdateGlassTimer();
      break;
    case SettingChange::LiquidGlass:
      if (settings.liquidGlass && glass_) glass_->ClearStatus();
      EvaluateBackdrop();
      break;
    case SettingChange::HandsFree: ResetHandsFree(true); break;
    case SettingChange::StripWidth:
    case SettingChange::StripSide: ReshowStrip(); break;  // a glowing strip takes its new place's colour
    case SettingChange::Quality:
    case SettingChange::VisionOnScan:
    case SettingChange::None: break;
  }
}

AccountArea TutorPanel::CurrentAccountArea() const {
  return ChooseAccountArea(services_.hosted, state_.account.signedIn, signIn_.codeStage());
}

void TutorPanel::RefreshStyleStatus() {
  BackdropVerdict verdict = BackdropVerdict::None;
  std::wstring glassStatus;
  if (glass_ && state_.glassActive) {
    if (glass_->lensShown()) verdict = glass_->dark() ? BackdropVerdict::Dark : BackdropVerdict::Light;
    glassStatus = glass_->StatusText();
  }
  const UiSettings& settings = state_.settings;
  std::wstring status = StyleStatusText(settings.liquidGlass, state_.glassActive, settings.lightTheme, verdict,
                                        glassStatus);
  if (status == styleStatus_) return;
  styleStatus_ = std::move(status);
  controls_.SetText(control_id::Settings, SettingsButtonName(styleStatus_).c_str());
  Repaint();
}

void TutorPanel::UpdateTooltips() {
  if (tooltip_) tooltip_->SetTips(PanelTips(state_.settings.hotkeys), [this](int id) { return controls_.Get(id); });
}

std::wstring TutorPanel::TooltipText(int id) const {
  return tooltip_ ? tooltip_->TipText(controls_.Get(id)) : std::wstring();
}

LRESULT TutorPanel::OnSettingsMouseMove(WPARAM wParam, LPARAM lParam) {
  const float x = static_cast<float>(GET_X_LPARAM(lParam)) / state_.uiScale;
  const float y = static_cast<float>(GET_Y_LPARAM(lParam)) / state_.uiScale;
  if (settingsPage_.UpdateHover(LogicalWidth(), x, y)) {
    for (bool hovered : settingsPage_.hover()) {
      if (!hovered) continue;
      TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, main_, 0};
      TrackMouseEvent(&track);
      break;
    }
    Repaint();
  }
  return Default(WM_MOUSEMOVE, wParam, lParam);
}

SettingsPagePainter TutorPanel::SettingsPainter() {
  return [this](Canvas& canvas, GlyphMeasurer& measurer, const PanelView& view, float width, float height) {
    SettingsPaintView page;
    page.settings = state_.settings;
    page.openSection = settingsPage_.openSection();
    page.animations = settingsPage_.animations();
    page.now = GetTickCount64();
    page.hover = settingsPage_.hover();
    page.styleStatus = styleStatus_;
    page.captureSlot = state_.captureSlot;
    page.hotkeyStatus = state_.hotkeyStatus;
    page.hotkeyStatusError = state_.hotkeyStatusError;
    AccountPaintView& account = page.account;
    account.area = CurrentAccountArea();
    account.email = state_.account.email;
    account.statusLine = signIn_.StatusLine(state_.account);
    account.statusIsError = signIn_.statusIsError();
    account.jobRunning = accountJob_ != nullptr;
    account.codeStage = signIn_.codeStage();
    account.fieldText = controls_.Text(control_id::SignInField);
    account.fieldFocused = controls_.Focused(control_id::SignInField);
    account.caretVisible = state_.caretVisible;
    PaintSettingsPage(canvas, measurer, view, width, height, page);
  };
}
