#include "glass/glass_tick.h"

std::wstring CaptureFailureText(std::uint32_t code) {
  static constexpr wchar_t kDigits[] = L"0123456789ABCDEF";
  std::wstring text = L"Ridez: capture failed (0x";
  for (int shift = 28; shift >= 0; shift -= 4) text += kDigits[(code >> shift) & 0xF];
  text += L')';
  return text;
}

void GlassTick::Failed(std::uint64_t nowMs, std::uint32_t code) {
  errorText_ = CaptureFailureText(code);
  retryAt_ = nowMs + kBackOffMs;
  if (IsDeviceLoss(code)) deviceLost_ = true;
}

void GlassTick::Clear() {
  retryAt_ = 0;
  errorText_.clear();
}

bool GlassTick::LensChange(bool shown) {
  if (shown == lensShown_) return false;
  lensShown_ = shown;
  return true;
}

bool IsDeviceLoss(std::uint32_t code) {
  switch (code) {
    case 0x887A0005:  // DXGI_ERROR_DEVICE_REMOVED
    case 0x887A0006:  // DXGI_ERROR_DEVICE_HUNG
    case 0x887A0007:  // DXGI_ERROR_DEVICE_RESET
    case 0x887A0020:  // DXGI_ERROR_DRIVER_INTERNAL_ERROR
      return true;
    default:
      return false;
  }
}

GlassTick::Step GlassTick::Next(std::uint64_t nowMs) const {
  if (nowMs < retryAt_) return Step::Skip;
  if (!deviceLost_) return Step::Run;
  return RebuildDue(nowMs) ? Step::Rebuild : Step::Skip;
}

void GlassTick::Rebuilt(std::uint64_t nowMs, bool made, std::uint32_t code) {
  rebuildAt_ = nowMs + kBackOffMs;
  deviceLost_ = false;
  lensShown_ = false;
  if (made) {
    errorText_.clear();
    retryAt_ = 0;
  } else {
    errorText_ = CaptureFailureText(code);
  }
}
