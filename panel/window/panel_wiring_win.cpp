#include "panel/window/panel_wiring_win.h"

#include <commctrl.h>

#include "hotkeys/hook_state.h"
#include "panel/panel_texts.h"
#include "panel/settings_page/settings_paint.h"
#include "panel/snip/snip_session.h"
#include "panel/window/window_classes_win.h"
#include "panel/controllers/config_files_win.h"

namespace {
uint64_t TickNow() { return static_cast<uint64_t>(GetTickCount64()); }
}  // namespace

ControlEvents PanelWiring::Controls(TutorPanel& panel) {
  ControlEvents events;
  events.questionPageOpen = [&panel] { return panel.state_.page == PanelPage::Question; };
  events.editFocusChanged = [&panel] { panel.caret_.Update(panel.CaretWanted()); };
  events.fadedEditTouched = [&panel] { panel.FadedEditTouched(); };
  return events;
}

QueryWorkerStart PanelWiring::QueryWorker(TutorPanel& panel) {
  return [&panel](QueryKind kind, QueryQuality quality, std::wstring text) {
    return StartQueryWorker(panel.services_.solve, kind, quality, std::move(text));
  };
}

void PanelWiring::EnableQueryButtons(TutorPanel& panel, bool enabled) {
  panel.controls_.Enable(control_id::Scan, enabled);
  panel.controls_.Enable(control_id::Snip, enabled);
}

QueryEvents PanelWiring::Query(TutorPanel& panel) {
  QueryEvents events;
  events.starting = [&panel] { panel.stealth_.QueryStarting(); };
  events.showRunning = [&panel](QueryKind kind) {
    EnableQueryButtons(panel, false);
    const PanelPage page = panel.state_.page;
    if (!panel.state_.stealth && page != PanelPage::Answer) {
      if (kind == QueryKind::Ask && page == PanelPage::Question) panel.controls_.SetText(control_id::QuestionBox, L"");
      panel.SetPage(PanelPage::Answer);
    }
    panel.UpdateSendButton();
    panel.Relayout();
    panel.stealth_.QueryShown();
  };
  events.startFailed = [&panel] {
    panel.stealth_.QueryStartFailed();
    EnableQueryButtons(panel, true);
    panel.UpdateSendButton();
    panel.Relayout();
    panel.Repaint();
  };
  events.started = [&panel](QueryKind kind) {
    if (panel.observers_.queryStarted) panel.observers_.queryStarted(kind);
  };
  events.replyArrived = [&panel](const TutorReply& reply) {
    if (reply.account) panel.account_.SetAccount(*reply.account);
    panel.stealth_.ReplyArrived(reply);
    EnableQueryButtons(panel, true);
    panel.UpdateSendButton();
    panel.Relayout();
    panel.Repaint();
    if (panel.observers_.replyCollected) panel.observers_.replyCollected(reply);
  };
  return events;
}

AccountView PanelWiring::Account(TutorPanel& panel) {
  AccountView view;
  view.setField = [&panel](const std::optional<std::wstring>& text, const std::optional<SignInPrompt>& prompt) {
    HWND field = panel.controls_.Get(control_id::SignInField);
    if (text) SetWindowTextW(field, text->c_str());
    if (prompt) {
      const wchar_t* cue = *prompt == SignInPrompt::Code ? panel_text::CodePrompt : panel_text::EmailPrompt;
      SendMessageW(field, EM_SETCUEBANNER, TRUE, reinterpret_cast<LPARAM>(cue));
    }
  };
  view.focusField = [&panel] { panel.controls_.Focus(control_id::SignInField); };
  view.relayout = [&panel] { panel.Relayout(); };
  view.repaint = [&panel] { panel.Repaint(); };
  view.formChanged = [&panel](bool jobRunning) {
    const AccountController& account = panel.account_;
    panel.controls_.SetText(control_id::SendCode, PrimaryButtonLabel(jobRunning, account.form().codeStage()));
    panel.controls_.SetText(control_id::RefreshAccount, RefreshButtonLabel(jobRunning));
    if (panel.observers_.accountForm) {
      panel.observers_.accountForm(account.StatusLine(), account.form().statusIsError(), account.form().codeStage(),
                                   account.account());
    }
  };
  return view;
}

