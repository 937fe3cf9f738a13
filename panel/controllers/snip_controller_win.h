#pragma once
// The snip overlay's life on the panel: opened over the whole virtual desktop (unless a query runs
// or one is open already), with every key and button going to it while it is open, and closed with
// or without a snip.
#include <windows.h>

#include <functional>
#include <memory>

#include "core/geometry.h"
#include "panel/snip/snip_overlay_win.h"

struct SnipPorts {
  std::function<bool()> queryRunning;
  std::function<PixelRect()> desktop;  // the area the overlay covers; the virtual screen when empty
  std::function<void()> opening;                     // a binding being recorded is given up
  std::function<void(bool open)> overlayShown;        // for observers
  std::function<void(const PixelRect& selection)> snipped;  // the snip query starts
  std::function<void()> failed;  // the overlay could not be drawn: the user is told
};

class SnipController {
 public:
  explicit SnipController(SnipPorts ports) : ports_(std::move(ports)) {}

  // Opens the overlay, owned by `owner`; never where screen capture could record it.
  void Open(HINSTANCE instance, HWND owner, CapturePolicy policy);
  // The panel is going away.
  void Close() { overlay_.reset(); }
  bool open() const { return overlay_ != nullptr; }
  // Esc or the right button seen by the input hooks while the snip is open: the overlay may not
  // have the keyboard focus when Windows refused to bring it to the foreground.
  void Cancel() { Finish(false); }

 private:
  // With `accept` and a big enough selection, the snip query starts.
  void Finish(bool accept);
  PixelRect Desktop() const;

  SnipPorts ports_;
  std::unique_ptr<SnipOverlay> overlay_;  // only while a snip is being dragged
};
