// The panel object's view state: visibility, stealth, pages, placement, backdrop and timers.
#include "panel/tutor_panel_win.h"

#include <dwmapi.h>

namespace {
// Window attributes newer than some SDK headers.
constexpr DWORD kDwmUseHostBackdropBrush = 17;
constexpr DWORD kDwmNcRenderingPolicy = 2;
constexpr DWORD kDwmNcRenderingDisabled = 1;
constexpr DWORD kDwmBorderColor = 34;
constexpr DWORD kDwmColorNone = 0xFFFFFFFE;
constexpr LONG_PTR kNoRedirectionBitmap = 0x00200000L;

bool TransparencyEnabled() {
  DWORD value = 1;
  DWORD size = sizeof(value);
  LSTATUS status = RegGetValueW(HKEY_CURRENT_USER,
                                L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize",
                                L"EnableTransparency", RRF_RT_REG_DWORD, nullptr, &value, &size);
  return status != ERROR_SUCCESS || value != 0;
}

bool HighContrastOn() {
  HIGHCONTRASTW contrast{};
  contrast.cbSize = sizeof(contrast);
  if (!SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(contrast), &contrast, 0)) return false;
  return (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

PixelRect ToPixelRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }
}  // namespace

TutorPanel::TutorPanel(HINSTANCE instance, TutorServices services)
    : instance_(instance),
      services_(std::move(services)),
      settingsPath_(SettingsPath()),
      settingsFile_(settingsPath_),
      settingsStore_(settingsPath_.empty() ? nullptr : &settingsFile_) {}

TutorPanel::~TutorPanel() = default;

HWND TutorPanel::control(int id) const {
  if (id < kFirstControlId || id > kLastControlId) return nullptr;
  return controls_[static_cast<size_t>(id - kFirstControlId)];
}

float TutorPanel::LogicalWidth() const {
  RECT client{};
  GetClientRect(main_, &client);
  return static_cast<float>(client.right) / uiScale_;
}

float TutorPanel::LogicalHeight() const {
  RECT client{};
  GetClientRect(main_, &client);
  return static_cast<float>(client.bottom) / uiScale_;
}

void TutorPanel::ShowActiveFrame() { DefWindowProcW(main_, WM_NCACTIVATE, TRUE, -1); }

void TutorPanel::SetVisible(bool show) {
  visible_ = show;
  SetVisibleMirror(show);
  if (stealth_) {
    ShowWindow(main_, SW_HIDE);
    UpdateShadow();
    UpdateGlassTimer();
    if (strip_) {
      if (show) {
        PositionStrip();
        ShowWindow(strip_.get(), SW_SHOWNOACTIVATE);
      } else {
        KillTimer(main_, panel_timer::StripPulse);
        pulseStart_ = 0;
        RedrawStrip(false);
        ShowWindow(strip_.get(), SW_HIDE);
      }
    }
  } else {
    if (strip_) ShowWindow(strip_.get(), SW_HIDE);
    ShowWindow(main_, show ? SW_SHOW : SW_HIDE);
    UpdateShadow();
    UpdateGlassTimer();
    if (show && glassActive_) ShowActiveFrame();
  }
  RearmHandsFreeTimer(show);
}

void TutorPanel::SetStealth(bool on) {
  if (on == stealth_) return;
  stealth_ = on;
  hotControl_ = 0;
  if (on) {
    ShowWindow(main_, SW_HIDE);
    UpdateShadow();
    KillTimer(main_, panel_timer::GlassFrame);
    PositionStrip();
    if (visible_) {
      if (ReplyReadyToPulse(hasReply_, static_cast<bool>(job_), lastReply_)) {
        StartStripPulse();
      } else {
        RedrawStrip(false);
      }
      if (strip_) ShowWindow(strip_.get(), SW_SHOWNOACTIVATE);
    }
  } else {
    StopStripPulse();
    RedrawStrip(false);
    if (strip_) ShowWindow(strip_.get(), SW_HIDE);
    if (visible_) {
      ShowWindow(main_, SW_SHOW);
      EvaluateBackdrop();
      Place(false);
      UpdateShadow();
      if (glassActive_) ShowActiveFrame();
    }
  }
  RearmHandsFreeTimer(true);
}

