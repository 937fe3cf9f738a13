#include "draw/sprite_painter_win.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "core/unique_handle_win.h"
#include "draw/frame_reuse.h"
#include "draw/gdiplus_canvas_win.h"
#include "draw/ink_guess.h"

namespace {

void ReleaseVirtualMemory(void* memory) noexcept { VirtualFree(memory, 0, MEM_RELEASE); }
using UniqueVirtualMemory = UniqueHandle<void*, &ReleaseVirtualMemory>;

bool IsPush(DrawCallKind kind) {
  return kind == DrawCallKind::PushClip || kind == DrawCallKind::PushRoundedClip || kind == DrawCallKind::PushScale;
}

// The device pixels a rounded clip can leave drawable, one more on each side for its rounding.
PixelRect ShapedBounds(std::span<const DrawCall> pushes, float scale) {
  PixelRect bounds = kEverywhere;
  float x = scale, y = scale;
  for (const DrawCall& push : pushes) {
    if (push.kind == DrawCallKind::PushScale) {
      x *= push.scale.x;
      y *= push.scale.y;
    } else if (push.kind == DrawCallKind::PushRoundedClip) {
      const float x0 = push.rect.x * x, x1 = push.rect.Right() * x, y0 = push.rect.y * y, y1 = push.rect.Bottom() * y;
      if (std::isnan(x0 + x1 + y0 + y1)) continue;
      auto edge = [](float value) { return int(std::clamp(value, -16777216.0f, 16777216.0f)); };
      bounds = Intersect(bounds, {edge(std::floor(std::min(x0, x1))) - 1, edge(std::floor(std::min(y0, y1))) - 1,
                                  edge(std::ceil(std::max(x0, x1))) + 1, edge(std::ceil(std::max(y0, y1))) + 1});
    }
  }
  return bounds;
}

bool Inked(const uint32_t* pixels, int width, int left, int top, int right, int bottom) {
  for (int y = top; y < bottom; ++y) {
    const uint32_t* row = pixels + size_t(y) * width;
    for (int x = left; x < right; ++x) {
      if (row[x]) return true;
    }
  }
  return false;
}

// Whether ink lies within `rim` pixels of a side of `area` that `bounds` leaves open (ink could
// go on beyond it).
bool InkOnOpenRim(const uint32_t* pixels, int width, const PixelRect& area, const PixelRect& bounds, int rim) {
  const int across = std::min(rim, area.Width()), down = std::min(rim, area.Height());
  return (area.left > bounds.left && Inked(pixels, width, area.left, area.top, area.left + across, area.bottom)) ||
         (area.right < bounds.right && Inked(pixels, width, area.right - across, area.top, area.right, area.bottom)) ||
         (area.top > bounds.top && Inked(pixels, width, area.left, area.top, area.right, area.top + down)) ||
         (area.bottom < bounds.bottom && Inked(pixels, width, area.left, area.bottom - down, area.right, area.bottom));
}

// Where a sprite drawn within `area` is exact: everywhere, but past a side where the buffer (and
// not a clip of the call's own) stopped the drawing.
PixelRect KnownArea(const PixelRect& area, const PixelRect& buffer, const PixelRect& shaped) {
  PixelRect known = kEverywhere;
  if (area.left == buffer.left && shaped.left < buffer.left) known.left = area.left;
  if (area.top == buffer.top && shaped.top < buffer.top) known.top = area.top;
  if (area.right == buffer.right && shaped.right > buffer.right) known.right = area.right;
  if (area.bottom == buffer.bottom && shaped.bottom > buffer.bottom) known.bottom = area.bottom;
  return known;
}

// The colour of a call that draws in one colour only (text, pens and plain fills).
std::optional<uint32_t> OneColour(const DrawCall& call) {
  switch (call.kind) {
    case DrawCallKind::Glyphs:
    case DrawCallKind::TextBox: return call.brush.colour & 0xFFFFFFu;
    case DrawCallKind::Line:
    case DrawCallKind::Polyline:
    case DrawCallKind::Curve:
    case DrawCallKind::StrokeRoundedRect:
    case DrawCallKind::StrokeEllipse:
    case DrawCallKind::StrokePath: return call.stroke.colour & 0xFFFFFFu;
    case DrawCallKind::FillRect:
    case DrawCallKind::FillRoundedRect:
    case DrawCallKind::FillEllipse:
    case DrawCallKind::FillPath:
      if (call.brush.gradient) return {};
      return call.brush.colour & 0xFFFFFFu;
    default: return {};
  }
}

}  // namespace

