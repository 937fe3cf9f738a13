#include "panel/window/panel_wiring_win.h"

#include <commctrl.h>

#include "core/log.h"
#include "hotkeys/hook_state.h"
#include "panel/panel_texts.h"
#include "panel/settings_page/settings_paint.h"
#include "panel/snip/snip_session.h"
#include "panel/window/window_classes_win.h"
#include "panel/controllers/config_files_win.h"

uint64_t TickNow() { return static_cast<uint64_t>(GetTickCount64()); }

ControlEvents PanelWiring::Controls(ViewController& view) {
  ControlEvents events;
  events.questionPageOpen = [&view] { return view.state().page == PanelPage::Question; };
  events.editFocusChanged = [&view] { view.EditFocusChanged(); };
  events.fadedEditTouched = [&view] { view.FadedEditTouched(); };
  return events;
}

QueryWorkerStart PanelWiring::QueryWorker(const TutorServices& services) {
  return [&services](QueryKind kind, QueryQuality quality, std::wstring text, bool live) {
    if (live) return StartLiveQueryWorker(services.solveLive, kind, quality, std::move(text));
    return StartQueryWorker(services.solve, kind, quality, std::move(text));
  };
}

void PanelWiring::EnableQueryButtons(PanelControls& controls, bool enabled) {
  controls.Enable(control_id::Scan, enabled);
  controls.Enable(control_id::Snip, enabled);
}

QueryEvents PanelWiring::Query(ViewController& view, PanelControls& controls, StealthController& stealth,
                               AccountController& account, const PanelObservers& observers) {
  QueryEvents events;
  events.starting = [&stealth] { stealth.QueryStarting(); };
  events.emptyQuestion = [&controls] { controls.Focus(control_id::QuestionBox); };
  events.showRunning = [&view, &controls, &stealth](QueryKind kind) {
    view.SetNotice(L"");
    EnableQueryButtons(controls, false);
    const PanelPage page = view.state().page;
    if (!view.state().stealth && page != PanelPage::Answer) {
      if (kind == QueryKind::Ask && page == PanelPage::Question) controls.SetText(control_id::QuestionBox, L"");
      view.SetPage(PanelPage::Answer);
    }
    view.UpdateSendButton();
    view.Relayout();
    stealth.QueryShown();
  };
  events.startFailed = [&view, &controls, &stealth] {
    stealth.QueryStartFailed();
    EnableQueryButtons(controls, true);
    view.UpdateSendButton();
    view.Relayout();
    view.Repaint();
  };
  events.started = [&observers](QueryKind kind) {
    if (observers.queryStarted) observers.queryStarted(kind);
  };
  events.replyArrived = [&view, &controls, &stealth, &account, &observers](const TutorReply& reply) {
    if (reply.account) account.SetAccount(*reply.account);
    stealth.ReplyArrived(reply);
    EnableQueryButtons(controls, true);
    view.UpdateSendButton();
    view.Relayout();
    view.Repaint();
    if (observers.replyCollected) observers.replyCollected(reply);
  };
  events.liveChanged = [&view] { view.Repaint(); };
  return events;
}

AccountView PanelWiring::Account(ViewController& panel, PanelControls& controls, const AccountController& account,
                                 const PanelObservers& observers) {
  AccountView view;
  view.setField = [&controls](const std::optional<std::wstring>& text, const std::optional<SignInPrompt>& prompt) {
    HWND field = controls.Get(control_id::SignInField);
    if (text) SetWindowTextW(field, text->c_str());
    if (prompt) {
      const wchar_t* cue = *prompt == SignInPrompt::Code ? panel_text::CodePrompt : panel_text::EmailPrompt;
      SendMessageW(field, EM_SETCUEBANNER, TRUE, reinterpret_cast<LPARAM>(cue));
    }
  };
  view.focusField = [&controls] { controls.Focus(control_id::SignInField); };
  view.relayout = [&panel] { panel.Relayout(); };
  view.repaint = [&panel] { panel.Repaint(); };
  view.formChanged = [&controls, &account, &observers](bool jobRunning) {
    controls.SetText(control_id::SendCode, PrimaryButtonLabel(jobRunning, account.form().codeStage()));
    controls.SetText(control_id::RefreshAccount, RefreshButtonLabel(jobRunning));
    if (observers.accountForm) {
      observers.accountForm(account.StatusLine(), account.form().statusIsError(), account.form().codeStage(),
                            account.account());
    }
  };
  return view;
}

ConfigFilePort PanelWiring::ConfigFiles(CapturePolicy policy) {
  return SystemConfigFiles([policy] { return policy == CapturePolicy::DevTolerated; });
}

