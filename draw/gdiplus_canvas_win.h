#pragma once
// The Canvas on a GDI+ graphics (of a window's device context or of a bitmap), drawn with smooth
// quality. Every failed GDI+ call leaves its status in LastStatus and drawing goes on.
#include <windows.h>

#include <gdiplus.h>

#include <vector>

#include "draw/canvas.h"
#include "draw/gdiplus_fonts_win.h"

class GdiplusCanvas : public Canvas {
 public:
  // Sets `graphics` up with UseSmoothDrawing; both must outlive the canvas.
  GdiplusCanvas(Gdiplus::Graphics& graphics, GdiplusFonts& fonts);
  // Pops whatever is still pushed, leaving the graphics' clip and transform as they were.
  ~GdiplusCanvas() override;
  GdiplusCanvas(const GdiplusCanvas&) = delete;
  GdiplusCanvas& operator=(const GdiplusCanvas&) = delete;

  void DrawGlyphs(std::wstring_view text, const FontSpec& font, Argb colour, PointF topLeft) override;
  void DrawTextBox(std::wstring_view text, const FontSpec& font, Argb colour, const RectF& box,
                   const TextBoxFormat& format) override;
  void DrawLine(PointF from, PointF to, const Stroke& stroke) override;
  void DrawPolyline(std::span<const PointF> points, const Stroke& stroke) override;
  void DrawCurve(std::span<const PointF> points, float tension, const Stroke& stroke) override;
  void FillRect(const RectF& rect, const Brush& brush) override;
  void FillRoundedRect(const RectF& rect, float radius, const Brush& brush) override;
  void StrokeRoundedRect(const RectF& rect, float radius, const Stroke& stroke) override;
  void FillEllipse(const RectF& bounds, const Brush& brush) override;
  void StrokeEllipse(const RectF& bounds, const Stroke& stroke) override;
  void FillPath(const Path& path, const Brush& brush) override;
  void StrokePath(const Path& path, const Stroke& stroke) override;
  void PushClip(const RectF& rect) override;
  void PushRoundedClip(const RectF& rect, float radius) override;
  void PushScale(float scaleX, float scaleY) override;
  void Pop() override;

  // The status of the last GDI+ call that failed, Ok when none has.
  Gdiplus::Status LastStatus() const { return lastStatus_; }

 private:
  void Check(Gdiplus::Status status);
  void DrawString(std::wstring_view text, const FontSpec& font, Argb colour, const Gdiplus::RectF& layout,
                const Gdiplus::StringFormat* format);
  void FillShape(const Path& path, const Brush& brush);
  void StrokeShape(const Path& path, const Stroke& stroke);

  Gdiplus::Graphics& graphics_;
  GdiplusFonts& fonts_;
  std::vector<Gdiplus::GraphicsState> states_;
  Gdiplus::Status lastStatus_ = Gdiplus::Ok;
};

// The GDI+ form of a portable path (moves start new figures).
void BuildGdiplusPath(const Path& path, Gdiplus::GraphicsPath& out);
