#pragma once
// The panel object: owns the main window's state, its child controls, the shadow and strip windows,
// the current query and account job, the UI settings in memory and every UI timer. All of it runs
// on the UI thread; workers only fill the shared job records that the timers poll.
#include <windows.h>

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "tutor/tutor_services.h"
#include "app/settings/ui_settings.h"
#include "app/settings/ui_settings_store.h"
#include "app/settings/ui_settings_win.h"
#include "hotkeys/input_hooks_win.h"
#include "app/core/unique_handle_win.h"
#include "panel/panel_controls.h"
#include "panel/panel_geometry.h"
#include "panel/panel_rules.h"
#include "app/core/worker_job.h"
#include "tutor/query_job.h"

inline constexpr const wchar_t* kPanelClassName = L"VykTutorWindow";
inline constexpr const wchar_t* kShadowClassName = L"VykTutorShadow";
inline constexpr const wchar_t* kStealthClassName = L"VykTutorStealth";
inline constexpr const wchar_t* kSnipClassName = L"VykTutorSnip";

// The live translucent backdrop behind the panel. The panel only drives it; without one the panel
// uses its plain look.
class GlassBackdrop {
 public:
  virtual ~GlassBackdrop() = default;
  virtual void SetDarkTheme(bool dark) = 0;
  virtual bool Initialize(HWND window) = 0;
  virtual void Teardown() = 0;
  virtual void ReleaseFrameResources() = 0;
  virtual bool RenderFrame(float uiScale, float cornerRadius) = 0;
  virtual void ClearCachedStatus() = 0;
};

// The kinds of account work, in the order the account job records them.
enum class AccountJobKind : int { Probe = 0, SendCode = 1, Verify = 2, SignOut = 3 };
struct AccountJobResult {
  AccountJobKind kind = AccountJobKind::Probe;
  AuthResult result;
};

using AccountJob = WorkerJob<AccountJobResult>;

// Things a caller may want to hear about (development builds log them).
struct PanelObservers {
  std::function<void(QueryKind)> queryStarted;
  std::function<void(const TutorReply&)> replyCollected;
};