void TutorPanel::SetPage(PanelPage page) {
  PagePlan plan = PlanPageSwitch(page_, page, stealth_);
  if (plan.leaveStealth) SetStealth(false);
  HWND box = control(control_id::QuestionBox);
  if (plan.saveQuestion) savedQuestion_ = QuestionBoxText();
  page_ = page;
  SetCaptureSlot(-1);
  hotkeyStatus_.clear();
  hotkeyStatusError_ = false;
  if (page == PanelPage::Question && box) {
    SendMessageW(box, EM_SETLIMITTEXT, kQuestionMaxChars, 0);
    SendMessageW(box, EM_SETCUEBANNER, TRUE, reinterpret_cast<LPARAM>(kQuestionCue));
    SetWindowTextW(box, savedQuestion_.c_str());
    if (HWND send = control(control_id::Send)) SetWindowTextW(send, L"Send");
  }
  if (HWND ask = control(control_id::Ask)) SetWindowTextW(ask, plan.askButtonText);
  UpdateSendButton();
  Relayout();
  switch (plan.focus) {
    case FocusTarget::QuestionBox: FocusControl(control_id::QuestionBox); break;
    case FocusTarget::GeneralSection: FocusControl(control_id::FirstSection + 1); break;
    case FocusTarget::SettingsButton: FocusControl(control_id::Settings); break;
    case FocusTarget::AskButton: FocusControl(control_id::Ask); break;
  }
  InvalidateRect(main_, nullptr, FALSE);
}

void TutorPanel::Place(bool firstTime) {
  HMONITOR monitor = MonitorFromWindow(main_, MONITOR_DEFAULTTONEAREST);
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  if (!monitor || !GetMonitorInfoW(monitor, &info)) return;
  RECT current{};
  GetWindowRect(main_, &current);
  Placement placement;
  if (!PlacePanel(ToPixelRect(info.rcWork), ToPixelRect(current), dpiScale_, firstTime, placement)) {
    return;
  }
  uiScale_ = placement.uiScale;
  const PixelRect& r = placement.window;
  SetWindowPos(main_, nullptr, r.left, r.top, r.Width(), r.Height(), SWP_NOACTIVATE | SWP_NOZORDER);
  RecreateEditFont();
  UpdateWindowRegion();
  Relayout();
}

void TutorPanel::UpdateWindowRegion() {
  RECT client{};
  GetClientRect(main_, &client);
  auto spans = RoundedRegionSpans(client.right, client.bottom, uiScale_, glassActive_);
  if (spans.empty()) return;
  UniqueRegion region(CreateRectRgn(0, 0, 0, 0));
  if (!region) return;
  for (const RegionSpan& span : spans) {
    UniqueRegion part(CreateRectRgn(span.left, span.top, span.right, span.bottom));
    if (!part) return;
    CombineRgn(region.get(), region.get(), part.get(), RGN_OR);
  }
  if (SetWindowRgn(main_, region.get(), TRUE)) region.release();  // the window owns it now
}

