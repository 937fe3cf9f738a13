#pragma once
// The panel's side of each controller: the events, views and ports through which a controller
// reaches the windows, the other controllers and the observers. Built once, by the panel's
// constructor; every function captures the panel, which outlives its controllers.
#include "panel/paint/panel_paint.h"
#include "panel/window/tutor_panel_win.h"

struct PanelWiring {
  static QueryWorkerStart QueryWorker(TutorPanel& panel);
  static QueryEvents Query(TutorPanel& panel);
  static AccountView Account(TutorPanel& panel);
  static ConfigFilePort ConfigFiles(TutorPanel& panel);
  static ConfigView Config(TutorPanel& panel);
  static SettingsEvents Settings(TutorPanel& panel);
  static GlassPorts Glass(TutorPanel& panel);
  static StealthPorts Stealth(TutorPanel& panel);
  static SnipPorts Snip(TutorPanel& panel);
  static ControlEvents Controls(TutorPanel& panel);
  // Draws the settings page's sections from the settings, the account and the glass status.
  static SettingsPagePainter SettingsPainter(TutorPanel& panel);
  // The tooltips' texts from the current bindings.
  static void UpdateTooltips(TutorPanel& panel);

 private:
  static void EnableQueryButtons(TutorPanel& panel, bool enabled);
  // A setter's side effects on the windows and the other controllers.
  static void ApplySettingChange(TutorPanel& panel, SettingChange change);
};
