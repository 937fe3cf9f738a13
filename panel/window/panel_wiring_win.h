#pragma once
// The panel's side of each controller: the events, views and ports through which a controller
// reaches the windows, the other controllers and the observers. Built once, by the panel's
// constructor, from the parts each one needs; every function captures those parts, which are the
// panel's members and outlive its controllers.
#include <memory>

#include "panel/controllers/config_controller.h"
#include "panel/controllers/snip_controller_win.h"
#include "panel/paint/panel_paint.h"
#include "panel/paint/panel_painter_win.h"
#include "panel/window/panel_observers_win.h"
#include "panel/window/tooltip_window_win.h"
#include "panel/window/view_controller_win.h"

// The panel's clock for its controllers: milliseconds since the system started.
uint64_t TickNow();

struct PanelWiring {
  static QueryWorkerStart QueryWorker(const TutorServices& services);
  static QueryEvents Query(ViewController& view, PanelControls& controls, StealthController& stealth,
                           AccountController& account, const PanelObservers& observers);
  static AccountView Account(ViewController& view, PanelControls& controls, const AccountController& account,
                             const PanelObservers& observers);
  static SettingsEvents Settings(ViewController& view, PanelControls& controls, const SettingsController& settings,
                                 GlassController& glass, StealthController& stealth,
                                 const std::unique_ptr<TooltipWindow>& tooltip);
  static ConfigFilePort ConfigFiles(CapturePolicy policy);
  // Queries and account jobs already running hold copies of the operations they started with, so
  // a changed configuration replaces `services` in place for what starts next.
  static ConfigView Config(ViewController& view, PanelControls& controls, SettingsController& settings,
                           AccountController& account, TutorServices& services, const PanelObservers& observers);
  static GlassPorts Glass(ViewController& view, PanelControls& controls, const SettingsController& settings,
                          const GlassController& glass, CaretBlink& caret, const PanelObservers& observers);
  static StealthPorts Stealth(ViewController& view, const SettingsController& settings, const QueryController& query,
                              const SnipController& snip, const TutorServices& services);
  static SnipPorts Snip(ViewController& view, SettingsController& settings, const QueryController& query,
                        const PanelObservers& observers);
  static ControlEvents Controls(ViewController& view);
  // Draws the settings page's sections from the settings, the account and the glass status.
  static SettingsPagePainter SettingsPainter(const SettingsController& settings, const AccountController& account,
                                             const GlassController& glass, const PanelControls& controls,
                                             const CaretBlink& caret, const ConfigController& config);
  // The tooltips' texts from the current bindings.
  static void UpdateTooltips(TooltipWindow* tooltip, const PanelControls& controls, const HotkeyTable& hotkeys);
  // Rows that do not apply in this mode (Live answers in hosted mode): disabled, with a tip.
  static void LockRowsForMode(const TutorServices& services, SettingsController& settings, PanelControls& controls);
  // The locked row's tip follows the row (nowhere while the row does not show).
  static void PlaceLockedRowTip(TooltipWindow* tooltip, const TutorServices& services,
                                const SettingsController& settings, const ViewController& view);

 private:
  static void EnableQueryButtons(PanelControls& controls, bool enabled);
  // A setter's side effects on the windows and the other controllers.
  static void ApplySettingChange(PanelControls& controls, const UiSettings& settings, GlassController& glass,
                                 StealthController& stealth, SettingChange change);
};
