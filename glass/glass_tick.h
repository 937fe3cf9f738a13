#pragma once
// The decisions of the glass object that need no platform, tick by tick: the back-off after a failed
// frame (and while the monitor cannot be duplicated), the error text and which status the style
// section shows, when a lost graphics device is rebuilt, whether the lens layer must be shown or
// hidden, and the style kept only once it is on screen.
#include <cstdint>
#include <string>
#include <string_view>

// "Ridez: capture failed (0x8000000C)".
std::wstring CaptureFailureText(std::uint32_t code);

// Whether a failure code means the graphics device is gone and everything made on it with it:
// DXGI_ERROR_DEVICE_REMOVED, _DEVICE_HUNG, _DEVICE_RESET and _DRIVER_INTERNAL_ERROR (a driver update,
// a reset after a hang, a GPU switched off or taken away).
bool IsDeviceLoss(std::uint32_t code);

class GlassTick {
 public:
  static constexpr std::uint64_t kBackOffMs = 5000;

  // What a tick at `nowMs` does: nothing while a back-off lasts; rebuild the device, the swap chains
  // and the composition tree when the device was lost (at most once per back-off); else its work.
  enum class Step { Skip, Rebuild, Run };
  Step Next(std::uint64_t nowMs) const;
  // The frame went through: no error text any more.
  void Succeeded() { errorText_.clear(); }
  // The frame (or a presentation) failed with `code`: its text, and no ticks for the next 5000 ms.
  // A lost device is rebuilt after that.
  void Failed(std::uint64_t nowMs, std::uint32_t code);
  // Nothing can be shown for now (the monitor is on another GPU, duplication is unavailable): no
  // ticks for the next 5000 ms either, the capture's status staying the text.
  void BackOff(std::uint64_t nowMs) { retryAt_ = nowMs + kBackOffMs; }
  // Ends a back-off and forgets the error (activation, glass switched on); a lost device still
  // waits for its rebuild.
  void Clear();

  bool deviceLost() const { return deviceLost_; }
  // Whether a lost device may be rebuilt now: right after the loss was found, then once per
  // back-off, so that a device that cannot be made again is not tried on every paint.
  bool RebuildDue(std::uint64_t nowMs) const { return deviceLost_ && nowMs >= rebuildAt_; }
  // A rebuild was tried at `nowMs`. Made: everything is new, the lens hidden, no error. Not made:
  // nothing is left to rebuild (the glass object has let go of its tree), and `code` is the text.
  void Rebuilt(std::uint64_t nowMs, bool made, std::uint32_t code = 0);

  // Rebuilds through `make` (0, or the failure code of the new tree) and records the attempt as
  // Rebuilt does; whether the new tree was made.
  template <class Make>
  bool TryRebuild(std::uint64_t nowMs, Make&& make) {
    const std::uint32_t code = make();
    Rebuilt(nowMs, code == 0, code);
    return code == 0;
  }

  // Whether the lens layer's visibility must change to `shown`; remembers it.
  bool LensChange(bool shown);

  bool lensShown() const { return lensShown_; }
  std::uint64_t retryAt() const { return retryAt_; }
  // The error text when there is one, else the capture's own status.
  std::wstring_view StatusText(std::wstring_view captureStatus) const {
    return errorText_.empty() ? captureStatus : std::wstring_view(errorText_);
  }

 private:
  std::uint64_t retryAt_ = 0;
  std::uint64_t rebuildAt_ = 0;
  bool deviceLost_ = false;
  std::wstring errorText_;
  bool lensShown_ = false;
};

// One presentation of the panel's painted layers through `present` (0, or the failure code; the
// device's removal reason when the device is gone). With a lost device the tree is first rebuilt
// through `make` when that is due, and a presentation that finds the device lost is tried once more
// on a rebuilt tree. False when nothing could be shown: the panel then goes plain.
template <class Present, class Make>
bool PresentOrRebuild(GlassTick& tick, std::uint64_t nowMs, Present&& present, Make&& make) {
  for (int attempt = 0; attempt < 2; ++attempt) {
    if (tick.deviceLost() && (!tick.RebuildDue(nowMs) || !tick.TryRebuild(nowMs, make))) return false;
    const std::uint32_t failure = present();
    if (failure == 0) return true;
    if (!IsDeviceLoss(failure)) return false;
    tick.Failed(nowMs, failure);
  }
  return false;
}

// The style on screen. A change is stored only once it has been applied (or when there is nothing
// to apply it to yet), so a change whose apply failed is tried again by the next request.
class GlassStyle {
 public:
  bool dark() const { return dark_; }
  // `apply(dark)` puts the style on screen and tells whether it did; it is not called when
  // `built` is false.
  template <class Apply>
  void Set(bool dark, bool built, Apply&& apply) {
    if (dark == dark_) return;
    if (built && !apply(dark)) return;
    dark_ = dark;
  }

 private:
  bool dark_ = false;
};