ConfigFilePort PanelWiring::ConfigFiles(TutorPanel& panel) {
  return SystemConfigFiles([&panel] { return panel.capturePolicy_ == CapturePolicy::DevTolerated; });
}

ConfigView PanelWiring::Config(TutorPanel& panel) {
  ConfigView view;
  view.showFirstRun = [&panel] {
    if (panel.settings_.page().openSection() != kAccountSection) {
      panel.settings_.Command(control_id::FirstSection + kAccountSection, panel.LogicalClient().width);
    }
    panel.SetPage(PanelPage::Settings);
    panel.controls_.Focus(control_id::OpenConfigFile);  // Enter opens the file
  };
  // Queries and account jobs already running hold copies of the operations they started with.
  view.servicesChanged = [&panel](TutorServices services) {
    const bool configured = services.configured;
    const bool hosted = services.hosted;
    panel.services_ = std::move(services);
    if (panel.observers_.configurationRead) panel.observers_.configurationRead(configured, hosted);
    if (configured) panel.account_.StartProbe();  // hosted: who is signed in; local: nothing
    panel.Relayout();
    panel.Repaint();
  };
  view.repaint = [&panel] { panel.Repaint(); };
  return view;
}

void PanelWiring::ApplySettingChange(TutorPanel& panel, SettingChange change) {
  const UiSettings& settings = panel.settings_.settings();
  switch (change) {
    case SettingChange::Theme:
      panel.glass_.ThemeChanged();
      panel.controls_.RemakeEditBrush(settings.lightTheme);
      panel.controls_.SetEditsFaded(panel.glass_.active());
      panel.glass_.UpdateGlassTimer();
      break;
    case SettingChange::LiquidGlass: panel.glass_.SettingChanged(); break;
    case SettingChange::HandsFree: panel.stealth_.ResetHandsFree(true); break;
    case SettingChange::StripWidth:
    case SettingChange::StripSide: panel.stealth_.ReshowStrip(); break;  // a glowing strip takes its new place's colour
    case SettingChange::Quality:
    case SettingChange::VisionOnScan:
    case SettingChange::None: break;
  }
}

SettingsEvents PanelWiring::Settings(TutorPanel& panel) {
  SettingsEvents events;
  events.recordingChanged = [](int slot) { LiveHookState().SetCaptureSlot(slot); };
  events.bindingsChanged = [&panel](const HotkeyTable& table) {
    PublishHotkeys(table);
    UpdateTooltips(panel);
  };
  events.settingChanged = [&panel](SettingChange change) { ApplySettingChange(panel, change); };
  events.relayout = [&panel] { panel.Relayout(); };
  events.accountOpened = [&panel] {
    if (IsWindowVisible(panel.controls_.Get(control_id::SignInField))) panel.controls_.Focus(control_id::SignInField);
  };
  events.repaint = [&panel] { panel.Repaint(); };
  return events;
}

GlassPorts PanelWiring::Glass(TutorPanel& panel) {
  GlassPorts ports;
  ports.stealth = [&panel] { return panel.state_.stealth; };
  ports.uiScale = [&panel] { return panel.state_.uiScale; };
  ports.looksChanged = [&panel](bool evaluated) {
    if (evaluated) panel.controls_.RemakeEditBrush(panel.settings_.settings().lightTheme);
    panel.controls_.SetEditsFaded(panel.glass_.active());
    if (evaluated) panel.caret_.Show();
    panel.caret_.Update(panel.CaretWanted());
    panel.UpdateWindowRegion();
  };
  ports.statusChanged = [&panel](const std::wstring& status) {
    panel.controls_.SetText(control_id::Settings, SettingsButtonName(status).c_str());
    panel.Repaint();
  };
  ports.showActiveFrame = [&panel] { ShowActiveFrame(panel.main_); };
  ports.repaint = [&panel] { panel.Repaint(); };
  ports.evaluated = [&panel](bool glassActive, HRESULT initialised) {
    if (panel.observers_.backdropEvaluated) panel.observers_.backdropEvaluated(glassActive, initialised);
  };
  return ports;
}

