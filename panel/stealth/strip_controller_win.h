#pragma once
// The stealth strip's behaviour: where it sits, when it shows, the working mark while a query runs
// and the answer glow, which runs on the panel window's timer 2 (owned here). The geometry and colours are
// panel/stealth_strip.h; this side reads the screen and pushes the pixels.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>

#include "panel/controllers/timer_port.h"
#include "panel/window/layered_bitmap_win.h"
#include "panel/stealth/stealth_strip.h"
#include "panel/stealth/strip_window_win.h"

// What the strip needs to know about the panel when it places or draws itself.
struct StripSituation {
  HWND panel = nullptr;  // the strip goes on the work area of the monitor nearest to it
  int stripWidth = 6;    // 2, 4 or 6, before scaling
  bool right = false;
  float dpiScale = 1.0f;
  bool stealth = false;
  bool visible = false;
  bool queryRunning = false;
  int glowOption = -1;  // the reply's option 0..3 when it is an answer naming one, else -1
};

class StripController {
 public:
  explicit StripController(TimerPort& timers);
  void SetSituation(std::function<StripSituation()> situation) { situation_ = std::move(situation); }
  // The strip window made at start-up.
  void Attach(std::unique_ptr<StripWindow> window) { window_ = std::move(window); }
  // Destroys the strip window (the panel is going away).
  void Destroy();

  bool exists() const { return window_ != nullptr; }
  bool shown() const { return window_ && window_->shown(); }
  bool pulseRunning() const { return pulseStart_ != 0; }
  // When the last answer pulse ended (tick milliseconds), 0 when none has.
  uint64_t lastPulseEnd() const { return lastPulseEnd_; }
  // The strip's rectangle in screen pixels as last placed.
  const PixelRect& rect() const { return rect_; }

  // Moves the strip to its edge of the panel's monitor, shown (stealth mode, panel visible) or not.
  void Place(bool show);
  // Places it shown.
  void Show() { Place(true); }
  // Ends any pulse, pushes a transparent strip and hides it.
  void Hide();
  // Renders the strip and pushes it to its layered window: the working pill while a query runs,
  // else the answer glow while a pulse runs; transparent outside stealth mode or while hidden.
  void DrawStrip();
  // A query started in stealth mode: the working pill, coloured from the screen behind it.
  void ShowWorking();
  // Lights the section of the answer's option for six seconds; a reply without an option A to D
  // clears a running glow instead.
  void StartPulse();
  void StopPulse();
  // Timer 2: one step of the pulse.
  void OnPulseTick(uint64_t now, bool stealth, bool visible);

 private:
  StripSituation Situation() const { return situation_ ? situation_() : StripSituation{}; }
  // The colour of the screen behind `section` (kMiddleBand for the pill), light grey when the
  // screen cannot be read.
  uint32_t SampleEdgeColour(int section, float contrast) const;
  void DrawMark(const StripMark& mark, uint32_t colour);

  std::unique_ptr<StripWindow> window_;
  std::function<StripSituation()> situation_;
  OwnedTimer pulseTimer_;
  PixelRect rect_{0, 0, 1, 1};  // screen pixels; the created size until the strip is placed
  LayeredBitmap bitmap_;
  uint32_t workColour_ = kEdgeFallbackColour;   // 0x00BBGGRR
  uint32_t pulseColour_ = kEdgeFallbackColour;
  uint64_t pulseStart_ = 0;  // 0: no pulse
  uint64_t lastPulseEnd_ = 0;
};
