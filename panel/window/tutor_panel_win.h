#pragma once
// The panel object: it owns the main window, its procedure and the routing of its messages, and
// the controllers that hold everything with state and a timeline (the settings, the query and its
// reply, the account, the glass backdrop, the drawn caret, stealth mode with hands-free scanning,
// the snip overlay). Each controller owns its timers; WM_TIMER is routed to the owner. All of it
// runs on the UI thread; workers only fill the shared job records that the timers poll.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "hotkeys/input_hooks_win.h"
#include "panel/controllers/account_controller.h"
#include "panel/controllers/caret_blink.h"
#include "panel/controllers/config_controller.h"
#include "panel/controllers/glass_controller_win.h"
#include "panel/controllers/query_controller.h"
#include "panel/controllers/settings_controller.h"
#include "panel/controllers/snip_controller_win.h"
#include "panel/controllers/stealth_controller_win.h"
#include "panel/paint/panel_painter_win.h"
#include "panel/window/capture_exclusion_win.h"
#include "panel/window/panel_controls_win.h"
#include "panel/window/panel_observers_win.h"
#include "panel/window/tooltip_window_win.h"
#include "panel/window/view_controller_win.h"
#include "panel/window/window_timers_win.h"
#include "settings/ui_settings_win.h"
#include "tutor/tutor_services.h"

inline constexpr const wchar_t* kPanelClassName = L"VykTutorWindow";

// Everything the panel is made with, besides the instance and the services.
struct PanelOptions {
  // The settings are read from and written to this file ("vyk.ui.ini" next to the program;
  // nothing is read or written when it is empty).
  std::wstring settingsPath = SettingsPath();
  // How the panel's own top-level windows (tooltips, snip overlay) treat a failed capture exclusion.
  CapturePolicy capturePolicy = CapturePolicy::Required;
  PanelObservers observers;
  // The other top-level windows, made in this order once the main window exists (the shadow is
  // owned by it); the panel runs without either.
  std::function<std::unique_ptr<ShadowWindow>(HWND main)> makeShadow;
  std::function<std::unique_ptr<StripWindow>()> makeStrip;
  // The glass backdrop object; without one the panel keeps its plain looks.
  std::function<std::unique_ptr<GlassBackdrop>()> makeGlass;
};

class TutorPanel {
 public:
  // Loads the UI settings (publishing the bindings to the input hooks), creates the hidden main
  // window with its child controls and the other windows, evaluates the backdrop and places the
  // panel on its monitor. Null when the main window could not be created; `failure` then names the
  // child control that failed, if one did.
  static std::unique_ptr<TutorPanel> Create(HINSTANCE instance, TutorServices services, PanelOptions options,
                                            ControlCreationFailure* failure = nullptr);
  // Destroys the main window if it still exists, so that no message reaches a freed panel, and
  // then the edit controls' font and brush.
  ~TutorPanel();
  TutorPanel(const TutorPanel&) = delete;
  TutorPanel& operator=(const TutorPanel&) = delete;

  // The "VykTutorWindow" class.
  static bool Register(HINSTANCE instance);
  // The panel takes the input hooks (removed when its window goes), shows itself and starts the
  // first account probe (hosted mode only).
  void Start(std::unique_ptr<InputHooks> hooks);

  // For the message loop's shortcuts.
  void CopyAnswer();
  // Runs the context menu at `point` (screen pixels), or at the panel's top-left for (-1, -1).
  void ShowContextMenu(POINT point);

  // What cannot be seen on the windows themselves.
  HWND mainWindow() const { return view_.window(); }
  const ViewController& view() const { return view_; }
  const AccountController& account() const { return account_; }
  const GlassController& glass() const { return glass_; }
  // The tip of control `id` as the tooltip window holds it (empty without tooltips).
  std::wstring TooltipText(int id) const;

 private:
  TutorPanel(HINSTANCE instance, TutorServices services, PanelOptions& options);

  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnCreate();
  LRESULT OnDestroy();
  LRESULT OnTimer(UINT_PTR id);
  LRESULT OnCommand(int id, int notification);
  LRESULT OnMouseMove(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnMouseWheel(WPARAM wParam, LPARAM lParam);
  LRESULT OnHotkeyAction(WPARAM action);
  LRESULT OnStealthMenu();
  LRESULT OnPaint();
  LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);

  HINSTANCE instance_;
  TutorServices services_;
  PanelObservers observers_;
  std::wstring settingsPath_;
  ProfileIniFile settingsFile_;
  CapturePolicy capturePolicy_;

  WindowTimers timers_;
  PanelControls controls_;
  PanelPainter painter_;
  ViewController view_;  // holds references to the controllers below; uses them only once they exist
  SettingsController settings_;
  QueryController query_;
  AccountController account_;
  ConfigController config_;
  GlassController glass_;
  CaretBlink caret_;
  StealthController stealth_;
  SnipController snip_;
  std::unique_ptr<InputHooks> hooks_;
  std::unique_ptr<TooltipWindow> tooltip_;
};
