#include "glass/capture_controller.h"

namespace {

bool Inside(const PixelRect& inner, const PixelRect& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

// Waiting for the first frame blocks one tick at most; once a frame is there, never.
constexpr unsigned kFirstFrameWaitMs = 16;

// DXGI_ERROR_UNSUPPORTED and DXGI_ERROR_NOT_CURRENTLY_AVAILABLE.
constexpr std::uint32_t kDuplicationUnsupported = 0x887A0004;
constexpr std::uint32_t kDuplicationNotCurrentlyAvailable = 0x887A0022;

}  // namespace

DuplicationResult DuplicationRefused(std::int32_t code) {
  const auto value = static_cast<std::uint32_t>(code);
  if (value == kDuplicationUnsupported || value == kDuplicationNotCurrentlyAvailable) {
    return {DuplicationResult::Kind::Unavailable, code};
  }
  return {DuplicationResult::Kind::Failed, code};
}

void CaptureController::Release() {
  source_.Release();
  lens_.ReleaseLens();
  duplicated_ = false;
  monitor_ = 0;
  rotation_ = OutputRotation::Identity;
  haveFrame_ = false;
  lastPanel_.reset();
  lastRadius_ = 0;
}

CaptureOutcome CaptureController::Tick(const PanelPlacement& placement, float scale, float radiusPx) {
  if (!placement.panel) return {};
  const PixelRect& panel = *placement.panel;
  // An empty panel counts as inside nothing, like one that straddles two monitors.
  if (placement.monitor == 0 || panel.Width() <= 0 || panel.Height() <= 0 || !Inside(panel, placement.monitorRect)) {
    status_ = kCaptureStraddling;
    Release();
    return {};
  }
  auto fail = [this](std::int32_t code) {
    Release();
    return CaptureOutcome{false, code};
  };

  if (!duplicated_ || monitor_ != placement.monitor) {
    Release();
    DuplicationResult made = source_.Duplicate(placement.monitor);
    switch (made.kind) {
      case DuplicationResult::Kind::SecondaryGpu:
        status_ = kCaptureSecondaryGpu;
        return {false, 0, true};
      case DuplicationResult::Kind::Unavailable:
        status_ = kCaptureUnavailable;
        return {false, 0, true};
      case DuplicationResult::Kind::Failed:
        return fail(made.code);
      case DuplicationResult::Kind::Made:
        break;
    }
    duplicated_ = true;
    monitor_ = placement.monitor;
    rotation_ = made.rotation;
    haveFrame_ = false;
    status_ = kCaptureWaiting;
  }

  bool newFrame = false;
  AcquireResult frame = source_.AcquireFrame(haveFrame_ ? 0 : kFirstFrameWaitMs);
  switch (frame.kind) {
    case AcquireResult::Kind::Timeout:
      break;
    case AcquireResult::Kind::AccessLost:
      Release();  // the next tick duplicates again
      return {};
    case AcquireResult::Kind::Failed:
      return fail(frame.code);
    case AcquireResult::Kind::NewFrame:
      if (!haveFrame_ || frame.pictureChanged) {
        if (!source_.FrameIsBgra()) {
          status_ = kCaptureUnsupportedFormat;
          source_.ReleaseFrame();
          Release();
          return {};
        }
        if (std::int32_t copied = source_.CopyFrame()) {
          source_.ReleaseFrame();
          return fail(copied);
        }
        haveFrame_ = true;
        newFrame = true;
      }
      source_.ReleaseFrame();
      break;
  }

  std::optional<CopySize> copy = source_.Copy();
  if (!haveFrame_ || !copy) return {};
  if (newFrame || lastPanel_ != panel || lastRadius_ != radiusPx) {
    const PixelRect& monitor = placement.monitorRect;
    const PixelRect frame = UnrotatedBox({0, 0, monitor.Width(), monitor.Height()}, monitor.Width(),
                                         monitor.Height(), rotation_);
    if (copy->width != frame.Width() || copy->height != frame.Height()) {
      Release();  // the monitor's resolution or rotation changed: start again from a new duplication
      return {};
    }
    if (std::int32_t drawn = lens_.RenderLens(monitor, panel, radiusPx, scale, rotation_)) return fail(drawn);
    lastPanel_ = panel;
    lastRadius_ = radiusPx;
  }
  return {true, 0};
}
