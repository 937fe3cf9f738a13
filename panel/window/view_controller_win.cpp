// The panel's view state: visibility, stealth, pages, placement, the window's outline and the
// child controls' layout.
#include "panel/window/view_controller_win.h"

#include <commctrl.h>

#include "hotkeys/hook_state.h"
#include "panel/panel_texts.h"
#include "panel/window/window_classes_win.h"

namespace {
PixelRect ToPixelRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

float DpiScale(unsigned dpi) { return dpi > 0 ? static_cast<float>(dpi) / 96.0f : 1.0f; }
}  // namespace

ViewController::ViewController(PanelControls& controls, SettingsController& settings, QueryController& query,
                               const AccountController& account, GlassController& glass, CaretBlink& caret,
                               StealthController& stealth, const TutorServices& services)
    : controls_(controls),
      settings_(settings),
      query_(query),
      account_(account),
      glass_(glass),
      caret_(caret),
      stealth_(stealth),
      services_(services) {}

void ViewController::Created(unsigned dpi) {
  state_.dpiScale = DpiScale(dpi);
  state_.uiScale = state_.dpiScale;
}

void ViewController::DpiChanged(unsigned dpi, const RECT* suggested) {
  state_.dpiScale = DpiScale(dpi);
  if (suggested) {
    SetWindowPos(main_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                 suggested->bottom - suggested->top, SWP_NOACTIVATE | SWP_NOZORDER);
  }
  Place(false);
  stealth_.ReshowStrip();
}

void ViewController::Sized(bool minimised) {
  UpdateShadow();
  glass_.UpdateGlassTimer();
  if (!minimised) {
    UpdateWindowRegion();
    Relayout();
  }
}

void ViewController::Destroyed() {
  state_.visible = false;
  LiveHookState().SetPanelVisible(false);
}

RectF ViewController::LogicalClient() const {
  RECT client{};
  GetClientRect(main_, &client);
  return {0, 0, static_cast<float>(client.right) / state_.uiScale, static_cast<float>(client.bottom) / state_.uiScale};
}

void ViewController::SetVisible(bool show) {
  state_.visible = show;
  LiveHookState().SetPanelVisible(show);
  if (state_.stealth) {
    ShowWindow(main_, SW_HIDE);
    UpdateShadow();
    glass_.UpdateGlassTimer();
    if (show) {
      stealth_.ShowStrip();
    } else {
      stealth_.HideStrip();
    }
  } else {
    stealth_.HideStrip();
    ShowWindow(main_, show ? SW_SHOW : SW_HIDE);
    UpdateShadow();
    glass_.UpdateGlassTimer();
    if (show && glass_.active()) ShowActiveFrame(main_);
  }
  stealth_.ResetHandsFree(show);
}

void ViewController::SetStealth(bool on) {
  if (on == state_.stealth) return;
  state_.stealth = on;
  LiveHookState().SetStealthMenu(on);
  controls_.ClearHot();
  if (on) {
    ShowWindow(main_, SW_HIDE);
    UpdateShadow();
    glass_.EnterStealth();
    stealth_.Enter();
  } else {
    stealth_.HideStrip();
    if (state_.visible) {
      ShowWindow(main_, SW_SHOW);
      glass_.EvaluateBackdrop();
      Place(false);
      UpdateShadow();
      if (glass_.active()) ShowActiveFrame(main_);
    }
  }
  stealth_.ResetHandsFree(true);
}

void ViewController::SetPage(PanelPage page) {
  PagePlan plan = PlanPageSwitch(state_.page, page, state_.stealth);
  if (plan.leaveStealth) SetStealth(false);
  if (plan.saveQuestion) state_.savedQuestion = controls_.Text(control_id::QuestionBox);
  state_.page = page;
  settings_.CancelRecording();
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

void ViewController::StartQuery(QueryKind kind, std::wstring text) {
  if (query_.running()) {  // one query at a time; this request is dropped
    stealth_.QueryRefused();
    return;
  }
  const UiSettings& settings = settings_.settings();
  kind = EffectiveKind(kind, settings.visionOnScan);
  if (kind == QueryKind::Ask && state_.page == PanelPage::Question) text = controls_.Text(control_id::QuestionBox);
  query_.Start(kind, settings.quality, std::move(text),
               StreamsAnswers(settings.liveAnswers, services_.hosted, bool(services_.solveLive)));
  Repaint();
}

void ViewController::Place(bool firstTime) {
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

void ViewController::UpdateWindowRegion() {
  RECT client{};
  GetClientRect(main_, &client);
  auto spans = RoundedRegionSpans(client.right, client.bottom, state_.uiScale, glass_.active());
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

void ViewController::UpdateShadow() {
  stealth_.UpdateShadow(!state_.stealth && IsWindowVisible(main_) && !IsIconic(main_), state_.uiScale);
}

void ViewController::Relayout() {
  if (state_.stealth || !main_ || !controls_.Get(control_id::Close)) return;
  const RectF client = LogicalClient();
  const bool answerShown = state_.page == PanelPage::Answer && query_.answerOnDisplay();
  controls_.Place(MainControlPlacements(client.width, client.height, state_.page, state_.explanationShown, answerShown),
                  state_.uiScale);
  controls_.Place(settings_.page().Layout(client.width, state_.page == PanelPage::Settings, account_.area()),
                  state_.uiScale);
  if (relaidOut_) relaidOut_();
}

bool ViewController::CaretWanted() const {
  bool inQuestion = controls_.Focused(control_id::QuestionBox) && state_.page == PanelPage::Question;
  bool inSignIn = controls_.Focused(control_id::SignInField) && state_.page == PanelPage::Settings &&
                  IsWindowVisible(controls_.Get(control_id::SignInField));
  return glass_.active() && (inQuestion || inSignIn);
}

void ViewController::FadedEditTouched() {
  if (!glass_.active()) return;
  caret_.Show();
  caret_.Update(CaretWanted());
  Repaint();
}

void ViewController::UpdateSendButton() {
  controls_.Enable(control_id::Send,
                   SendButtonEnabled(state_.page, query_.running(), controls_.HasText(control_id::QuestionBox)));
}

void ViewController::ToggleExplanation() {
  state_.explanationShown = !state_.explanationShown;
  controls_.SetText(control_id::Explanation,
                    state_.explanationShown ? panel_text::HideExplanation : panel_text::ShowExplanation);
  Relayout();
  Repaint();
}
