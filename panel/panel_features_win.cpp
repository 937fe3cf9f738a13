// The panel's plug-in points for features drawn or driven elsewhere (painting, the stealth strip,
// the snip overlay, the context menu, hands-free scanning, settings rows and hotkey recording).
// Each body is the plain behaviour the panel needs until that feature is in place.
#include "panel/tutor_panel_win.h"

#include "hotkeys/hotkey_editor.h"

void TutorPanel::Paint() {
  PAINTSTRUCT paint{};
  HDC dc = BeginPaint(main_, &paint);
  if (dc) {
    UniqueBrush background(CreateSolidBrush(settings_.lightTheme ? RGB(0xF6, 0xF6, 0xF9)
                                                                 : RGB(0x1E, 0x1E, 0x22)));
    if (background) FillRect(dc, &paint.rcPaint, background.get());
  }
  EndPaint(main_, &paint);
}

void TutorPanel::RedrawStrip(bool) {}

void TutorPanel::PositionStrip() {}

void TutorPanel::ShowStripWorking() { RedrawStrip(false); }

void TutorPanel::StartSnip() {}

void TutorPanel::OpenContextMenu(int, int) {}

void TutorPanel::CopyAnswer() {}

void TutorPanel::HandsFreeTick() {}

void TutorPanel::HandleHotkeyCaptured(WPARAM wParam, LPARAM lParam) {
  int slot = captureSlot_;
  SetCaptureSlot(-1);  // recording ends whatever the result
  CaptureOutcome outcome = CaptureOutcome::Cancelled;
  if (IsValidSlot(slot)) {
    outcome = ApplyCapturedHotkey(settings_.hotkeys, slot, static_cast<uint32_t>(wParam),
                                  static_cast<uint32_t>(lParam));
    if (outcome == CaptureOutcome::Saved || outcome == CaptureOutcome::Cleared) {
      settingsStore_.SaveHotkeys(settings_.hotkeys);
    }
  }
  HotkeyStatus status = StatusAfterCapture(outcome);
  hotkeyStatus_ = status.text;
  hotkeyStatusError_ = status.error;
  InvalidateRect(main_, nullptr, FALSE);
}

void TutorPanel::ResetHotkeys() {
  SetCaptureSlot(-1);
  settings_.hotkeys = DefaultHotkeyTable();
  settingsStore_.SaveHotkeys(settings_.hotkeys);
  hotkeyStatus_ = kDefaultsRestoredStatus.text;
  hotkeyStatusError_ = kDefaultsRestoredStatus.error;
  InvalidateRect(main_, nullptr, FALSE);
}

void TutorPanel::ApplySettingCommand(int) {}

void TutorPanel::LayoutSettingsPage(bool) {
  for (int id = control_id::SignInField; id <= kLastControlId; ++id) {
    if (HWND child = control(id)) ShowWindow(child, SW_HIDE);
  }
}