// A transparent buffer of the back buffer's size that new sprites are drawn on, with its GDI+
// bitmap and graphics made once (they cost more than drawing most calls). Its pages are given
// back after each paint and come back zeroed, only as far as they are touched.
class SpritePainter::Scratch {
 public:
  Scratch(int width, int height)
      : bytes_(size_t(width) * size_t(height) * 4),
        memory_(VirtualAlloc(nullptr, bytes_, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE)),
        bitmap_(width, height, width * 4, PixelFormat32bppPARGB, static_cast<BYTE*>(memory_.get())),
        graphics_(&bitmap_) {}

  bool Ok() {
    return memory_ && bitmap_.GetLastStatus() == Gdiplus::Ok && graphics_.GetLastStatus() == Gdiplus::Ok;
  }
  bool Fits(int width, int height) { return bitmap_.GetWidth() == UINT(width) && bitmap_.GetHeight() == UINT(height); }
  uint32_t* pixels() { return static_cast<uint32_t*>(memory_.get()); }

  // Gives the pages back; false when they cannot be had again (the scratch is then unusable).
  bool Release() {
    if (!touched_) return true;
    touched_ = false;
    GdiFlush();
    VirtualFree(memory_.get(), bytes_, MEM_DECOMMIT);
    return VirtualAlloc(memory_.get(), bytes_, MEM_COMMIT, PAGE_READWRITE) != nullptr;
  }

  // Clears `area` back to transparent.
  void Clear(const PixelRect& area) {
    const int width = int(bitmap_.GetWidth());
    for (int y = area.top; y < area.bottom; ++y) {
      std::fill(pixels() + size_t(y) * width + area.left, pixels() + size_t(y) * width + area.right, 0u);
    }
  }

  // Draws `calls` (pushes replayed, rectangular clips left out) at `scale` within `area`.
  Gdiplus::Status DrawWithin(const PixelRect& area, float scale, std::span<const DrawCall> pushes,
                             std::span<const DrawCall> calls, GdiplusFonts& fonts) {
    touched_ = true;
    Gdiplus::Status status = graphics_.SetClip(Gdiplus::Rect(area.left, area.top, area.Width(), area.Height()));
    if (status == Gdiplus::Ok) {
      GdiplusCanvas canvas(graphics_, fonts);
      canvas.PushScale(scale, scale);
      for (const DrawCall& push : pushes) {
        if (!IsRectClip(push)) ReplayDrawCalls(std::span(&push, 1), canvas);
      }
      ReplayDrawCalls(calls, canvas);
      status = canvas.LastStatus();
    }
    graphics_.Flush(Gdiplus::FlushIntentionSync);
    return status;
  }

 private:
  size_t bytes_;
  UniqueVirtualMemory memory_;  // before the bitmap, which draws into it
  Gdiplus::Bitmap bitmap_;
  Gdiplus::Graphics graphics_;
  bool touched_ = false;
};

SpritePainter::SpritePainter(size_t byteBudget) : cache_(byteBudget) {}
SpritePainter::~SpritePainter() = default;

SpritePainter::Scratch* SpritePainter::ScratchOf(int width, int height) {
  if (!scratch_ || !scratch_->Fits(width, height)) {
    scratch_.reset();
    auto made = std::make_unique<Scratch>(width, height);
    if (!made->Ok()) return nullptr;
    scratch_ = std::move(made);
  }
  return scratch_.get();
}

void SpritePainter::Clear() {
  cache_.Clear();
  clips_.clear();
  scratch_.reset();
}

