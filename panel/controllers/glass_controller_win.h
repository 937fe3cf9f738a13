#pragma once
// The glass backdrop on the panel: whether it is really in use (backdrop evaluation), its frames
// on timer 3, dropping it when a presentation fails, and the style status that the settings hint
// and the Settings button's name show.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "glass/glass_backdrop_win.h"
#include "panel/controllers/timer_port.h"
#include "settings/ui_settings.h"

struct GlassPorts {
  std::function<bool()> stealth;
  std::function<float()> uiScale;
  // Glass came or went: the edits, the drawn caret and the window's outline follow; after an
  // evaluation (`evaluated`) the edits' brush is made anew for the theme too.
  std::function<void(bool evaluated)> looksChanged;
  // The style status changed (the Settings button is renamed, the hint repainted).
  std::function<void(const std::wstring& status)> statusChanged;
  std::function<void()> showActiveFrame;
  std::function<void()> repaint;
  // After each evaluation: whether glass is in use and what its initialisation answered.
  std::function<void(bool glassActive, HRESULT initialised)> evaluated;
};

class GlassController {
 public:
  GlassController(TimerPort& timers, const UiSettings& settings, GlassPorts ports);

  void SetWindow(HWND main) { main_ = main; }
  void SetBackdrop(std::unique_ptr<GlassBackdrop> backdrop) { backdrop_ = std::move(backdrop); }

  // Decides whether glass is in use (the setting, not stealth, transparency on, no high contrast,
  // not a remote session, and the backdrop starts) and sets the window up for it.
  void EvaluateBackdrop();
  // The presentation refused a paint: plain looks until the next evaluation.
  void Drop();
  // Runs timer 3 while glass is in use, not stealth, the window shown and not minimised; then
  // refreshes the style status.
  void UpdateGlassTimer();
  // Timer 3: one backdrop frame.
  void FrameTick();
  // The window was activated.
  void Activated();
  // The theme setter changed the theme; the liquid-glass setter changed the setting.
  void ThemeChanged();
  void SettingChanged();
  // Stealth mode begins: no frames, the backdrop hidden.
  void EnterStealth();
  // Display change or shutdown: the frame resources are let go (timer 3 stops too on shutdown).
  void ReleaseFrames();
  void Shutdown();

  // The style status from the settings and the glass.
  void RefreshStyleStatus();

  bool active() const { return active_; }
  GlassBackdrop* backdrop() const { return backdrop_.get(); }
  const std::wstring& styleStatus() const { return styleStatus_; }

 private:
  void SetRedirection(bool off);

  OwnedTimer frame_;
  const UiSettings& settings_;
  GlassPorts ports_;
  HWND main_ = nullptr;
  std::unique_ptr<GlassBackdrop> backdrop_;
  bool active_ = false;       // the glass backdrop is really in use
  std::wstring styleStatus_;  // the hint line's fallback, also in the Settings button's name
};
