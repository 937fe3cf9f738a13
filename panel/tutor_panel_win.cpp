// The panel object's life and its view state: the main window, visibility, stealth, pages,
// placement, backdrop and the timers that belong to them.
#include "panel/tutor_panel_win.h"

#include <dwmapi.h>

#include "hotkeys/hook_state.h"
#include "panel/context_menu_win.h"
#include "panel/panel_texts.h"
#include "panel/panel_windows_win.h"

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

TutorPanel::TutorPanel(HINSTANCE instance, TutorServices services, std::wstring settingsPath)
    : instance_(instance),
      services_(std::move(services)),
      settingsPath_(std::move(settingsPath)),
      settingsFile_(settingsPath_),
      settingsStore_(settingsPath_.empty() ? nullptr : &settingsFile_) {}

TutorPanel::~TutorPanel() {
  if (!main_) return;
  HWND main = main_;
  DestroyWindow(main);  // the usual shutdown: timers, other windows, hooks
  // Should the window outlive this (destroyed from another thread, say), it no longer leads here.
  if (main_ && IsWindow(main)) SetWindowLongPtrW(main, GWLP_USERDATA, 0);
  main_ = nullptr;
}

bool TutorPanel::Register(HINSTANCE instance) {
  return RegisterWindowClass(instance, kPanelClassName, CS_DBLCLKS, &WindowProc, IDC_ARROW);
}

bool TutorPanel::CreateMainWindow() {
  CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_CONTROLPARENT, kPanelClassName, panel_text::Title,
                  WS_POPUP, 0, 0, static_cast<int>(kPanelLogicalWidth), static_cast<int>(kPanelLogicalHeight),
                  nullptr, nullptr, instance_, this);
  return main_ != nullptr && IsWindow(main_);
}

void TutorPanel::LoadSettings() {
  if (settingsPath_.empty()) return;
  LoadUiSettingsFromFile(settingsPath_, state_.settings);
  PublishHotkeys(state_.settings.hotkeys);
}

float TutorPanel::LogicalWidth() const {
  RECT client{};
  GetClientRect(main_, &client);
  return static_cast<float>(client.right) / state_.uiScale;
}

float TutorPanel::LogicalHeight() const {
  RECT client{};
  GetClientRect(main_, &client);
  return static_cast<float>(client.bottom) / state_.uiScale;
}

void TutorPanel::ShowActiveFrame() { DefWindowProcW(main_, WM_NCACTIVATE, TRUE, -1); }

void TutorPanel::SetVisible(bool show) {
  state_.visible = show;
  LiveHookState().SetPanelVisible(show);
  if (state_.stealth) {
    ShowWindow(main_, SW_HIDE);
    UpdateShadow();
    UpdateGlassTimer();
    if (show) {
      strip_.Show();
    } else {
      strip_.Hide();
    }
  } else {
    strip_.Hide();
    ShowWindow(main_, show ? SW_SHOW : SW_HIDE);
    UpdateShadow();
    UpdateGlassTimer();
    if (show && state_.glassActive) ShowActiveFrame();
  }
  ResetHandsFree(show);
}

void TutorPanel::SetStealth(bool on) {
  if (on == state_.stealth) return;
  state_.stealth = on;
  controls_.ClearHot();
  if (on) {
    ShowWindow(main_, SW_HIDE);
    UpdateShadow();
    KillTimer(main_, panel_timer::GlassFrame);
    if (glass_) glass_->Hide();
    if (state_.visible) {
      if (ReplyReadyToPulse(state_.hasReply, state_.queryRunning(), state_.lastReply)) {
        strip_.StartPulse();
      } else {
        strip_.Redraw(false);
      }
    }
    strip_.Place(state_.visible);
  } else {
    strip_.Hide();
    if (state_.visible) {
      ShowWindow(main_, SW_SHOW);
      EvaluateBackdrop();
      Place(false);
      UpdateShadow();
      if (state_.glassActive) ShowActiveFrame();
    }
  }
  ResetHandsFree(true);
}

