// The panel's plug-in points for features drawn or driven elsewhere (painting, the stealth strip,
// the snip overlay, the context menu, hands-free scanning, settings rows and hotkey recording).
// Each body is the plain behaviour the panel needs until that feature is in place.
#include "panel/tutor_panel_win.h"

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

void TutorPanel::HandleHotkeyCaptured(WPARAM, LPARAM) {
  SetCaptureSlot(-1);
  hotkeyStatus_.clear();
  hotkeyStatusError_ = false;
  InvalidateRect(main_, nullptr, FALSE);
}

void TutorPanel::ResetHotkeys() {
  SetCaptureSlot(-1);
  hotkeyStatus_ = L"Defaults restored";
  hotkeyStatusError_ = false;
  InvalidateRect(main_, nullptr, FALSE);
}

void TutorPanel::ApplySettingCommand(int) {}

void TutorPanel::LayoutSettingsPage(bool) {
  for (int id = control_id::SignInField; id <= kLastControlId; ++id) {
    if (HWND child = control(id)) ShowWindow(child, SW_HIDE);
  }
}