void TutorPanel::EvaluateBackdrop() {
  bool wanted = settings_.liquidGlass && !stealth_ && TransparencyEnabled() && !HighContrastOn() &&
                GetSystemMetrics(SM_REMOTESESSION) == 0;
  if (glass_) glass_->SetDarkTheme(!settings_.lightTheme);
  BOOL hostBackdrop = wanted ? TRUE : FALSE;
  bool attributeSet = SUCCEEDED(DwmSetWindowAttribute(main_, kDwmUseHostBackdropBrush, &hostBackdrop,
                                                      sizeof(hostBackdrop)));
  glassActive_ = attributeSet && wanted && glass_ && glass_->Initialize(main_);
  if (!glassActive_ && glass_) glass_->Teardown();

  LONG_PTR exStyle = GetWindowLongPtrW(main_, GWL_EXSTYLE);
  LONG_PTR wantedStyle = glassActive_ ? (exStyle | kNoRedirectionBitmap) : (exStyle & ~kNoRedirectionBitmap);
  if (wantedStyle != exStyle) {
    SetWindowLongPtrW(main_, GWL_EXSTYLE, wantedStyle);
    SetWindowPos(main_, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }

  RemakeEditBrush();
  for (int id : {control_id::QuestionBox, control_id::SignInField}) {
    HWND edit = control(id);
    if (!edit) continue;
    SetLayeredWindowAttributes(edit, 0, glassActive_ ? 1 : 255, LWA_ALPHA);
    if (IsWindowVisible(edit)) InvalidateRect(edit, nullptr, TRUE);
  }
  caretVisible_ = true;
  UpdateCaretTimer();

  DWORD policy = kDwmNcRenderingDisabled;
  DwmSetWindowAttribute(main_, kDwmNcRenderingPolicy, &policy, sizeof(policy));
  DWORD border = kDwmColorNone;
  DwmSetWindowAttribute(main_, kDwmBorderColor, &border, sizeof(border));
  UpdateWindowRegion();

  if (glassActive_ && IsWindowVisible(main_)) ShowActiveFrame();
  UpdateGlassTimer();
  InvalidateRect(main_, nullptr, FALSE);
}

void TutorPanel::UpdateGlassTimer() {
  bool shown = IsWindowVisible(main_) && !IsIconic(main_);
  if (glassActive_ && !stealth_ && shown) {
    SetTimer(main_, panel_timer::GlassFrame, panel_timer::GlassFrameMs, nullptr);
  } else {
    KillTimer(main_, panel_timer::GlassFrame);
    if (glass_) glass_->ReleaseFrameResources();
  }
}

void TutorPanel::UpdateShadow() {
  HWND shadow = shadow_.get();
  if (!shadow) return;
  if (stealth_ || !IsWindowVisible(main_) || IsIconic(main_)) {
    ShowWindow(shadow, SW_HIDE);
    return;
  }
  RECT window{};
  GetWindowRect(main_, &window);
  const int margin = 0;  // the shadow bitmap's margin; none until the shadow is drawn
  SetWindowPos(shadow, nullptr, window.left - margin, window.top - margin, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void TutorPanel::StartAnimation(int slot, const LogicalRect& from, const LogicalRect& to) {
  if (slot < 0 || slot >= static_cast<int>(animations_.size())) return;
  StartSlot(animations_[static_cast<size_t>(slot)], from.x, from.width, to.x, to.width,
            GetTickCount64());
  SetTimer(main_, panel_timer::Animation, panel_timer::AnimationMs, nullptr);
}

void TutorPanel::OnAnimationTick() {
  uint64_t now = GetTickCount64();
  bool running = false;
  for (AnimationSlot& slot : animations_) running = KeepSlotRunning(slot, now) || running;
  if (!running) KillTimer(main_, panel_timer::Animation);
  InvalidateRect(main_, nullptr, FALSE);
}

void TutorPanel::StartStripPulse() {
  pulseStart_ = GetTickCount64();
  if (pulseStart_ == 0) pulseStart_ = 1;  // 0 means no pulse
  SetTimer(main_, panel_timer::StripPulse, panel_timer::StripPulseMs, nullptr);
  RedrawStrip(true);
}

void TutorPanel::StopStripPulse() {
  KillTimer(main_, panel_timer::StripPulse);
  pulseStart_ = 0;
}

void TutorPanel::OnStripPulseTick() {
  uint64_t now = GetTickCount64();
  PulseStep step = NextPulseStep(now, pulseStart_, stealth_, visible_);
  switch (step.kind) {
    case PulseStep::Continue:
      RedrawStrip(true);
      SetTimer(main_, panel_timer::StripPulse, step.rearmMs, nullptr);
      return;
    case PulseStep::Finished:
      StopStripPulse();
      lastPulseEnd_ = now;
      RedrawStrip(false);
      return;
    case PulseStep::Stopped:
      StopStripPulse();
      RedrawStrip(false);
      return;
  }
}

void TutorPanel::UpdateCaretTimer() {
  HWND focus = GetFocus();
  HWND box = control(control_id::QuestionBox);
  HWND signIn = control(control_id::SignInField);
  bool inQuestion = box && focus == box && page_ == PanelPage::Question;
  bool inSignIn = signIn && focus == signIn && page_ == PanelPage::Settings && IsWindowVisible(signIn);
  if (glassActive_ && (inQuestion || inSignIn)) {
    SetTimer(main_, panel_timer::CaretBlink, panel_timer::CaretBlinkMs, nullptr);
  } else {
    KillTimer(main_, panel_timer::CaretBlink);
  }
}

void TutorPanel::OnCaretTick() {
  UpdateCaretTimer();
  caretVisible_ = !caretVisible_;
  InvalidateRect(main_, nullptr, FALSE);
}

void TutorPanel::RearmHandsFreeTimer(bool reset) {
  if (stealth_ && visible_ && settings_.handsFreeSeconds > 0) {
    SetTimer(main_, panel_timer::HandsFree, panel_timer::HandsFreeMs, nullptr);
  } else {
    KillTimer(main_, panel_timer::HandsFree);
  }
  (void)reset;  // the watcher's own state starts over when it exists
}

void TutorPanel::SetCaptureSlot(int slot) {
  captureSlot_ = slot;
  LiveHookState().SetCaptureSlot(slot);
}

void TutorPanel::SetVisibleMirror(bool visible) { LiveHookState().SetPanelVisible(visible); }

void TutorPanel::ToggleCapture(int slot) {
  SetCaptureSlot(ToggleCaptureSlot(captureSlot_, slot));
  hotkeyStatus_.clear();
  hotkeyStatusError_ = false;
  InvalidateRect(main_, nullptr, FALSE);
}

void TutorPanel::ToggleExplanation() {
  explanationShown_ = !explanationShown_;
  if (HWND button = control(control_id::Explanation)) {
    SetWindowTextW(button, explanationShown_ ? L"Hide explanation" : L"Show explanation");
  }
  Relayout();
  InvalidateRect(main_, nullptr, FALSE);
}