void TutorPanel::SetPage(PanelPage page) {
  PagePlan plan = PlanPageSwitch(state_.page, page, state_.stealth);
  if (plan.leaveStealth) SetStealth(false);
  if (plan.saveQuestion) state_.savedQuestion = controls_.Text(control_id::QuestionBox);
  state_.page = page;
  ApplySettingsEffects(settingsPage_.CancelRecording(state_));
  if (page == PanelPage::Question) {
    if (HWND box = controls_.Get(control_id::QuestionBox)) {
      SendMessageW(box, EM_SETLIMITTEXT, kQuestionMaxChars, 0);
      SendMessageW(box, EM_SETCUEBANNER, TRUE, reinterpret_cast<LPARAM>(panel_text::QuestionCue));
      SetWindowTextW(box, state_.savedQuestion.c_str());
    }
    controls_.SetText(control_id::Send, panel_text::Send);
  }
  controls_.SetText(control_id::Ask, plan.askButtonText);
  UpdateSendButton();
  Relayout();
  switch (plan.focus) {
    case FocusTarget::QuestionBox: controls_.Focus(control_id::QuestionBox); break;
    case FocusTarget::GeneralSection: controls_.Focus(control_id::FirstSection + 1); break;
    case FocusTarget::SettingsButton: controls_.Focus(control_id::Settings); break;
    case FocusTarget::AskButton: controls_.Focus(control_id::Ask); break;
  }
  Repaint();
}

void TutorPanel::Place(bool firstTime) {
  HMONITOR monitor = MonitorFromWindow(main_, MONITOR_DEFAULTTONEAREST);
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  if (!monitor || !GetMonitorInfoW(monitor, &info)) return;
  RECT current{};
  GetWindowRect(main_, &current);
  Placement placement;
  if (!PlacePanel(ToPixelRect(info.rcWork), ToPixelRect(current), state_.dpiScale, firstTime, placement)) {
    return;
  }
  state_.uiScale = placement.uiScale;
  const PixelRect& r = placement.window;
  SetWindowPos(main_, nullptr, r.left, r.top, r.Width(), r.Height(), SWP_NOACTIVATE | SWP_NOZORDER);
  controls_.RecreateEditFont(state_.uiScale);
  UpdateWindowRegion();
  Relayout();
}