// The whole pixels the rectangular clips among `pushes` leave drawable, as GDI+ itself keeps
// them: measured once per set of clips by filling through them a band across the middle of the
// clips each way (or, for a clip too thin to have a middle, a rectangle over all of it).
bool SpritePainter::ClipOf(std::span<const DrawCall> pushes, float scale, GdiplusFonts& fonts, int width, int height,
                           PixelRect& pixels) {
  pixels = {0, 0, width, height};
  if (std::none_of(pushes.begin(), pushes.end(), IsRectClip)) return true;
  for (const MeasuredClip& clip : clips_) {
    if (clip.scale == scale && std::equal(pushes.begin(), pushes.end(), clip.pushes.begin(), clip.pushes.end())) {
      pixels = Intersect(clip.pixels, pixels);
      return true;
    }
  }
  Scratch* scratch = ScratchOf(width, height);
  if (!scratch) return false;
  // The clips' intersection in device units, and the pushes without the rounded clips.
  RecordingCanvas fill;
  float x = scale, y = scale, left = 0, top = 0, right = float(width), bottom = float(height);
  for (const DrawCall& push : pushes) {
    if (push.kind == DrawCallKind::PushRoundedClip) continue;
    ReplayDrawCalls(std::span(&push, 1), fill);
    if (push.kind == DrawCallKind::PushScale) {
      x *= push.scale.x;
      y *= push.scale.y;
    } else {
      const float x0 = push.rect.x * x, x1 = push.rect.Right() * x, y0 = push.rect.y * y, y1 = push.rect.Bottom() * y;
      left = std::max(left, std::min(x0, x1));
      right = std::min(right, std::max(x0, x1));
      top = std::max(top, std::min(y0, y1));
      bottom = std::min(bottom, std::max(y0, y1));
    }
  }
  const bool usable = std::abs(x) > 0 && std::abs(y) > 0 && std::isfinite(x * y) && !std::isnan(left + right + top + bottom);
  pixels = {};
  if (usable && right > left && bottom > top) {
    // A device rectangle in the units of the innermost push.
    auto world = [&](float l, float t, float r, float b) {
      const float x0 = l / x, x1 = r / x, y0 = t / y, y1 = b / y;
      return RectF{std::min(x0, x1), std::min(y0, y1), std::abs(x1 - x0), std::abs(y1 - y0)};
    };
    const bool banded = right - left >= 4 && bottom - top >= 4;
    const int row = int((top + bottom) / 2), column = int((left + right) / 2);
    if (banded) {
      fill.FillRect(world(-2, float(row), float(width + 2), float(row + 1)), Brush(0xFFFFFFFF));
      fill.FillRect(world(float(column), -2, float(column + 1), float(height + 2)), Brush(0xFFFFFFFF));
    } else {
      fill.FillRect(world(left - 2, top - 2, right + 2, bottom + 2), Brush(0xFFFFFFFF));
    }
    const PixelRect searched = banded ? PixelRect{0, 0, width, height}
                                      : Intersect({int(left) - 3, int(top) - 3, int(right) + 4, int(bottom) + 4},
                                                  {0, 0, width, height});
    if (scratch->DrawWithin(searched, scale, {}, fill.Calls(), fonts) != Gdiplus::Ok) return false;
    const uint32_t* inked = scratch->pixels();
    auto opaque = [&](int px, int py) { return inked[size_t(py) * width + px] >= 0xFF000000u; };
    if (banded) {
      PixelRect found{width, height, 0, 0};
      for (int px = 0; px < width; ++px) {
        if (opaque(px, row)) found = {std::min(found.left, px), found.top, std::max(found.right, px + 1), found.bottom};
      }
      for (int py = 0; py < height; ++py) {
        if (opaque(column, py)) found = {found.left, std::min(found.top, py), found.right, std::max(found.bottom, py + 1)};
      }
      if (!IsEmpty(found)) pixels = found;
      scratch->Clear({0, row, width, row + 1});
      scratch->Clear({column, 0, column + 1, height});
    } else {
      PixelRect found{width, height, 0, 0};
      for (int py = searched.top; py < searched.bottom; ++py) {
        for (int px = searched.left; px < searched.right; ++px) {
          if (!inked[size_t(py) * width + px]) continue;
          found = {std::min(found.left, px), std::min(found.top, py), std::max(found.right, px + 1),
                   std::max(found.bottom, py + 1)};
        }
      }
      if (!IsEmpty(found)) pixels = found;
      scratch->Clear(searched);
    }
  }
  if (clips_.size() >= 64) clips_.clear();
  clips_.push_back(MeasuredClip{std::vector<DrawCall>(pushes.begin(), pushes.end()), scale, pixels});
  return true;
}

