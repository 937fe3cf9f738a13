#include "panel/paint/panel_painter_win.h"

#include <gdiplus.h>

#include <cmath>
#include <cstring>
#include <optional>

#include "core/dib_section_win.h"
#include "draw/gdiplus_canvas_win.h"
#include "draw/recording_canvas.h"
#include "draw/gdiplus_fonts_win.h"
#include "draw/gdiplus_measurer_win.h"
#include "panel/window/panel_controls.h"
#include "panel/paint/panel_paint.h"
#include "panel/paint/panel_view.h"
#include "panel/window/question_box_win.h"

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

bool PanelPainter::Buffer::Ensure(HDC dc, int newWidth, int newHeight) {
  if (bitmap && newWidth == width && newHeight == height) return true;
  bitmap = CreateTopDownDib(dc, newWidth, newHeight, bits);
  if (!bitmap) return false;
  width = newWidth;
  height = newHeight;
  return true;
}

void PanelPainter::Buffer::Clear(const RECT& rect) {
  auto* rows = static_cast<uint8_t*>(bits);
  for (int y = rect.top; y < rect.bottom; ++y) {
    std::memset(rows + (size_t(y) * width + rect.left) * 4, 0, size_t(rect.right - rect.left) * 4);
  }
}

namespace {

// A GDI+ surface over one buffer, clipped to the update rectangle.
struct BufferSurface {
  BufferSurface(void* bits, int width, int height, const RECT& update)
      : bitmap(width, height, width * 4, PixelFormat32bppPARGB, static_cast<BYTE*>(bits)), graphics(&bitmap) {
    graphics.SetClip(Gdiplus::Rect(update.left, update.top, update.right - update.left, update.bottom - update.top));
  }
  bool Ok() { return bitmap.GetLastStatus() == Gdiplus::Ok && graphics.GetLastStatus() == Gdiplus::Ok; }
  Gdiplus::Bitmap bitmap;
  Gdiplus::Graphics graphics;
};

}  // namespace

PaintOutcome PanelPainter::Paint(HWND window, const PanelView& onView, float uiScale, bool caretVisible,
                                 const PanelControls& controls, GlassBackdrop* glass) {
  PaintOutcome outcome;
  PAINTSTRUCT paint{};
  HDC dc = BeginPaint(window, &paint);
  RECT client{}, update{};
  GetClientRect(window, &client);
  const bool underGlass = onView.glassActive && glass;
  if (!dc || !IntersectRect(&update, &client, &paint.rcPaint) || !content_.Ensure(dc, client.right, client.bottom) ||
      (underGlass && !glassLayer_.Ensure(dc, client.right, client.bottom))) {
    EndPaint(window, &paint);
    return outcome;
  }
  GdiFlush();
  if (underGlass) {
    frames_.Reset();  // the glass layers are drawn whole each time
    content_.Clear(update);
    glassLayer_.Clear(update);
  }

  bool painted = false;
  {
    BufferSurface surface(content_.bits, content_.width, content_.height, update);
    std::optional<BufferSurface> glassSurface;
    if (underGlass) glassSurface.emplace(glassLayer_.bits, glassLayer_.width, glassLayer_.height, update);
    if (surface.Ok() && (!glassSurface || glassSurface->Ok())) {
      if (!fonts_) fonts_ = std::make_unique<GdiplusFonts>();
      UseSmoothDrawing(surface.graphics);
      GdiplusMeasurer gdiplusMeasurer(surface.graphics, *fonts_);
      const float scale = uiScale > 0 ? uiScale : 1.0f;
      measured_.UseScale(scale);
      CachedMeasurer measurer(gdiplusMeasurer, measured_);
      PanelView view = onView;
      view.controls = ReadControls(window, controls);
      view.glassActive = underGlass;
      if (underGlass && view.page == PanelPage::Question) {
        view.questionBox = ReadEditBox(window, controls.Get(control_id::QuestionBox), scale);
        view.questionBox.caretVisible = caretVisible;
      }
      if (underGlass && view.page == PanelPage::Settings) {
        view.signInField = ReadEditBox(window, controls.Get(control_id::SignInField), scale);
        view.signInField.caretVisible = caretVisible;
      }
      const float width = static_cast<float>(client.right) / scale, height = static_cast<float>(client.bottom) / scale;
      if (glassSurface) {
        GdiplusCanvas canvas(surface.graphics, *fonts_);
        GdiplusCanvas glassCanvas(glassSurface->graphics, *fonts_);
        canvas.PushScale(scale, scale);
        glassCanvas.PushScale(scale, scale);
        PaintPanel(canvas, glassCanvas, measurer, width, height, view, settingsPainter_);
        glassCanvas.Pop();
        canvas.Pop();
        glassSurface->graphics.Flush(Gdiplus::FlushIntentionSync);
      } else {
        // The plain looks: the frame is recorded, then drawn only as far as it differs from the last.
        RecordingCanvas frame;
        PaintPanel(frame, frame, measurer, width, height, view, settingsPainter_);
        frames_.Draw(*fonts_, measurer, static_cast<uint8_t*>(content_.bits), content_.width, content_.height, update,
                     scale, frame.Calls());
      }
      outcome.scrolls = ScrollsOf(view);
      surface.graphics.Flush(Gdiplus::FlushIntentionSync);
      painted = true;
    }
  }
  if (underGlass) {
    EndPaint(window, &paint);
    const float radius = std::round(30.0f * (uiScale > 0 ? uiScale : 1.0f));
    outcome.glassRefused = !painted || !glass->Present(content_.bits, glassLayer_.bits, content_.width, content_.height, radius);
    return outcome;
  }
  if (!painted) {
    frames_.Reset();
    FillPlainBackground(dc, update, onView.lightTheme);
    EndPaint(window, &paint);
    return outcome;
  }
  ExcludeVisibleEdits(window, dc, controls);
  UniqueMemoryDc source(CreateCompatibleDC(dc));
  if (source) {
    GdiSelection selected(source.get(), content_.bitmap.get());
    if (selected.Succeeded()) {
      BitBlt(dc, update.left, update.top, update.right - update.left, update.bottom - update.top, source.get(),
             update.left, update.top, SRCCOPY);
    }
  }
  EndPaint(window, &paint);
  return outcome;
}
