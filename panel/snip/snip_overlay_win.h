#pragma once
// The snip overlay: a layered window over the whole desktop on which the user drags the rectangle
// to send ("VykTutorSnip", cross cursor). It is created when a snip starts and destroyed when it
// ends; the panel owns it meanwhile. The drag itself is decided by a SnipSession; this window feeds
// it the pointer, draws what it says into a reused bitmap and asks its owner to finish.
#include <windows.h>

#include <functional>
#include <memory>

#include "core/geometry.h"
#include "core/unique_handle_win.h"
#include "panel/window/capture_exclusion_win.h"
#include "panel/window/layered_bitmap_win.h"
#include "panel/snip/snip_session.h"

inline constexpr const wchar_t* kSnipClassName = L"VykTutorSnip";

class GdiplusFonts;

class SnipOverlay {
 public:
  static bool Register(HINSTANCE instance);
  // The hidden overlay over `desktop` (the virtual screen), owned by `panel`. Null when it cannot be
  // created or hidden from capture: no snip is offered that screen capture could record.
  static std::unique_ptr<SnipOverlay> Create(HINSTANCE instance, HWND panel, const PixelRect& desktop,
                                             CapturePolicy policy);
  ~SnipOverlay();
  SnipOverlay(const SnipOverlay&) = delete;
  SnipOverlay& operator=(const SnipOverlay&) = delete;

  // Called with accept = true when the left button is released, false on Esc, a right button or a
  // lost mouse capture during a drag. The owner ends the snip there (and may destroy this object).
  void OnFinish(std::function<void(bool accept)> finish) { finish_ = std::move(finish); }

  // Draws the dim layer and the selection and shows the window on top with the keyboard focus.
  // False, with the window left hidden, when the drawing failed.
  bool Open();
  // Draws the current state into the bitmap and pushes it to the window; false when that failed.
  bool Render();

  HWND handle() const { return window_.get(); }
  const PixelRect& desktop() const { return session_.desktop(); }
  SnipSession& session() { return session_; }

 private:
  explicit SnipOverlay(const PixelRect& desktop);
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
  LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void Finish(bool accept);

  SnipSession session_;
  std::function<void(bool)> finish_;
  LayeredBitmap bitmap_;  // reused while the size stays
  std::unique_ptr<GdiplusFonts> fonts_;  // made at the first label
  UniqueWindow window_;  // last: goes first, while the rest still exists
};
