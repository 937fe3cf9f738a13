#pragma once
// What is on view of the panel: shown or hidden, panel or stealth mode, the page, the placement
// and scale on its monitor, the window's rounded outline and the child controls' layout, and the
// question that a page or a hotkey starts. It holds the main window's handle and its view state;
// the controllers it moves between hold their own.
#include <windows.h>

#include <functional>
#include <string>

#include "panel/controllers/account_controller.h"
#include "panel/controllers/caret_blink.h"
#include "panel/controllers/glass_controller_win.h"
#include "panel/controllers/query_controller.h"
#include "panel/controllers/settings_controller.h"
#include "panel/controllers/stealth_controller_win.h"
#include "panel/panel_state.h"
#include "panel/window/panel_controls_win.h"

class ViewController {
 public:
  // Every reference outlives this (they are the panel's members).
  ViewController(PanelControls& controls, SettingsController& settings, QueryController& query,
                 const AccountController& account, GlassController& glass, CaretBlink& caret,
                 StealthController& stealth, const TutorServices& services);

  void SetWindow(HWND main) { main_ = main; }
  // Called after each relayout of the controls (for what follows them, such as an area's tip).
  void SetRelaidOut(std::function<void()> relaidOut) { relaidOut_ = std::move(relaidOut); }
  HWND window() const { return main_; }
  const PanelState& state() const { return state_; }

  // The window was created at `dpi`, or moved to a monitor of `dpi` with the system's suggested
  // rectangle; it was resized (or minimised); it is being destroyed (no longer visible).
  void Created(unsigned dpi);
  void DpiChanged(unsigned dpi, const RECT* suggested);
  void Sized(bool minimised);
  void Destroyed();

  void SetVisible(bool show);
  void SetStealth(bool on);
  void SetPage(PanelPage page);
  // Starts a query of `kind` (typed text comes from the question page's box), unless one runs.
  void StartQuery(QueryKind kind, std::wstring text);
  // Sizes the panel for its monitor; the first time, it goes to the work area's bottom-right corner.
  void Place(bool firstTime);

  void Repaint() { InvalidateRect(main_, nullptr, FALSE); }
  // A notice in the footer in place of the status word (empty for none).
  void SetNotice(std::wstring notice) { state_.notice = std::move(notice); }
  void UpdateWindowRegion();
  void Relayout();
  void UpdateShadow();
  void UpdateSendButton();
  void ToggleExplanation();
  // The drawn caret blinks while glass is on and a drawn edit has the focus.
  bool CaretWanted() const;
  void EditFocusChanged() { caret_.Update(CaretWanted()); }
  // Under glass the panel draws the edits: a change shows at once, with the caret lit again.
  void FadedEditTouched();
  // The client area's width and height in logical pixels.
  RectF LogicalClient() const;

 private:
  PanelControls& controls_;
  SettingsController& settings_;
  QueryController& query_;
  const AccountController& account_;
  GlassController& glass_;
  CaretBlink& caret_;
  StealthController& stealth_;
  const TutorServices& services_;
  std::function<void()> relaidOut_;
  PanelState state_;
  HWND main_ = nullptr;  // owned by the panel; null before creation and after destruction
};