ConfigView PanelWiring::Config(ViewController& view, PanelControls& controls, SettingsController& settings,
                               AccountController& account, TutorServices& services, const PanelObservers& observers) {
  ConfigView config;
  config.showFirstRun = [&view, &controls, &settings] {
    if (settings.page().openSection() != kAccountSection) {
      settings.Command(control_id::FirstSection + kAccountSection, view.LogicalClient().width);
    }
    view.SetPage(PanelPage::Settings);
    controls.Focus(control_id::OpenConfigFile);  // Enter opens the file
  };
  config.servicesChanged = [&view, &controls, &settings, &account, &services, &observers](TutorServices fresh) {
    const bool configured = fresh.configured;
    const bool hosted = fresh.hosted;
    services = std::move(fresh);
    if (observers.configurationRead) observers.configurationRead(configured, hosted);
    LockRowsForMode(services, settings, controls);
    if (configured) account.StartProbe();  // hosted: who is signed in; local: nothing
    view.Relayout();
    view.Repaint();
  };
  config.repaint = [&view] { view.Repaint(); };
  return config;
}

void PanelWiring::ApplySettingChange(PanelControls& controls, const UiSettings& settings, GlassController& glass,
                                     StealthController& stealth, SettingChange change) {
  switch (change) {
    case SettingChange::Theme:
      glass.ThemeChanged();
      controls.RemakeEditBrush(settings.lightTheme);
      controls.SetEditsFaded(glass.active());
      glass.UpdateGlassTimer();
      break;
    case SettingChange::LiquidGlass: glass.SettingChanged(); break;
    case SettingChange::HandsFree: stealth.ResetHandsFree(true); break;
    case SettingChange::StripWidth:
    case SettingChange::StripSide: stealth.ReshowStrip(); break;  // a glowing strip takes its new place's colour
    case SettingChange::Quality:
    case SettingChange::VisionOnScan:
    case SettingChange::LiveAnswers:  // the next query streams, or not
    case SettingChange::None: break;
  }
}

SettingsEvents PanelWiring::Settings(ViewController& view, PanelControls& controls, const SettingsController& settings,
                                     GlassController& glass, StealthController& stealth,
                                     const std::unique_ptr<TooltipWindow>& tooltip) {
  SettingsEvents events;
  events.recordingChanged = [](int slot) { LiveHookState().SetCaptureSlot(slot); };
  events.bindingsChanged = [&controls, &tooltip](const HotkeyTable& table) {
    PublishHotkeys(table);
    UpdateTooltips(tooltip.get(), controls, table);
  };
  events.settingChanged = [&controls, &settings, &glass, &stealth](SettingChange change) {
    ApplySettingChange(controls, settings.settings(), glass, stealth, change);
  };
  events.relayout = [&view] { view.Relayout(); };
  events.accountOpened = [&controls] {
    if (IsWindowVisible(controls.Get(control_id::SignInField))) controls.Focus(control_id::SignInField);
  };
  events.repaint = [&view] { view.Repaint(); };
  return events;
}

GlassPorts PanelWiring::Glass(ViewController& view, PanelControls& controls, const SettingsController& settings,
                               const GlassController& glass, CaretBlink& caret, const PanelObservers& observers) {
  GlassPorts ports;
  ports.stealth = [&view] { return view.state().stealth; };
  ports.uiScale = [&view] { return view.state().uiScale; };
  ports.looksChanged = [&view, &controls, &settings, &glass, &caret](bool evaluated) {
    if (evaluated) controls.RemakeEditBrush(settings.settings().lightTheme);
    controls.SetEditsFaded(glass.active());
    if (evaluated) caret.Show();
    caret.Update(view.CaretWanted());
    view.UpdateWindowRegion();
  };
  ports.statusChanged = [&view, &controls](const std::wstring& status) {
    controls.SetText(control_id::Settings, SettingsButtonName(status).c_str());
    view.Repaint();
  };
  ports.showActiveFrame = [&view] { ShowActiveFrame(view.window()); };
  ports.repaint = [&view] { view.Repaint(); };
  ports.evaluated = [&observers](bool glassActive, HRESULT initialised) {
    if (observers.backdropEvaluated) observers.backdropEvaluated(glassActive, initialised);
  };
  return ports;
}

