#pragma once
// The decisions of one snip: where the selection is while the user drags it over the overlay, when
// its size label shows, whether the finished drag is big enough to send, and the desktop rectangle
// text that the snip query reads. The overlay window feeds it the pointer; it knows no platform.
#include <optional>
#include <string>

#include "core/geometry.h"

// The smallest selection, in pixels each way, that is sent.
inline constexpr int kSnipMinSide = 8;
// The size label shows only on a selection wider and taller than these.
inline constexpr int kSnipLabelMinWidth = 35;
inline constexpr int kSnipLabelMinHeight = 17;

class SnipSession {
 public:
  // An overlay over `desktop` (the virtual screen, in desktop coordinates); points are in the
  // overlay's client coordinates, so (0, 0) is the desktop's top-left corner.
  explicit SnipSession(const PixelRect& desktop) : desktop_(desktop) {}

  // The left button went down: a drag starts there.
  void Press(int x, int y);
  // The pointer moved; true when a drag is on, so the overlay must be drawn again.
  bool Move(int x, int y);
  bool dragging() const { return dragging_; }

  // The selection to draw, in overlay coordinates clamped to the overlay; none when not dragging or
  // when the clamped rectangle is empty.
  std::optional<PixelRect> Selection() const;

  // Ends the drag. With `accept`, the dragged rectangle in desktop coordinates from the press to the
  // last point seen while dragging, when it is at least kSnipMinSide each way; otherwise nothing.
  std::optional<PixelRect> Finish(bool accept);

  const PixelRect& desktop() const { return desktop_; }

 private:
  PixelRect desktop_;
  bool dragging_ = false;
  int startX_ = 0, startY_ = 0, currentX_ = 0, currentY_ = 0;
};

// Whether a selection of this size carries its size label.
bool SnipLabelShown(int width, int height);
// "<width> × <height>".
std::wstring SnipLabelText(int width, int height);
// "left,top,right,bottom" in decimal, as the snip query reads it back.
std::wstring SnipRectText(const PixelRect& rect);
