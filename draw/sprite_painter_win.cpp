#include "draw/sprite_painter_win.h"

#include <gdiplus.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "draw/frame_reuse.h"
#include "draw/gdiplus_canvas_win.h"
#include "draw/sprite_area.h"

namespace {

bool IsPush(DrawCallKind kind) {
  return kind == DrawCallKind::PushClip || kind == DrawCallKind::PushRoundedClip || kind == DrawCallKind::PushScale;
}

}  // namespace

SpritePainter::Scratch::Scratch(int width, int height)
    : pixels(size_t(width) * size_t(height), 0),
      bitmap(width, height, width * 4, PixelFormat32bppPARGB, reinterpret_cast<BYTE*>(pixels.data())),
      graphics(&bitmap) {}

SpritePainter::Scratch* SpritePainter::ScratchOf(int width, int height) {
  if (!scratch_ || scratch_->bitmap.GetWidth() != UINT(width) || scratch_->bitmap.GetHeight() != UINT(height)) {
    scratch_.reset();
    auto made = std::make_unique<Scratch>(width, height);
    if (made->bitmap.GetLastStatus() != Gdiplus::Ok || made->graphics.GetLastStatus() != Gdiplus::Ok) return nullptr;
    scratch_ = std::move(made);
  }
  return scratch_.get();
}

void SpritePainter::Clear() {
  cache_.Clear();
  scratch_.reset();
}

// Draws `call` with GDI+ under `pushes` at `scale` on the scratch buffer, clipped to the sprite's
// area, and moves what it drew there into `sprite`, leaving the scratch transparent again.
bool SpritePainter::DrawSprite(const DrawCall& call, std::span<const DrawCall> pushes, float scale,
                               GdiplusFonts& fonts, Sprite& sprite, int width, int height) {
  Scratch* scratch = ScratchOf(width, height);
  if (!scratch) return false;
  const PixelRect& area = sprite.area;
  Gdiplus::Status status = scratch->graphics.SetClip(Gdiplus::Rect(area.left, area.top, area.Width(), area.Height()));
  if (status == Gdiplus::Ok) {
    GdiplusCanvas canvas(scratch->graphics, fonts);
    canvas.PushScale(scale, scale);
    ReplayDrawCalls(pushes, canvas);
    ReplayDrawCalls(std::span(&call, 1), canvas);
    status = canvas.LastStatus();
  }
  scratch->graphics.Flush(Gdiplus::FlushIntentionSync);
  for (int y = area.top; y < area.bottom; ++y) {
    uint32_t* row = scratch->pixels.data() + size_t(y) * width + area.left;
    std::copy(row, row + area.Width(), sprite.pixels.data() + size_t(y - area.top) * area.Width());
    std::fill(row, row + area.Width(), 0u);
  }
  return status == Gdiplus::Ok;
}

bool SpritePainter::Draw(std::span<const DrawCall> calls, GdiplusFonts& fonts, GlyphMeasurer& measurer,
                         uint32_t* rows, int width, int height, const PixelRect& update, float scale) {
  bool drawn = true;
  SpriteKey key;
  for (const DrawCall& call : calls) {
    if (IsPush(call.kind)) {
      key.pushes.push_back(call);
      continue;
    }
    if (call.kind == DrawCallKind::Pop) {
      if (!key.pushes.empty()) key.pushes.pop_back();
      continue;
    }
    const PixelRect area = SpriteArea(call, key.pushes, scale, width, height, measurer);
    if (IsEmpty(Intersect(area, update))) continue;
    key.call = call;
    const Sprite* sprite = cache_.Find(key);
    if (!sprite) {
      Sprite drawnSprite = BlankSprite(area);
      if (const std::optional<Argb> colour = WholeOpaqueFill(call, key.pushes, scale, area)) {
        std::fill(drawnSprite.pixels.begin(), drawnSprite.pixels.end(), *colour);
      } else if (!DrawSprite(call, key.pushes, scale, fonts, drawnSprite, width, height)) {
        drawn = false;
        continue;
      }
      CropToInk(drawnSprite);
      sprite = &cache_.Keep(key, std::move(drawnSprite));
    }
    BlendSprite(*sprite, rows, width, update);
  }
  return drawn;
}
