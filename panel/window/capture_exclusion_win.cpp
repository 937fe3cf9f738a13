#include "panel/window/capture_exclusion_win.h"

#include "core/log.h"

namespace {
constexpr DWORD kExcludeFromCapture = 0x00000011;  // WDA_EXCLUDEFROMCAPTURE
}  // namespace

void ReportCaptureFailure(DWORD error) {
  VykLog("[vyk] Window capture exclusion could not be set (error %lu).\n", error);
}

bool HideFromCapture(HWND window, CapturePolicy policy) {
  if (window && SetWindowDisplayAffinity(window, kExcludeFromCapture)) return true;
  DWORD error = GetLastError();
  if (policy == CapturePolicy::DevTolerated) {
    ReportCaptureFailure(error);
    return true;
  }
  SetLastError(error);
  return false;
}

bool KeepOnlyIfHidden(UniqueWindow& window, CapturePolicy policy) {
  if (!window) return false;  // creation failed; its error is the last error already
  if (HideFromCapture(window.get(), policy)) return true;
  DWORD error = GetLastError();
  window.reset();
  SetLastError(error);
  return false;
}