StealthPorts PanelWiring::Stealth(TutorPanel& panel) {
  StealthPorts ports;
  ports.situation = [&panel] {
    const UiSettings& settings = panel.settings_.settings();
    StealthSituation situation;
    StripSituation& strip = situation.strip;
    strip.panel = panel.main_;
    strip.stripWidth = settings.stripWidth;
    strip.right = settings.stripRight;
    strip.dpiScale = panel.state_.dpiScale;
    strip.stealth = panel.state_.stealth;
    strip.visible = panel.state_.visible;
    strip.queryRunning = panel.query_.running();
    situation.hasReply = panel.query_.hasReply();
    situation.reply = &panel.query_.reply();
    situation.handsFreeSeconds = settings.handsFreeSeconds;
    situation.otherWork = panel.snip_.open() || panel.settings_.state().captureSlot >= 0;
    return situation;
  };
  ports.startScan = [&panel] { panel.StartQuery(QueryKind::Scan, {}); };
  ports.startCheck = [&panel] { return StartQuestionCheck(panel.services_.solve); };
  ports.now = TickNow;
  return ports;
}

SnipPorts PanelWiring::Snip(TutorPanel& panel) {
  SnipPorts ports;
  ports.queryRunning = [&panel] { return panel.query_.running(); };
  ports.opening = [&panel] {
    if (panel.settings_.state().captureSlot >= 0) panel.settings_.CancelRecording();
  };
  ports.overlayShown = [&panel](bool open) {
    if (panel.observers_.snipOverlay) panel.observers_.snipOverlay(open);
  };
  ports.snipped = [&panel](const PixelRect& selection) { panel.StartQuery(QueryKind::Snip, SnipRectText(selection)); };
  return ports;
}

SettingsPagePainter PanelWiring::SettingsPainter(TutorPanel& panel) {
  return [&panel](Canvas& canvas, GlyphMeasurer& measurer, const PanelView& view, float width, float height) {
    const SettingsController& settings = panel.settings_;
    const SettingsState& state = settings.state();
    SettingsPaintView page;
    page.settings = state.settings;
    page.openSection = settings.page().openSection();
    page.animations = settings.page().animations();
    page.now = settings.now();
    page.hover = settings.page().hover();
    page.styleStatus = panel.glass_.styleStatus();
    page.captureSlot = state.captureSlot;
    page.hotkeyStatus = state.hotkeyStatus;
    page.hotkeyStatusError = state.hotkeyStatusError;
    const AccountController& accountController = panel.account_;
    AccountPaintView& account = page.account;
    account.area = accountController.area();
    account.email = accountController.account().email;
    account.statusLine = accountController.StatusLine();
    account.statusIsError = accountController.form().statusIsError();
    account.jobRunning = accountController.jobRunning();
    account.codeStage = accountController.form().codeStage();
    account.fieldText = panel.controls_.Text(control_id::SignInField);
    account.fieldFocused = panel.controls_.Focused(control_id::SignInField);
    account.caretVisible = panel.caret_.visible();
    account.firstRunNote = panel.config_.note();
    account.firstRunNoteIsError = panel.config_.noteIsError();
    PaintSettingsPage(canvas, measurer, view, width, height, page);
  };
}

void PanelWiring::UpdateTooltips(TutorPanel& panel) {
  if (panel.tooltip_) {
    panel.tooltip_->SetTips(PanelTips(panel.settings_.settings().hotkeys),
                            [&panel](int id) { return panel.controls_.Get(id); });
  }
}