class TutorPanel {
 public:
  TutorPanel(HINSTANCE instance, TutorServices services);
  ~TutorPanel();
  TutorPanel(const TutorPanel&) = delete;
  TutorPanel& operator=(const TutorPanel&) = delete;

  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam,
                                     LPARAM lParam) noexcept;

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
  void StartAnimation(int slot, const LogicalRect& from, const LogicalRect& to);
  void CopyAnswer();
  void OpenContextMenu(int x, int y);  // -1, -1: at the keyboard position

  // Start-up wiring.
  void SetShadowWindow(HWND window) { shadow_.reset(window); }
  void SetStripWindow(HWND window) { strip_.reset(window); }
  void SetHooks(std::unique_ptr<InputHooks> hooks) { hooks_ = std::move(hooks); }
  void SetGlass(std::unique_ptr<GlassBackdrop> glass) { glass_ = std::move(glass); }
  void SetObservers(PanelObservers observers) { observers_ = std::move(observers); }
  void DeleteEditGdiObjects();

  // UI settings in memory (loaded before the windows exist) and where they are saved.
  UiSettings& settings() { return settings_; }
  const std::wstring& settingsPath() const { return settingsPath_; }

  // State, for the message loop and for tests.
  HWND mainWindow() const { return main_; }
  HWND shadowWindow() const { return shadow_.get(); }
  HWND stripWindow() const { return strip_.get(); }
  HWND control(int id) const;
  bool stealth() const { return stealth_; }
  bool visible() const { return visible_; }
  PanelPage page() const { return page_; }
  bool queryRunning() const { return static_cast<bool>(job_); }
  bool accountJobRunning() const { return static_cast<bool>(accountJob_); }
  bool hasReply() const { return hasReply_; }
  const TutorReply& lastReply() const { return lastReply_; }
  QueryKind lastKind() const { return lastKind_; }
  const AccountInfo& account() const { return account_; }
  float uiScale() const { return uiScale_; }
  bool glassActive() const { return glassActive_; }
  bool explanationShown() const { return explanationShown_; }
  int captureSlot() const { return captureSlot_; }
  // The child control whose creation made the window's creation fail (0: none), and its error.
  int failedControl() const { return failedControl_; }
  DWORD failedControlError() const { return failedControlError_; }

 private:
  friend struct PanelControlHooks;

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept;
  LRESULT OnCreate() noexcept;
  LRESULT OnDestroy() noexcept;
  LRESULT OnSize(WPARAM kind) noexcept;
  LRESULT OnTimer(UINT_PTR id) noexcept;
  LRESULT OnCommand(int id, int notification) noexcept;
  LRESULT OnHitTest(LPARAM point) noexcept;
  LRESULT OnMouseWheel(WPARAM wParam, LPARAM lParam) noexcept;
  LRESULT OnMouseMove(WPARAM wParam, LPARAM lParam) noexcept;
  LRESULT OnMouseLeave(WPARAM wParam, LPARAM lParam) noexcept;
  LRESULT OnDpiChanged(WPARAM wParam, LPARAM lParam) noexcept;
  LRESULT OnHotkeyAction(WPARAM action) noexcept;
  LRESULT OnCtlColorEdit(HDC dc) noexcept;
  LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam) noexcept;

  bool CreateControls();
  HWND CreateChild(const wchar_t* className, const ControlSpec& entry, DWORD style, DWORD exStyle);
  void RecreateEditFont();
  void RemakeEditBrush();
  void PlaceControl(int id, const LogicalRect& rect, bool shown);
  void UpdateSendButton();
  void SetQueryButtonsEnabled(bool enabled);
  bool QuestionBoxHasText() const;
  std::wstring QuestionBoxText() const;
  void FocusControl(int id);
  void ToggleExplanation();
  void ToggleCapture(int slot);
  void ResetHotkeys();
  void SetCaptureSlot(int slot);
  void SetVisibleMirror(bool visible);
  void StartStripPulse();
  void StopStripPulse();
  void OnStripPulseTick();
  void OnAnimationTick();
  void OnCaretTick();
  void UpdateCaretTimer();
  void RearmHandsFreeTimer(bool reset);
  void ShowActiveFrame();
  void StartSignOut();
  void StartAccountJob(AccountJobKind kind, std::function<AuthResult()> work, AuthResult onThrow);
  float LogicalWidth() const;
  float LogicalHeight() const;

  // Features that plug into the panel; each file of the feature fills its body in.
  void Paint();
  void RedrawStrip(bool withPulse);
  void PositionStrip();
  void ShowStripWorking();
  void StartSnip();
  void HandsFreeTick();
  void HandleHotkeyCaptured(WPARAM wParam, LPARAM lParam);
  void ApplySettingCommand(int id);
  void LayoutSettingsPage(bool shown);
  void ApplyAccount(const AccountInfo& account);

  HINSTANCE instance_;
  TutorServices services_;
  PanelObservers observers_;
  std::unique_ptr<GlassBackdrop> glass_;

  HWND main_ = nullptr;  // destroyed by its own WM_DESTROY path, not owned here
  UniqueWindow shadow_;
  UniqueWindow strip_;
  UniqueWindow snip_;
  UniqueWindow tooltip_;
  std::array<HWND, kControlSlots> controls_{};  // children: destroyed with the main window
  std::unique_ptr<InputHooks> hooks_;
  UniqueFont editFont_;
  UniqueBrush editBrush_;

  float uiScale_ = 1.0f;
  float dpiScale_ = 1.0f;
  UiSettings settings_;
  std::wstring settingsPath_;
  ProfileIniFile settingsFile_;
  UiSettingsStore settingsStore_;
  bool glassActive_ = false;

  PanelPage page_ = PanelPage::Answer;
  bool stealth_ = false;
  bool visible_ = false;
  bool explanationShown_ = true;
  float answerScroll_ = 0, answerScrollMax_ = 0, explanationScroll_ = 0, explanationScrollMax_ = 0;
  bool caretVisible_ = false;
  std::wstring savedQuestion_;
  int hotControl_ = 0;
  std::array<bool, 6> rowHover_{};
  int openSection_ = 1;

  std::shared_ptr<Job> job_;
  QueryKind lastKind_ = QueryKind::Scan;
  TutorReply lastReply_;
  bool hasReply_ = false;

  std::shared_ptr<AccountJob> accountJob_;
  AccountInfo account_;

  int captureSlot_ = -1;
  int failedControl_ = 0;
  DWORD failedControlError_ = 0;
  std::wstring hotkeyStatus_;
  bool hotkeyStatusError_ = false;

  std::array<AnimationSlot, 7> animations_{};
  uint64_t pulseStart_ = 0;
  uint64_t lastPulseEnd_ = 0;
};
