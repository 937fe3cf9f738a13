#pragma once
// The panel object: it owns the main window and coordinates everything around it (the child
// controls, the shadow, the stealth strip, the snip overlay, the tooltips, painting, the settings
// page, hands-free scanning, the current query and account job, the UI settings in memory and
// every UI timer). All of it runs on the UI thread; workers only fill the shared job records that
// the timers poll.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "settings/ui_settings_store.h"
#include "settings/ui_settings_win.h"
#include "core/worker_job.h"
#include "glass/glass_backdrop_win.h"
#include "hotkeys/input_hooks_win.h"
#include "panel/capture_exclusion_win.h"
#include "panel/panel_controls_win.h"
#include "panel/panel_paint.h"
#include "panel/panel_painter_win.h"
#include "panel/panel_state.h"
#include "panel/settings_page.h"
#include "panel/sign_in_form.h"
#include "panel/shadow_window_win.h"
#include "panel/snip_overlay_win.h"
#include "panel/strip_controller_win.h"
#include "panel/tooltip_window_win.h"
#include "handsfree/hands_free.h"
#include "tutor/tutor_services.h"

inline constexpr const wchar_t* kPanelClassName = L"VykTutorWindow";

// What a finished account job hands back to the panel.
struct AccountJobResult {
  AccountJobKind kind = AccountJobKind::Probe;
  AuthResult result;
};

using AccountJob = WorkerJob<AccountJobResult>;

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
};

class TutorPanel : private ControlEvents {
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
  void AttachShadow(std::unique_ptr<ShadowWindow> shadow) { shadow_ = std::move(shadow); }
  void AttachStrip(std::unique_ptr<StripWindow> strip) { strip_.Attach(std::move(strip)); }
  void SetHooks(std::unique_ptr<InputHooks> hooks) { hooks_ = std::move(hooks); }
  void SetGlass(std::unique_ptr<GlassBackdrop> glass) { glass_ = std::move(glass); }
  void SetObservers(PanelObservers observers) { observers_ = std::move(observers); }
  void DeleteEditGdiObjects() { controls_.DeleteEditGdiObjects(); }

  // Operations (UI thread).
  void SetVisible(bool show);
  void SetStealth(bool on);
  void SetPage(PanelPage page);
  void StartQuery(QueryKind kind, std::wstring text);
  void CollectQueryResult();
  void StartAccountProbe();
  void PollAccountJob();
  void Place(bool firstTime);
  void EvaluateBackdrop();
  void UpdateGlassTimer();
  void UpdateShadow();
  void UpdateWindowRegion();
  void Relayout();
  void StartAnimation(int slot, const RectF& from, const RectF& to);
  void CopyAnswer();
  void OpenContextMenu(int x, int y);  // -1, -1: at the keyboard position
  // The hands-free interval (0 for off), saved, and hands-free started over.
  void SetHandsFree(int seconds);

  // For the message loop.
  HWND mainWindow() const { return main_; }
  bool stealth() const { return state_.stealth; }

  // What cannot be seen on the windows themselves.
  const ControlCreationFailure& creationFailure() const { return controls_.failure(); }
  bool accountJobRunning() const { return static_cast<bool>(accountJob_); }
  const AccountInfo& account() const { return state_.account; }
  // The tip of control `id` as the tooltip window holds it (empty without tooltips).
  std::wstring TooltipText(int id) const;
  const std::wstring& styleStatus() const { return styleStatus_; }

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnCreate();
  LRESULT OnDestroy();
  LRESULT OnSize(WPARAM kind);
  LRESULT OnTimer(UINT_PTR id);
  LRESULT OnCommand(int id, int notification);
  LRESULT OnHitTest(LPARAM point);
  LRESULT OnMouseWheel(WPARAM wParam, LPARAM lParam);
  LRESULT OnRowHoverEnd(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnDpiChanged(WPARAM wParam, LPARAM lParam);
  LRESULT OnHotkeyAction(WPARAM action);
  LRESULT OnCtlColorEdit(HDC dc);
  LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);

  // ControlEvents
  bool QuestionPageOpen() const override { return state_.page == PanelPage::Question; }
  void EditFocusChanged() override { UpdateCaretTimer(); }
  void FadedEditTouched() override;

  void Repaint() { InvalidateRect(main_, nullptr, FALSE); }
  void ApplySettingsEffects(const SettingsEffects& effects);
  // A setter's side effects on the windows.
  void ApplySettingChange(SettingChange change);
  AccountArea CurrentAccountArea() const;
  // The style status from the settings and the glass; a change renames the Settings button.
  void RefreshStyleStatus();
  // The tooltips' texts from the current bindings.
  void UpdateTooltips();
  LRESULT OnSettingsMouseMove(WPARAM wParam, LPARAM lParam);
  SettingsPagePainter SettingsPainter();
  void UpdateSendButton();
  void SetQueryButtonsEnabled(bool enabled);
  void ToggleExplanation();
  void ReshowStrip();
  void OnAnimationTick();
  void OnCaretTick();
  void UpdateCaretTimer();
  HandsFreePorts MakeHandsFreePorts();
  void ResetHandsFree(bool reset);
  void OnHandsFreeTick();
  void OnStripPulseTick();
  StripSituation StripNow() const;
  // The snip overlay over the whole desktop, unless a query runs or a snip is open already.
  void OpenSnipOverlay();
  // Closes the overlay; with `accept` and a big enough selection, starts the snip query.
  void FinishSnip(bool accept);
  void ShowActiveFrame();
  // The glass presentation refused a paint: plain looks until the backdrop is evaluated again.
  void DropGlass();
  void SubmitSignIn();
  void BackToEmail();
  void StartSignOut();
  void ApplySignInEffects(const SignInEffects& effects);
  void StartSignInJob(AccountJobKind kind, const std::wstring& email, const std::wstring& code);
  void StartAccountJob(AccountJobKind kind, std::function<AuthResult()> work, AuthResult onThrow);
  float LogicalWidth() const;
  float LogicalHeight() const;

  HINSTANCE instance_;
  TutorServices services_;
  PanelObservers observers_;
  std::wstring settingsPath_;
  ProfileIniFile settingsFile_;
  UiSettingsStore settingsStore_;
  CapturePolicy capturePolicy_ = CapturePolicy::Required;

  PanelState state_;
  PanelControls controls_;
  PanelPainter painter_;
  SettingsPage settingsPage_;
  SignInForm signIn_;
  StripController strip_;
  HandsFreeController handsFree_{MakeHandsFreePorts()};
  std::unique_ptr<GlassBackdrop> glass_;
  std::unique_ptr<InputHooks> hooks_;
  std::shared_ptr<AccountJob> accountJob_;

  HWND main_ = nullptr;  // destroyed by its own WM_DESTROY path (or by the destructor)
  std::unique_ptr<ShadowWindow> shadow_;
  std::unique_ptr<SnipOverlay> snip_;  // only while a snip is being dragged
  std::unique_ptr<TooltipWindow> tooltip_;
  std::wstring styleStatus_;  // the hint line's fallback, also in the Settings button's name
};
