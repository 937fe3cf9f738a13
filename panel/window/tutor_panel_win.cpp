// The panel object's life: making it with its windows, starting it, and its destruction; the
// answer's copy and the context menu.
#include "panel/window/tutor_panel_win.h"

#include "hotkeys/hook_state.h"
#include "panel/panel_texts.h"
#include "panel/window/context_menu_win.h"
#include "panel/window/panel_wiring_win.h"
#include "panel/window/window_classes_win.h"

TutorPanel::TutorPanel(HINSTANCE instance, TutorServices services, PanelOptions& options)
    : instance_(instance),
      services_(std::move(services)),
      observers_(std::move(options.observers)),
      settingsPath_(std::move(options.settingsPath)),
      settingsFile_(settingsPath_),
      capturePolicy_(options.capturePolicy),
      view_(controls_, settings_, query_, account_, glass_, caret_, stealth_, services_),
      settings_(timers_, settingsPath_.empty() ? nullptr : &settingsFile_, TickNow,
                PanelWiring::Settings(view_, controls_, settings_, glass_, stealth_, tooltip_)),
      query_(timers_, PanelWiring::QueryWorker(services_),
             PanelWiring::Query(view_, controls_, stealth_, account_, observers_)),
      account_(timers_, services_, PanelWiring::Account(view_, controls_, account_, observers_)),
      config_(timers_, PanelWiring::ConfigFiles(capturePolicy_),
              PanelWiring::Config(view_, controls_, settings_, account_, services_, observers_)),
      glass_(timers_, settings_.settings(), PanelWiring::Glass(view_, controls_, settings_, glass_, caret_, observers_)),
      caret_(timers_),
      stealth_(timers_, PanelWiring::Stealth(view_, settings_, query_, snip_, services_)),
      snip_(PanelWiring::Snip(view_, settings_, query_, observers_)) {}

std::unique_ptr<TutorPanel> TutorPanel::Create(HINSTANCE instance, TutorServices services, PanelOptions options,
                                               ControlCreationFailure* failure) {
  std::unique_ptr<TutorPanel> panel(new TutorPanel(instance, std::move(services), options));
  if (!panel->settingsPath_.empty()) {
    UiSettings settings;
    LoadUiSettingsFromFile(panel->settingsPath_, settings);
    panel->settings_.Load(settings);
    PublishHotkeys(settings.hotkeys);
  }
  CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_CONTROLPARENT, kPanelClassName, panel_text::Title,
                  WS_POPUP, 0, 0, static_cast<int>(kPanelLogicalWidth), static_cast<int>(kPanelLogicalHeight),
                  nullptr, nullptr, instance, panel.get());
  HWND main = panel->mainWindow();
  if (!main || !IsWindow(main)) {
    if (failure) *failure = panel->controls_.failure();
    return nullptr;
  }
  if (options.makeShadow) panel->stealth_.AttachShadow(options.makeShadow(main));
  if (options.makeStrip) panel->stealth_.AttachStrip(options.makeStrip());
  if (options.makeGlass) panel->glass_.SetBackdrop(options.makeGlass());
  panel->glass_.EvaluateBackdrop();
  panel->view_.Place(true);
  return panel;
}

TutorPanel::~TutorPanel() {
  if (HWND main = view_.window()) {
    DestroyWindow(main);  // the usual shutdown: timers, other windows, hooks
    // Should the window outlive this (destroyed from another thread, say), it no longer leads here.
    if (view_.window() && IsWindow(main)) SetWindowLongPtrW(main, GWLP_USERDATA, 0);
    view_.SetWindow(nullptr);
    timers_.SetWindow(nullptr);
  }
  controls_.DeleteEditGdiObjects();
}

bool TutorPanel::Register(HINSTANCE instance) {
  return RegisterWindowClass(instance, kPanelClassName, CS_DBLCLKS, &WindowProc, IDC_ARROW);
}

void TutorPanel::Start(std::unique_ptr<InputHooks> hooks) {
  hooks_ = std::move(hooks);
  view_.SetVisible(true);
  // The first run when no service is configured, else the account probe.
  if (!config_.Start(services_)) account_.StartProbe();
}

void TutorPanel::CopyAnswer() {
  if (std::optional<std::wstring> text = AnswerClipboardText(query_.hasReply(), query_.reply())) {
    PutTextOnClipboard(view_.window(), *text);
  }
}

void TutorPanel::ShowContextMenu(POINT point) {
  HWND main = view_.window();
  const PanelState& state = view_.state();
  if (point.x == -1 && point.y == -1) {
    RECT window{};
    GetWindowRect(main, &window);
    point = {window.left + ScaledPixels(16, state.uiScale), window.top + ScaledPixels(22, state.uiScale)};
  }
  const UiSettings& settings = settings_.settings();
  const HandsFreeMenuEntry handsFree = DescribeHandsFreeMenuEntry(stealth_.handsFreePaused(), settings.handsFreeSeconds);
  MenuSituation situation{state.stealth, query_.running(),
                          query_.hasReply() && query_.reply().status == TutorReply::Answer,
                          settings.hotkeys, handsFree.text, handsFree.checked};
  switch (TrackContextMenu(main, point, ContextMenuItems(situation))) {
    case MenuCommand::OpenPanel: view_.SetStealth(false); break;
    case MenuCommand::Scan: view_.StartQuery(QueryKind::Scan, {}); break;
    case MenuCommand::Snip: snip_.Open(instance_, main, capturePolicy_); break;
    case MenuCommand::Ask: view_.SetPage(PanelPage::Question); break;
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