// Draws `call` with GDI+ under `pushes` at `scale` on the scratch buffer and keeps its ink in
// `sprite`, leaving the scratch transparent again. The area starts at the guess of where its ink
// falls and grows while ink reaches a side that neither the buffer nor a rounded clip closes.
bool SpritePainter::DrawSprite(const DrawCall& call, std::span<const DrawCall> pushes, float scale,
                               const SpritePlace& place, GdiplusFonts& fonts, GlyphMeasurer& measurer, int width,
                               int height, Sprite& sprite) {
  const PixelRect buffer{0, 0, width, height};
  const PixelRect shaped = ShapedBounds(pushes, scale);
  const PixelRect bounds = Intersect(buffer, shaped);
  const InkGuess guessed = GuessInk(call, place.key.scale, measurer);
  const PixelRect guess = IsEmpty(guessed.area) ? bounds : guessed.area;
  if (place.key.shapes.empty()) {
    if (const std::optional<Argb> colour = OpaqueFillCovering(call, place.key.scale, bounds)) {
      sprite = SolidSprite(Offset(bounds, -place.originX, -place.originY), *colour);
      sprite.known = Offset(KnownArea(bounds, buffer, shaped), -place.originX, -place.originY);
      return true;
    }
  }
  Scratch* scratch = ScratchOf(width, height);
  if (!scratch) return false;
  if (IsEmpty(bounds)) {  // nothing of the buffer is left to draw on
    sprite = Sprite{};
    sprite.known = Offset(buffer, -place.originX, -place.originY);
    return true;
  }
  int grow = 0;
  while (true) {
    const PixelRect area = Intersect(Inflate(guess, grow), bounds);
    if (IsEmpty(area)) {  // a guess beside the buffer: grow it until it meets the buffer
      grow = std::max(16, grow * 2);
      continue;
    }
    const Gdiplus::Status status = scratch->DrawWithin(area, scale, pushes, std::span(&call, 1), fonts);
    if (status != Gdiplus::Ok) {
      scratch->Clear(area);
      return false;
    }
    if (InkOnOpenRim(scratch->pixels(), width, area, bounds, guessed.rim)) {
      scratch->Clear(area);
      grow = std::max({16, grow * 2, guessed.rim});
      ++regrown_;
      continue;
    }
    sprite = SpriteFromPixels(scratch->pixels(), width, area, place.originX, place.originY);
    sprite.tint = OneColour(call);
    sprite.known = Offset(KnownArea(area, buffer, shaped), -place.originX, -place.originY);
    scratch->Clear(area);
    return true;
  }
}

bool SpritePainter::Draw(std::span<const DrawCall> calls, GdiplusFonts& fonts, GlyphMeasurer& measurer,
                         uint32_t* rows, int width, int height, const PixelRect& update, float scale) {
  bool drawn = true;
  std::vector<DrawCall> pushes;
  PixelRect clip;
  bool clipKnown = false;
  const PixelRect target = Intersect(update, {0, 0, width, height});
  for (const DrawCall& call : calls) {
    if (IsPush(call.kind)) {
      pushes.push_back(call);
      clipKnown = false;
      continue;
    }
    if (call.kind == DrawCallKind::Pop) {
      if (!pushes.empty()) pushes.pop_back();
      clipKnown = false;
      continue;
    }
    if (!clipKnown) {
      if (!ClipOf(pushes, scale, fonts, width, height, clip)) {
        drawn = false;
        clip = {};
      }
      clipKnown = true;
    }
    const PixelRect visible = Intersect(clip, target);
    if (IsEmpty(visible)) continue;
    SpritePlace place = PlaceSprite(call, pushes, scale);
    const Sprite* sprite = cache_.Find(place.key);
    if (!sprite || !Contains(sprite->known, Offset(visible, -place.originX, -place.originY))) {
      Sprite made;
      if (!DrawSprite(call, pushes, scale, place, fonts, measurer, width, height, made)) {
        drawn = false;
        continue;
      }
      sprite = &cache_.Keep(std::move(place.key), std::move(made));
    }
    BlendSprite(*sprite, place.originX, place.originY, rows, width, visible);
  }
  if (scratch_ && !scratch_->Release()) scratch_.reset();
  return drawn;
}