StealthPorts PanelWiring::Stealth(ViewController& view, const SettingsController& settingsController,
                                   const QueryController& query, const SnipController& snip,
                                   const TutorServices& services) {
  StealthPorts ports;
  ports.situation = [&view, &settingsController, &query, &snip] {
    const UiSettings& settings = settingsController.settings();
    const PanelState& state = view.state();
    StealthSituation situation;
    StripSituation& strip = situation.strip;
    strip.panel = view.window();
    strip.stripWidth = settings.stripWidth;
    strip.right = settings.stripRight;
    strip.dpiScale = state.dpiScale;
    strip.stealth = state.stealth;
    strip.visible = state.visible;
    strip.queryRunning = query.running();
    situation.hasReply = query.hasReply();
    situation.reply = &query.reply();
    situation.handsFreeSeconds = settings.handsFreeSeconds;
    situation.otherWork = snip.open() || settingsController.state().captureSlot >= 0;
    return situation;
  };
  ports.startScan = [&view] { view.StartQuery(QueryKind::Scan, {}); };
  ports.startCheck = [&services] { return StartQuestionCheck(services.solve); };
  ports.now = TickNow;
  return ports;
}

SnipPorts PanelWiring::Snip(ViewController& view, SettingsController& settings, const QueryController& query,
                             const PanelObservers& observers) {
  SnipPorts ports;
  ports.queryRunning = [&query] { return query.running(); };
  ports.opening = [&view, &settings] {
    view.SetNotice(L"");
    if (settings.state().captureSlot >= 0) settings.CancelRecording();
  };
  ports.failed = [&view] {
    VykLog("[vyk] The snip overlay could not be drawn; the snip was closed.\n");
    view.SetNotice(panel_text::SnipFailed);
    view.Repaint();
  };
  ports.overlayShown = [&observers](bool open) {
    if (observers.snipOverlay) observers.snipOverlay(open);
  };
  ports.snipped = [&view](const PixelRect& selection) { view.StartQuery(QueryKind::Snip, SnipRectText(selection)); };
  return ports;
}

SettingsPagePainter PanelWiring::SettingsPainter(const SettingsController& settings,
                                                 const AccountController& accountController,
                                                 const GlassController& glass, const PanelControls& controls,
                                                 const CaretBlink& caret, const ConfigController& config) {
  return [&settings, &accountController, &glass, &controls, &caret, &config](
             Canvas& canvas, GlyphMeasurer& measurer, const PanelView& view, float width, float height) {
    const SettingsState& state = settings.state();
    SettingsPaintView page;
    page.settings = state.settings;
    page.openSection = settings.page().openSection();
    page.animations = settings.page().animations();
    page.now = settings.now();
    page.hover = settings.page().hover();
    page.styleStatus = glass.styleStatus();
    page.captureSlot = state.captureSlot;
    page.hotkeyStatus = state.hotkeyStatus;
    page.hotkeyStatusError = state.hotkeyStatusError;
    AccountPaintView& account = page.account;
    account.area = accountController.area();
    account.email = accountController.account().email;
    account.statusLine = accountController.StatusLine();
    account.statusIsError = accountController.form().statusIsError();
    account.jobRunning = accountController.jobRunning();
    account.codeStage = accountController.form().codeStage();
    account.fieldFocused = controls.Focused(control_id::SignInField);
    account.field = view.signInField;
    account.firstRunNote = config.note();
    account.firstRunNoteIsError = config.noteIsError();
    PaintSettingsPage(canvas, measurer, view, width, height, page);
  };
}

void PanelWiring::LockRowsForMode(const TutorServices& services, SettingsController& settings,
                                  PanelControls& controls) {
  const bool local = !services.hosted;
  settings.SetLocalKeyMode(local);
  for (int id : {control_id::LiveAnswersOff, control_id::LiveAnswersOn}) controls.Enable(id, local);
}

// A disabled control gets no mouse input (the panel does), so the tip is an area of the panel.
void PanelWiring::PlaceLockedRowTip(TooltipWindow* tooltip, const TutorServices& services,
                                    const SettingsController& settings, const ViewController& view) {
  if (!tooltip || !services.hosted) return;
  const int open = settings.page().openSection();
  const PanelState& state = view.state();
  RECT area{};
  if (state.page == PanelPage::Settings && !state.stealth && SegmentedRowTable()[kLiveAnswersRow].section == open) {
    const RectF row = RowRect(view.LogicalClient().width, kLiveAnswersRow, open);
    const float scale = state.uiScale;
    area = {ScaledPixels(row.x, scale), ScaledPixels(row.y, scale), ScaledPixels(row.Right(), scale),
            ScaledPixels(row.Bottom(), scale)};
  }
  tooltip->SetAreaTip(kLiveAnswersRow, area, kLiveAnswersHostedTip);
}

void PanelWiring::UpdateTooltips(TooltipWindow* tooltip, const PanelControls& controls, const HotkeyTable& hotkeys) {
  if (tooltip) tooltip->SetTips(PanelTips(hotkeys), [&controls](int id) { return controls.Get(id); });
}
