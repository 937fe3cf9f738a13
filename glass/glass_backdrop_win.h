#pragma once
// The live translucent backdrop behind the panel: a tree of composition visuals attached to the
// panel window (the blurred, graded host backdrop, the refracting lens rim from live desktop
// frames, the panel's two painted layers and two soft shadows of the glass layer). The panel only
// drives it, on the UI thread; every failure comes back as a value and the panel then keeps its
// plain look.
#include <windows.h>

#include <memory>
#include <string>

class GlassBackdrop {
 public:
  virtual ~GlassBackdrop() = default;

  // Builds the composition tree for `window` on first use (and anew, with a new device, when the
  // graphics device was lost), then shows it. S_OK, or the failure of the composition or device
  // call that stopped it (nothing is kept from a failed build).
  virtual HRESULT Initialise(HWND window) = 0;
  // The dark style: a change rebuilds the backdrop and lens brushes in place, and is remembered
  // (dark()) only once that worked, so a failed change is tried again by the next call.
  virtual void SetDark(bool dark) = 0;
  // One 16 ms tick: captures and draws the lens rim; after a lost device's back-off it rebuilds the
  // device, the swap chains and the tree first. False only when there is no tree (none was built,
  // or that rebuild failed).
  virtual bool RenderFrame(HWND window, float scale, float radiusPx) = 0;
  // Shows the two painted layers (32-bit premultiplied BGRA, top-down rows of width * 4 bytes)
  // with the rounded clip, rebuilding a lost device first when that is due; false when they could
  // not be shown (the panel then takes its plain look).
  virtual bool Present(const void* contentPixels, const void* glassPixels, int width, int height,
                       float cornerRadius) = 0;
  // Hides the lens and lets go of the desktop capture.
  virtual void ReleaseFrameResources() = 0;
  // ReleaseFrameResources, then hides the whole tree.
  virtual void Hide() = 0;
  // Ends a capture failure's back-off and forgets its text.
  virtual void ClearStatus() = 0;
  // The status the style section shows while the lens is not shown.
  virtual std::wstring StatusText() const = 0;
  virtual bool lensShown() const = 0;
  virtual bool dark() const = 0;
};

// The composition glass of this machine (no tree is built before Initialise).
std::unique_ptr<GlassBackdrop> CreateGlassBackdrop();
