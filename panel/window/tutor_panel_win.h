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
#include "panel/panel_state.h"
#include "panel/window/capture_exclusion_win.h"
#include "panel/window/panel_controls_win.h"
#include "panel/window/tooltip_window_win.h"
#include "panel/window/window_timers_win.h"
#include "settings/ui_settings_win.h"
#include "tutor/tutor_services.h"

inline constexpr const wchar_t* kPanelClassName = L"VykTutorWindow";

// Things a caller may want to hear about (development builds log them).
struct PanelObservers {
  std::function<void(QueryKind)> queryStarted;
  std::function<void(const TutorReply&)> replyCollected;
  std::function<void(bool open)> snipOverlay;
  // After each step of the sign-in form: its status line, whether that is an error, the stage, and
  // the account on view.
  std::function<void(const std::wstring& status, bool error, bool codeStage, const AccountInfo& account)> accountForm;
  // After each backdrop evaluation: whether glass is in use, and what the glass object's
  // initialisation answered (S_OK when it was not asked).
  std::function<void(bool glassActive, HRESULT initialised)> backdropEvaluated;
  // The configuration was read again (first run): whether it now names a service, and its mode.
  std::function<void(bool configured, bool hosted)> configurationRead;
};

class TutorPanel {
 public:
  // The settings are read from and written to `settingsPath` ("vyk.ui.ini" next to the program;
  // nothing is read or written when it is empty).
  TutorPanel(HINSTANCE instance, TutorServices services, std::wstring settingsPath = SettingsPath());
  // Destroys the main window if it still exists, so that no message reaches a freed panel.
  ~TutorPanel();
  TutorPanel(const TutorPanel&) = delete;
  TutorPanel& operator=(const TutorPanel&) = delete;

  // The "VykTutorWindow" class.
  static bool Register(HINSTANCE instance);
  // Loads the UI settings and publishes the bindings to the input hooks.
  void LoadSettings();
  // How the panel's own top-level windows (tooltips, snip overlay) treat a failed capture exclusion.
  void SetCapturePolicy(CapturePolicy policy) { capturePolicy_ = policy; }
  // Creates the hidden main window with its child controls; false when that failed.
  bool CreateMainWindow();

  // Start-up wiring.
  void AttachShadow(std::unique_ptr<ShadowWindow> shadow) { stealth_.AttachShadow(std::move(shadow)); }
  void AttachStrip(std::unique_ptr<StripWindow> strip) { stealth_.AttachStrip(std::move(strip)); }
  void SetHooks(std::unique_ptr<InputHooks> hooks) { hooks_ = std::move(hooks); }
  void SetGlass(std::unique_ptr<GlassBackdrop> glass) { glass_.SetBackdrop(std::move(glass)); }
  void SetObservers(PanelObservers observers) { observers_ = std::move(observers); }
  void DeleteEditGdiObjects() { controls_.DeleteEditGdiObjects(); }

  // Operations (UI thread).
  void SetVisible(bool show);
  void SetStealth(bool on);
  void SetPage(PanelPage page);
  void StartQuery(QueryKind kind, std::wstring text);
  // Start-up's last step: the first run when no service is configured, else the account probe.
  void StartAccountProbe() {
    if (!config_.Start(services_)) account_.StartProbe();
  }
  void Place(bool firstTime);
  void EvaluateBackdrop() { glass_.EvaluateBackdrop(); }
  void CopyAnswer();
  // Runs the context menu at `point` (screen pixels), or at the panel's top-left for (-1, -1).
  void ShowContextMenu(POINT point);

  // For the message loop.
  HWND mainWindow() const { return main_; }
  bool stealth() const { return state_.stealth; }

  // What cannot be seen on the windows themselves.
  const ControlCreationFailure& creationFailure() const { return controls_.failure(); }
  const AccountController& accountState() const { return account_; }
  // The tip of control `id` as the tooltip window holds it (empty without tooltips).
  std::wstring TooltipText(int id) const;
  const std::wstring& styleStatus() const { return glass_.styleStatus(); }

 private:
  friend struct PanelWiring;  // the panel's side of each controller (panel_wiring_win.cpp)

  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnCreate();
  LRESULT OnDestroy();
  LRESULT OnSize(WPARAM kind);
  LRESULT OnTimer(UINT_PTR id);
  LRESULT OnCommand(int id, int notification);
  LRESULT OnMouseMove(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnMouseWheel(WPARAM wParam, LPARAM lParam);
  LRESULT OnDpiChanged(WPARAM wParam, LPARAM lParam);
  LRESULT OnHotkeyAction(WPARAM action);
  LRESULT OnPaint();
  LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);

  // Under glass the panel draws the edits: a change shows at once, with the caret lit again.
  void FadedEditTouched();

  void Repaint() { InvalidateRect(main_, nullptr, FALSE); }
  void UpdateWindowRegion();
  void Relayout();
  void UpdateShadow();
  // The drawn caret blinks while glass is on and a drawn edit has the focus.
  bool CaretWanted() const;
  void UpdateSendButton();
  void ToggleExplanation();
  // The client area's width and height in logical pixels.
  RectF LogicalClient() const;

  HINSTANCE instance_;
  TutorServices services_;
  PanelObservers observers_;
  std::wstring settingsPath_;
  ProfileIniFile settingsFile_;
  CapturePolicy capturePolicy_ = CapturePolicy::Required;

  WindowTimers timers_;
  PanelState state_;
  PanelControls controls_;
  PanelPainter painter_;
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
  HWND main_ = nullptr;  // destroyed by its own WM_DESTROY path (or by the destructor)
};