void TutorPanel::UpdateWindowRegion() {
  RECT client{};
  GetClientRect(main_, &client);
  auto spans = RoundedRegionSpans(client.right, client.bottom, state_.uiScale, state_.glassActive);
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
  const UiSettings& settings = state_.settings;
  bool wanted = settings.liquidGlass && !state_.stealth && TransparencyEnabled() && !HighContrastOn() &&
                GetSystemMetrics(SM_REMOTESESSION) == 0;
  if (glass_) glass_->SetDark(!settings.lightTheme);
  BOOL hostBackdrop = wanted ? TRUE : FALSE;
  bool attributeSet = SUCCEEDED(DwmSetWindowAttribute(main_, kDwmUseHostBackdropBrush, &hostBackdrop,
                                                      sizeof(hostBackdrop)));
  HRESULT initialised = S_OK;
  if (attributeSet && wanted && glass_) initialised = glass_->Initialise(main_);
  state_.glassActive = attributeSet && wanted && glass_ && SUCCEEDED(initialised);
  if (!state_.glassActive && glass_) glass_->Hide();

  LONG_PTR exStyle = GetWindowLongPtrW(main_, GWL_EXSTYLE);
  LONG_PTR wantedStyle =
      state_.glassActive ? (exStyle | kNoRedirectionBitmap) : (exStyle & ~kNoRedirectionBitmap);
  if (wantedStyle != exStyle) {
    SetWindowLongPtrW(main_, GWL_EXSTYLE, wantedStyle);
    SetWindowPos(main_, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }

  controls_.RemakeEditBrush(settings.lightTheme);
  controls_.SetEditsFaded(state_.glassActive);
  state_.caretVisible = true;
  UpdateCaretTimer();

  DWORD policy = kDwmNcRenderingDisabled;
  DwmSetWindowAttribute(main_, kDwmNcRenderingPolicy, &policy, sizeof(policy));
  DWORD border = kDwmColorNone;
  DwmSetWindowAttribute(main_, kDwmBorderColor, &border, sizeof(border));
  UpdateWindowRegion();

  if (state_.glassActive && IsWindowVisible(main_)) ShowActiveFrame();
  UpdateGlassTimer();
  Repaint();
  if (observers_.backdropEvaluated) observers_.backdropEvaluated(state_.glassActive, initialised);
}

void TutorPanel::DropGlass() {
  state_.glassActive = false;
  UpdateGlassTimer();  // stops the frames and lets go of the desktop capture
  if (glass_) glass_->Hide();
  LONG_PTR exStyle = GetWindowLongPtrW(main_, GWL_EXSTYLE);
  if (exStyle & kNoRedirectionBitmap) {
    SetWindowLongPtrW(main_, GWL_EXSTYLE, exStyle & ~kNoRedirectionBitmap);
    SetWindowPos(main_, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  controls_.SetEditsFaded(false);
  UpdateCaretTimer();
  UpdateWindowRegion();
  Repaint();
}

void TutorPanel::UpdateGlassTimer() {
  bool shown = IsWindowVisible(main_) && !IsIconic(main_);
  if (state_.glassActive && !state_.stealth && shown) {
    SetTimer(main_, panel_timer::GlassFrame, panel_timer::GlassFrameMs, nullptr);
  } else {
    KillTimer(main_, panel_timer::GlassFrame);
    if (glass_) glass_->ReleaseFrameResources();
  }
  RefreshStyleStatus();
}

void TutorPanel::UpdateShadow() {
  if (!shadow_) return;
  shadow_->Update(main_, !state_.stealth && IsWindowVisible(main_) && !IsIconic(main_), state_.uiScale);
}

void TutorPanel::Relayout() {
  if (state_.stealth || !main_ || !controls_.Get(control_id::Close)) return;
  float width = LogicalWidth();
  float height = LogicalHeight();
  controls_.Place(MainControlPlacements(width, height, state_.page, state_.explanationShown, state_.answerShown()),
                  state_.uiScale);
  controls_.Place(settingsPage_.Layout(width, state_.page == PanelPage::Settings, CurrentAccountArea()),
                  state_.uiScale);
}

void TutorPanel::StartAnimation(int slot, const RectF& from, const RectF& to) {
  settingsPage_.StartAnimation(slot, from, to, GetTickCount64());
  SetTimer(main_, panel_timer::Animation, panel_timer::AnimationMs, nullptr);
}

void TutorPanel::OnAnimationTick() {
  if (!settingsPage_.AnimationTick(GetTickCount64())) KillTimer(main_, panel_timer::Animation);
  Repaint();
}

void TutorPanel::UpdateCaretTimer() {
  bool inQuestion = controls_.Focused(control_id::QuestionBox) && state_.page == PanelPage::Question;
  bool inSignIn = controls_.Focused(control_id::SignInField) && state_.page == PanelPage::Settings &&
                  IsWindowVisible(controls_.Get(control_id::SignInField));
  if (state_.glassActive && (inQuestion || inSignIn)) {
    SetTimer(main_, panel_timer::CaretBlink, panel_timer::CaretBlinkMs, nullptr);
  } else {
    KillTimer(main_, panel_timer::CaretBlink);
  }
}

void TutorPanel::OnCaretTick() {
  UpdateCaretTimer();
  state_.caretVisible = !state_.caretVisible;
  Repaint();
}

void TutorPanel::ReshowStrip() {
  if (!state_.stealth) return;
  strip_.Place(state_.visible);
  strip_.Redraw(strip_.pulseRunning());
}

void TutorPanel::ToggleExplanation() {
  state_.explanationShown = !state_.explanationShown;
  controls_.SetText(control_id::Explanation,
                    state_.explanationShown ? panel_text::HideExplanation : panel_text::ShowExplanation);
  Relayout();
  Repaint();
}

void TutorPanel::CopyAnswer() {
  if (std::optional<std::wstring> text = AnswerClipboardText(state_.hasReply, state_.lastReply)) {
    PutTextOnClipboard(main_, *text);
  }
}

void TutorPanel::OpenContextMenu(int x, int y) {
  POINT at{x, y};
  if (x == -1 && y == -1) {
    RECT window{};
    GetWindowRect(main_, &window);
    at = {window.left + ScaledPixels(16, state_.uiScale), window.top + ScaledPixels(22, state_.uiScale)};
  }
  const HandsFreeMenuEntry handsFree = DescribeHandsFreeMenuEntry(handsFree_.paused(), state_.settings.handsFreeSeconds);
  MenuSituation situation{state_.stealth, state_.queryRunning(),
                          state_.hasReply && state_.lastReply.status == TutorReply::Answer,
                          state_.settings.hotkeys, handsFree.text, handsFree.checked};
  switch (TrackContextMenu(main_, at, ContextMenuItems(situation))) {
    case MenuCommand::OpenPanel: SetStealth(false); break;
    case MenuCommand::Scan: StartQuery(QueryKind::Scan, {}); break;
    case MenuCommand::Snip: OpenSnipOverlay(); break;
    case MenuCommand::Ask: SetPage(PanelPage::Question); break;
    case MenuCommand::CopyAnswer: CopyAnswer(); break;
    case MenuCommand::HandsFree:
      if (handsFree.resumes) {
        ResetHandsFree(true);
      } else {
        SetHandsFree(state_.settings.handsFreeSeconds > 0 ? 0 : 5);
      }
      break;
    case MenuCommand::None: break;
  }
}

void TutorPanel::SetHandsFree(int seconds) {
  settingsStore_.SetHandsFreeSeconds(state_.settings, seconds);
  ResetHandsFree(true);
  Repaint();
}
