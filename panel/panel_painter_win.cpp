#include "panel/panel_painter_win.h"

#include <gdiplus.h>

#include <cstring>

#include "app/core/dib_section_win.h"
#include "draw/gdiplus_canvas_win.h"
#include "draw/gdiplus_fonts_win.h"
#include "draw/gdiplus_measurer_win.h"
#include "panel/panel_controls.h"
#include "panel/panel_paint.h"
#include "panel/panel_view.h"

namespace {

ControlView ReadControls(HWND window, const PanelControls& controls) {
  ControlView view;
  view.hotControl = controls.hotControl();
  if (HWND hot = controls.Get(view.hotControl)) {
    if (SendMessageW(hot, BM_GETSTATE, 0, 0) & BST_PUSHED) view.pressedControl = view.hotControl;
  }
  const bool cuesHidden = SendMessageW(window, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS;
  HWND focus = GetFocus();
  if (!cuesHidden && focus && GetParent(focus) == window) view.focusControl = GetDlgCtrlID(focus);
  view.questionBoxFocused = controls.Focused(control_id::QuestionBox);
  HWND send = controls.Get(control_id::Send);
  view.sendEnabled = send && IsWindowEnabled(send);
  return view;
}

// Keeps the native edit controls that show from being painted over.
void ExcludeVisibleEdits(HWND window, HDC dc, const PanelControls& controls) {
  for (int id : {control_id::QuestionBox, control_id::SignInField}) {
    HWND edit = controls.Get(id);
    if (!edit || !IsWindowVisible(edit)) continue;
    RECT rect{};
    GetWindowRect(edit, &rect);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
    ExcludeClipRect(dc, rect.left, rect.top, rect.right, rect.bottom);
  }
}

void FillPlainBackground(HDC dc, const RECT& rect, bool light) {
  UniqueBrush background(CreateSolidBrush(light ? RGB(0xF6, 0xF6, 0xF9) : RGB(0x1E, 0x1E, 0x22)));
  if (background) FillRect(dc, &rect, background.get());
}

}  // namespace

PanelPainter::PanelPainter() = default;
PanelPainter::~PanelPainter() = default;

bool PanelPainter::EnsureBuffer(HDC dc, int width, int height) {
  if (buffer_ && width == width_ && height == height_) return true;
  buffer_ = CreateTopDownDib(dc, width, height, bits_);
  if (!buffer_) return false;
  width_ = width;
  height_ = height;
  return true;
}

void PanelPainter::Paint(HWND window, PanelState& state, const PanelControls& controls) {
  PAINTSTRUCT paint{};
  HDC dc = BeginPaint(window, &paint);
  RECT client{}, update{};
  GetClientRect(window, &client);
  if (!dc || !IntersectRect(&update, &client, &paint.rcPaint) || !EnsureBuffer(dc, client.right, client.bottom)) {
    EndPaint(window, &paint);
    return;
  }
  GdiFlush();
  const int updateWidth = update.right - update.left, updateHeight = update.bottom - update.top;
  auto* rows = static_cast<uint8_t*>(bits_);
  for (int y = update.top; y < update.bottom; ++y) {
    std::memset(rows + (size_t(y) * width_ + update.left) * 4, 0, size_t(updateWidth) * 4);
  }

  bool painted = false;
  {
    Gdiplus::Bitmap bitmap(width_, height_, width_ * 4, PixelFormat32bppPARGB, rows);
    if (bitmap.GetLastStatus() == Gdiplus::Ok) {
      if (!fonts_) fonts_ = std::make_unique<GdiplusFonts>();
      Gdiplus::Graphics graphics(&bitmap);
      graphics.SetClip(Gdiplus::Rect(update.left, update.top, updateWidth, updateHeight));
      GdiplusCanvas canvas(graphics, *fonts_);
      GdiplusMeasurer gdiplusMeasurer(graphics, *fonts_);
      const float scale = state.uiScale > 0 ? state.uiScale : 1.0f;
      measured_.UseScale(scale);
      CachedMeasurer measurer(gdiplusMeasurer, measured_);
      canvas.PushScale(scale, scale);
      PanelView view = MakePanelView(state, ReadControls(window, controls));
      // The glass presentation is not part of this painter yet: the plain looks are painted.
      view.glassActive = false;
      PaintPanel(canvas, canvas, measurer, static_cast<float>(client.right) / scale,
                 static_cast<float>(client.bottom) / scale, view, settingsPainter_);
      StoreScrolls(view, state);
      canvas.Pop();
      graphics.Flush(Gdiplus::FlushIntentionSync);
      painted = true;
    }
  }
  if (!painted) {
    FillPlainBackground(dc, update, state.settings.lightTheme);
    EndPaint(window, &paint);
    return;
  }
  ExcludeVisibleEdits(window, dc, controls);
  UniqueMemoryDc source(CreateCompatibleDC(dc));
  if (source) {
    GdiSelection selected(source.get(), buffer_.get());
    if (selected.Succeeded()) {
      BitBlt(dc, update.left, update.top, updateWidth, updateHeight, source.get(), update.left, update.top, SRCCOPY);
    }
  }
  EndPaint(window, &paint);
}
