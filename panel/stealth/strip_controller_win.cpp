#include "panel/stealth/strip_controller_win.h"

#include <gdiplus.h>

#include "core/dib_section_win.h"
#include "draw/gdiplus_canvas_win.h"
#include "draw/gdiplus_fonts_win.h"
#include "panel/panel_rules.h"

StripController::StripController(TimerPort& timers) : pulseTimer_(timers, panel_timer::StripPulse) {}

void StripController::Destroy() {
  StopPulse();
  window_.reset();
}

void StripController::Place(bool show) {
  if (!window_) return;
  const StripSituation situation = Situation();
  HMONITOR monitor = MonitorFromWindow(situation.panel, MONITOR_DEFAULTTONEAREST);
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  const PixelRect before = rect_;
  if (monitor && GetMonitorInfoW(monitor, &info)) {
    const RECT& work = info.rcWork;
    if (std::optional<PixelRect> strip = PlaceStrip({work.left, work.top, work.right, work.bottom},
                                                    situation.stripWidth, situation.dpiScale, situation.right)) {
      rect_ = *strip;
    } else {
      return;  // a work area without height: nothing to do
    }
  }
  window_->Place(rect_, show);
  // A strip moved to another edge, width or monitor while an answer glows: the glow takes its
  // colour from the screen behind its new place.
  if (rect_ != before && pulseStart_ != 0 && situation.glowOption >= 0 && situation.glowOption <= 3) {
    pulseColour_ = SampleEdgeColour(situation.glowOption, kPulseContrast);
  }
}

void StripController::Hide() {
  StopPulse();
  DrawStrip();
  if (window_) window_->Hide();
}

uint32_t StripController::SampleEdgeColour(int section, float contrast) const {
  const StripSituation situation = Situation();
  const PixelRect area = EdgeSampleArea(rect_, situation.right, situation.dpiScale, section);
  WindowDc screen(nullptr);
  if (!screen.get()) return kEdgeFallbackColour;
  UniqueMemoryDc memory(CreateCompatibleDC(screen.get()));
  if (!memory) return kEdgeFallbackColour;
  const BITMAPINFO info = TopDownBgrxInfo(kEdgeSampleWidth, kEdgeSampleHeight);
  void* bits = nullptr;
  UniqueBitmap bitmap(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap || !bits) return kEdgeFallbackColour;
  GdiSelection selected(memory.get(), bitmap.get());
  if (!selected.Succeeded()) return kEdgeFallbackColour;
  SetStretchBltMode(memory.get(), COLORONCOLOR);
  if (!StretchBlt(memory.get(), 0, 0, kEdgeSampleWidth, kEdgeSampleHeight, screen.get(), area.left, area.top,
                  area.Width(), area.Height(), SRCCOPY)) {
    return kEdgeFallbackColour;
  }
  GdiFlush();
  return EdgeColour(static_cast<const uint8_t*>(bits), contrast);
}

void StripController::DrawMark(const StripMark& mark, uint32_t colour) {
  Gdiplus::Bitmap target(bitmap_.width(), bitmap_.height(), bitmap_.width() * 4, PixelFormat32bppPARGB,
                         reinterpret_cast<BYTE*>(bitmap_.bits()));
  Gdiplus::Graphics graphics(&target);
  UseSmoothDrawing(graphics);
  Gdiplus::GraphicsPath path;
  BuildGdiplusPath(Path().AddRoundedRectangle({mark.x, mark.y, mark.width, mark.height}, mark.radius), path);
  Gdiplus::SolidBrush brush(Gdiplus::Color(mark.alpha, colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF));
  graphics.FillPath(&brush, &path);
}

void StripController::DrawStrip() {
  if (!window_) return;
  const int width = rect_.Width(), height = rect_.Height();
  if (width <= 0 || height <= 0 || !bitmap_.Reset(width, height)) return;  // no bitmap: this draw is skipped
  const StripSituation situation = Situation();
  if (situation.stealth && situation.visible) {
    if (situation.queryRunning) {
      DrawMark(WorkingPill(width, height, situation.dpiScale, situation.right), workColour_);
    } else if (pulseStart_ != 0) {
      const uint64_t now = GetTickCount64();
      const int64_t elapsed = now > pulseStart_ ? static_cast<int64_t>(now - pulseStart_) : 0;
      if (std::optional<StripMark> glow = SectionGlow(situation.glowOption, width, height, situation.dpiScale, elapsed)) {
        DrawMark(*glow, pulseColour_);
      }
    }
  }
  POINT position{rect_.left, rect_.top};
  bitmap_.Push(window_->handle(), &position);
}

void StripController::ShowWorking() {
  const StripSituation situation = Situation();
  if (!situation.stealth || !situation.visible) return;
  Place(true);
  workColour_ = SampleEdgeColour(kMiddleBand, kWorkContrast);
  DrawStrip();
}

void StripController::StartPulse() {
  const StripSituation situation = Situation();
  if (!situation.stealth || !situation.visible) return;
  if (situation.glowOption < 0 || situation.glowOption > 3) {
    StopPulse();
    DrawStrip();
    return;
  }
  Place(true);
  pulseColour_ = SampleEdgeColour(situation.glowOption, kPulseContrast);
  pulseStart_ = GetTickCount64();
  if (pulseStart_ == 0) pulseStart_ = 1;  // 0 means no pulse
  DrawStrip();
  pulseTimer_.Start(panel_timer::StripPulseMs);
}

void StripController::StopPulse() {
  pulseTimer_.Stop();
  pulseStart_ = 0;
}

void StripController::OnPulseTick(uint64_t now, bool stealth, bool visible) {
  PulseStep step = NextPulseStep(now, pulseStart_, stealth, visible);
  switch (step.kind) {
    case PulseStep::Continue:
      DrawStrip();
      pulseTimer_.Start(step.rearmMs);
      return;
    case PulseStep::Finished:
      StopPulse();
      lastPulseEnd_ = now;
      DrawStrip();
      return;
    case PulseStep::Stopped:
      StopPulse();
      DrawStrip();
      return;
  }
}
