#include "panel/controllers/glass_controller_win.h"

#include <dwmapi.h>

#include "panel/panel_rules.h"
#include "panel/settings_page/settings_rows.h"

namespace {
// Window attributes newer than some SDK headers.
constexpr DWORD kDwmUseHostBackdropBrush = 17;
constexpr DWORD kDwmNcRenderingPolicy = 2;
constexpr DWORD kDwmNcRenderingDisabled = 1;
constexpr DWORD kDwmBorderColor = 34;
constexpr DWORD kDwmColorNone = 0xFFFFFFFE;
constexpr LONG_PTR kNoRedirectionBitmap = 0x00200000L;

bool TransparencyEnabled() {
  DWORD value = 1;
  DWORD size = sizeof(value);
  LSTATUS status = RegGetValueW(HKEY_CURRENT_USER,
                                L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize",
                                L"EnableTransparency", RRF_RT_REG_DWORD, nullptr, &value, &size);
  return status != ERROR_SUCCESS || value != 0;
}

bool HighContrastOn() {
  HIGHCONTRASTW contrast{};
  contrast.cbSize = sizeof(contrast);
  if (!SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(contrast), &contrast, 0)) return false;
  return (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}
}  // namespace

GlassController::GlassController(TimerPort& timers, const UiSettings& settings, GlassPorts ports)
    : frame_(timers, panel_timer::GlassFrame), settings_(settings), ports_(std::move(ports)) {}

// Without a redirection bitmap the window shows only what the composition tree draws.
void GlassController::SetRedirection(bool off) {
  LONG_PTR exStyle = GetWindowLongPtrW(main_, GWL_EXSTYLE);
  LONG_PTR wanted = off ? (exStyle | kNoRedirectionBitmap) : (exStyle & ~kNoRedirectionBitmap);
  if (wanted == exStyle) return;
  SetWindowLongPtrW(main_, GWL_EXSTYLE, wanted);
  SetWindowPos(main_, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void GlassController::EvaluateBackdrop() {
  bool wanted = settings_.liquidGlass && !ports_.stealth() && TransparencyEnabled() && !HighContrastOn() &&
                GetSystemMetrics(SM_REMOTESESSION) == 0;
  if (backdrop_) backdrop_->SetDark(!settings_.lightTheme);
  BOOL hostBackdrop = wanted ? TRUE : FALSE;
  bool attributeSet = SUCCEEDED(DwmSetWindowAttribute(main_, kDwmUseHostBackdropBrush, &hostBackdrop,
                                                      sizeof(hostBackdrop)));
  HRESULT initialised = S_OK;
  if (attributeSet && wanted && backdrop_) initialised = backdrop_->Initialise(main_);
  active_ = attributeSet && wanted && backdrop_ && SUCCEEDED(initialised);
  if (!active_ && backdrop_) backdrop_->Hide();
  SetRedirection(active_);

  DWORD policy = kDwmNcRenderingDisabled;
  DwmSetWindowAttribute(main_, kDwmNcRenderingPolicy, &policy, sizeof(policy));
  DWORD border = kDwmColorNone;
  DwmSetWindowAttribute(main_, kDwmBorderColor, &border, sizeof(border));
  ports_.looksChanged(true);

  if (active_ && IsWindowVisible(main_)) ports_.showActiveFrame();
  UpdateGlassTimer();
  ports_.repaint();
  if (ports_.evaluated) ports_.evaluated(active_, initialised);
}

void GlassController::Drop() {
  active_ = false;
  UpdateGlassTimer();  // stops the frames and lets go of the desktop capture
  if (backdrop_) backdrop_->Hide();
  SetRedirection(false);
  ports_.looksChanged(false);
  ports_.repaint();
}

void GlassController::UpdateGlassTimer() {
  bool shown = IsWindowVisible(main_) && !IsIconic(main_);
  if (active_ && !ports_.stealth() && shown) {
    frame_.Start(panel_timer::GlassFrameMs);
  } else {
    frame_.Stop();
    if (backdrop_) backdrop_->ReleaseFrameResources();
  }
  RefreshStyleStatus();
}

void GlassController::FrameTick() {
  const float scale = ports_.uiScale();
  if (!backdrop_ || !backdrop_->RenderFrame(main_, scale, 30.0f * scale)) frame_.Stop();
  RefreshStyleStatus();  // a frame can change the lens or the capture's status
}

void GlassController::Activated() {
  if (!active_) return;
  if (backdrop_) backdrop_->ClearStatus();
  UpdateGlassTimer();
}

void GlassController::ThemeChanged() {
  if (backdrop_) {
    backdrop_->SetDark(!settings_.lightTheme);
    if (active_) backdrop_->ClearStatus();
  }
}

void GlassController::SettingChanged() {
  if (settings_.liquidGlass && backdrop_) backdrop_->ClearStatus();
  EvaluateBackdrop();
}

void GlassController::EnterStealth() {
  frame_.Stop();
  if (backdrop_) backdrop_->Hide();
}

void GlassController::ReleaseFrames() {
  if (backdrop_) backdrop_->ReleaseFrameResources();
}

void GlassController::Shutdown() {
  frame_.Stop();
  ReleaseFrames();
}

void GlassController::RefreshStyleStatus() {
  BackdropVerdict verdict = BackdropVerdict::None;
  std::wstring glassStatus;
  if (backdrop_ && active_) {
    if (backdrop_->lensShown()) verdict = backdrop_->dark() ? BackdropVerdict::Dark : BackdropVerdict::Light;
    glassStatus = backdrop_->StatusText();
  }
  std::wstring status =
      StyleStatusText(settings_.liquidGlass, active_, settings_.lightTheme, verdict, glassStatus);
  if (status == styleStatus_) return;
  styleStatus_ = std::move(status);
  ports_.statusChanged(styleStatus_);
}
