// The panel object's life and its view state: the main window, visibility, stealth, pages,
// placement, the window's outline and the child controls' layout.
#include "panel/window/tutor_panel_win.h"

#include <commctrl.h>

#include "hotkeys/hook_state.h"
#include "panel/panel_texts.h"
#include "panel/window/context_menu_win.h"
#include "panel/window/panel_wiring_win.h"
#include "panel/window/window_classes_win.h"

namespace {
PixelRect ToPixelRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

uint64_t TickNow() { return static_cast<uint64_t>(GetTickCount64()); }
}  // namespace

TutorPanel::TutorPanel(HINSTANCE instance, TutorServices services, std::wstring settingsPath)
    : instance_(instance),
      services_(std::move(services)),
      settingsPath_(std::move(settingsPath)),
      settingsFile_(settingsPath_),
      settings_(timers_, settingsPath_.empty() ? nullptr : &settingsFile_, TickNow, PanelWiring::Settings(*this)),
      query_(timers_, PanelWiring::QueryWorker(*this), PanelWiring::Query(*this)),
      account_(timers_, services_, PanelWiring::Account(*this)),
      config_(timers_, PanelWiring::ConfigFiles(*this), PanelWiring::Config(*this)),
      glass_(timers_, settings_.settings(), PanelWiring::Glass(*this)),
      caret_(timers_),
      stealth_(timers_, PanelWiring::Stealth(*this)),
      snip_(PanelWiring::Snip(*this)) {}

TutorPanel::~TutorPanel() {
  if (!main_) return;
  HWND main = main_;
  DestroyWindow(main);  // the usual shutdown: timers, other windows, hooks
  // Should the window outlive this (destroyed from another thread, say), it no longer leads here.
  if (main_ && IsWindow(main)) SetWindowLongPtrW(main, GWLP_USERDATA, 0);
  main_ = nullptr;
  timers_.SetWindow(nullptr);
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
  UiSettings settings;
  LoadUiSettingsFromFile(settingsPath_, settings);
  settings_.Load(settings);
  PublishHotkeys(settings.hotkeys);
}

RectF TutorPanel::LogicalClient() const {
  RECT client{};
  GetClientRect(main_, &client);
  return {0, 0, static_cast<float>(client.right) / state_.uiScale, static_cast<float>(client.bottom) / state_.uiScale};
}

void TutorPanel::SetVisible(bool show) {
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

void TutorPanel::SetStealth(bool on) {
  if (on == state_.stealth) return;
  state_.stealth = on;
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

void TutorPanel::SetPage(PanelPage page) {
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

void TutorPanel::StartQuery(QueryKind kind, std::wstring text) {
  if (query_.running()) {  // one query at a time; this request is dropped
    stealth_.QueryRefused();
    return;
  }
  const UiSettings& settings = settings_.settings();
  kind = EffectiveKind(kind, settings.visionOnScan);
  if (kind == QueryKind::Ask) {
    if (state_.page == PanelPage::Question) text = controls_.Text(control_id::QuestionBox);
    text = TrimQuestion(text);
    if (text.empty()) {
      controls_.Focus(control_id::QuestionBox);
      return;
    }
  }
  query_.Start(kind, settings.quality, std::move(text));
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

void TutorPanel::UpdateShadow() {
  stealth_.UpdateShadow(!state_.stealth && IsWindowVisible(main_) && !IsIconic(main_), state_.uiScale);
}

void TutorPanel::Relayout() {
  if (state_.stealth || !main_ || !controls_.Get(control_id::Close)) return;
  const RectF client = LogicalClient();
  const bool answerShown = state_.page == PanelPage::Answer && query_.answerOnDisplay();
  controls_.Place(MainControlPlacements(client.width, client.height, state_.page, state_.explanationShown, answerShown),
                  state_.uiScale);
  controls_.Place(settings_.page().Layout(client.width, state_.page == PanelPage::Settings, account_.area()),
                  state_.uiScale);
}

bool TutorPanel::CaretWanted() const {
  bool inQuestion = controls_.Focused(control_id::QuestionBox) && state_.page == PanelPage::Question;
  bool inSignIn = controls_.Focused(control_id::SignInField) && state_.page == PanelPage::Settings &&
                  IsWindowVisible(controls_.Get(control_id::SignInField));
  return glass_.active() && (inQuestion || inSignIn);
}

void TutorPanel::FadedEditTouched() {
  if (!glass_.active()) return;
  caret_.Show();
  caret_.Update(CaretWanted());
  Repaint();
}

void TutorPanel::UpdateSendButton() {
  controls_.Enable(control_id::Send,
                   SendButtonEnabled(state_.page, query_.running(), controls_.HasText(control_id::QuestionBox)));
}

void TutorPanel::ToggleExplanation() {
  state_.explanationShown = !state_.explanationShown;
  controls_.SetText(control_id::Explanation,
                    state_.explanationShown ? panel_text::HideExplanation : panel_text::ShowExplanation);
  Relayout();
  Repaint();
}

void TutorPanel::CopyAnswer() {
  if (std::optional<std::wstring> text = AnswerClipboardText(query_.hasReply(), query_.reply())) {
    PutTextOnClipboard(main_, *text);
  }
}

void TutorPanel::ShowContextMenu(POINT point) {
  if (point.x == -1 && point.y == -1) {
    RECT window{};
    GetWindowRect(main_, &window);
    point = {window.left + ScaledPixels(16, state_.uiScale), window.top + ScaledPixels(22, state_.uiScale)};
  }
  const UiSettings& settings = settings_.settings();
  const HandsFreeMenuEntry handsFree = DescribeHandsFreeMenuEntry(stealth_.handsFreePaused(), settings.handsFreeSeconds);
  MenuSituation situation{state_.stealth, query_.running(),
                          query_.hasReply() && query_.reply().status == TutorReply::Answer,
                          settings.hotkeys, handsFree.text, handsFree.checked};
  switch (TrackContextMenu(main_, point, ContextMenuItems(situation))) {
    case MenuCommand::OpenPanel: SetStealth(false); break;
    case MenuCommand::Scan: StartQuery(QueryKind::Scan, {}); break;
    case MenuCommand::Snip: snip_.Open(instance_, main_, capturePolicy_); break;
    case MenuCommand::Ask: SetPage(PanelPage::Question); break;
    case MenuCommand::CopyAnswer: CopyAnswer(); break;
    case MenuCommand::HandsFree:
      if (handsFree.resumes) {
        stealth_.ResetHandsFree(true);
      } else {
        settings_.SetHandsFree(settings.handsFreeSeconds > 0 ? 0 : 5);
      }
      break;
    case MenuCommand::None: break;
  }
}

std::wstring TutorPanel::TooltipText(int id) const {
  return tooltip_ ? tooltip_->TipText(controls_.Get(id)) : std::wstring();
}
