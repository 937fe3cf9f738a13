#pragma once
// The decisions of the desktop capture behind the glass lens, one 16 ms tick at a time: which
// monitor to duplicate, when to wait for a frame, when a frame is copied, when the lens is drawn
// again, what the status line says and when everything is let go. The platform's parts are two
// small interfaces: a frame source (the desktop duplication of one monitor and a copy of its last
// frame) and a lens renderer (the lens pass over that copy). Failures are values: a platform code.
#include <cstdint>
#include <optional>

#include "core/geometry.h"
#include "glass/output_rotation.h"

// The capture's status texts, shown by the settings page while the lens is not shown.
inline constexpr const wchar_t* kCaptureWaiting = L"Glass: waiting for desktop frames";
inline constexpr const wchar_t* kCaptureStraddling = L"Ridez: move the panel fully onto one monitor";
inline constexpr const wchar_t* kCaptureSecondaryGpu = L"Ridez: display is on a secondary GPU";
inline constexpr const wchar_t* kCaptureUnavailable = L"Ridez: desktop duplication unavailable";
inline constexpr const wchar_t* kCaptureUnsupportedFormat = L"Ridez: unsupported display format";

// What making the duplication for a monitor gave.
struct DuplicationResult {
  enum class Kind { Made, SecondaryGpu, Unavailable, Failed };
  Kind kind = Kind::Failed;
  std::int32_t code = 0;  // Failed: the platform's failure code
  OutputRotation rotation = OutputRotation::Identity;  // Made: how the monitor is turned
};

// What a failed duplication means: "unavailable" for the codes with which the system refuses
// duplication for now or on this output (DXGI_ERROR_UNSUPPORTED, 0x887A0004, and
// DXGI_ERROR_NOT_CURRENTLY_AVAILABLE, 0x887A0022), else a failure with that code.
DuplicationResult DuplicationRefused(std::int32_t code);

// What asking for the next desktop frame gave.
struct AcquireResult {
  enum class Kind { NewFrame, Timeout, AccessLost, Failed };
  Kind kind = Kind::Failed;
  bool pictureChanged = false;  // NewFrame: the desktop image changed since the last frame
  std::int32_t code = 0;        // Failed: the platform's failure code
};

struct CopySize {
  int width = 0;
  int height = 0;
};

// The desktop of one monitor, frame by frame, and a copy of the last frame taken.
class FrameSource {
 public:
  virtual ~FrameSource() = default;
  // Makes the duplication of `monitor`'s desktop (none exists when this is called).
  virtual DuplicationResult Duplicate(std::uintptr_t monitor) = 0;
  // Waits up to `timeoutMs` for the next frame; a NewFrame is held until ReleaseFrame.
  virtual AcquireResult AcquireFrame(unsigned timeoutMs) = 0;
  // Whether the held frame's pixels are 32-bit BGRA (B8G8R8A8 UNORM).
  virtual bool FrameIsBgra() = 0;
  // Copies the held frame into the desktop copy, making the copy first when there is none or it
  // has another size. 0, or the platform's failure code.
  virtual std::int32_t CopyFrame() = 0;
  virtual void ReleaseFrame() = 0;
  // The desktop copy's size, when there is a copy (unrotated: as the frames come).
  virtual std::optional<CopySize> Copy() const = 0;
  // Drops the duplication and the desktop copy.
  virtual void Release() = 0;
};

// Draws the lens from the frame source's desktop copy and puts it on screen.
class LensRenderer {
 public:
  virtual ~LensRenderer() = default;
  // Renders the lens for `panel` on `monitor` (screen pixels) from a desktop copy turned by
  // `rotation`, and presents it. 0, or the platform's failure code.
  virtual std::int32_t RenderLens(const PixelRect& monitor, const PixelRect& panel, float radiusPx, float scale,
                                  OutputRotation rotation) = 0;
  // Drops what the lens keeps per desktop crop.
  virtual void ReleaseLens() = 0;
};

// Where the panel is in this tick.
struct PanelPlacement {
  std::optional<PixelRect> panel;  // the panel's client area on screen; none when it cannot be read
  std::uintptr_t monitor = 0;      // the monitor most of the panel is on; 0 for none
  PixelRect monitorRect;           // that monitor's rectangle
};

// One tick's result: the lens is current and should be shown, or nothing can be shown this tick,
// or the tick failed with a platform code (everything is released then). `backOff`: nothing can be
// shown until something changes outside (the monitor is on another GPU, duplication is
// unavailable), so the next ticks are better skipped for a while, as after a failure.
struct CaptureOutcome {
  bool shown = false;
  std::int32_t failure = 0;
  bool backOff = false;
  bool Failed() const { return failure != 0; }
};

class CaptureController {
 public:
  CaptureController(FrameSource& source, LensRenderer& lens) : source_(source), lens_(lens) {}

  // One tick at `scale` pixels per logical pixel with the panel's corner radius in pixels.
  CaptureOutcome Tick(const PanelPlacement& placement, float scale, float radiusPx);
  // Drops the duplication, the desktop copy and the lens's crop; forgets the monitor, the frame
  // and what was last drawn. The status stays.
  void Release();
  const wchar_t* Status() const { return status_; }

 private:
  FrameSource& source_;
  LensRenderer& lens_;
  bool duplicated_ = false;
  std::uintptr_t monitor_ = 0;
  OutputRotation rotation_ = OutputRotation::Identity;
  bool haveFrame_ = false;
  std::optional<PixelRect> lastPanel_;
  float lastRadius_ = 0;
  const wchar_t* status_ = kCaptureWaiting;
};
