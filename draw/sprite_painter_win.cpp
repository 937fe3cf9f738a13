#include "draw/sprite_painter_win.h"

#include <gdiplus.h>

#include <utility>
#include <vector>

#include "draw/frame_reuse.h"
#include "draw/gdiplus_canvas_win.h"
#include "draw/sprite_area.h"

namespace {

// Draws `call` with GDI+ onto a transparent sprite of `area`, under `pushes` at `scale`.
bool DrawSprite(const DrawCall& call, std::span<const DrawCall> pushes, float scale, GdiplusFonts& fonts,
                Sprite& sprite) {
  const int width = sprite.area.Width(), height = sprite.area.Height();
  Gdiplus::Bitmap bitmap(width, height, width * 4, PixelFormat32bppPARGB,
                         reinterpret_cast<BYTE*>(sprite.pixels.data()));
  Gdiplus::Graphics graphics(&bitmap);
  if (bitmap.GetLastStatus() != Gdiplus::Ok || graphics.GetLastStatus() != Gdiplus::Ok) return false;
  graphics.TranslateTransform(-float(sprite.area.left), -float(sprite.area.top));
  Gdiplus::Status status = Gdiplus::Ok;
  {
    GdiplusCanvas canvas(graphics, fonts);
    canvas.PushScale(scale, scale);
    ReplayDrawCalls(pushes, canvas);
    ReplayDrawCalls(std::span(&call, 1), canvas);
    status = canvas.LastStatus();
  }
  graphics.Flush(Gdiplus::FlushIntentionSync);
  return status == Gdiplus::Ok;
}

bool IsPush(DrawCallKind kind) {
  return kind == DrawCallKind::PushClip || kind == DrawCallKind::PushRoundedClip || kind == DrawCallKind::PushScale;
}

}  // namespace

bool SpritePainter::Draw(std::span<const DrawCall> calls, GdiplusFonts& fonts, uint32_t* rows, int width, int height,
                         const PixelRect& update, float scale) {
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
    const PixelRect area = SpriteArea(call, key.pushes, scale, width, height);
    if (IsEmpty(Intersect(area, update))) continue;
    key.call = call;
    const Sprite* sprite = cache_.Find(key);
    if (!sprite) {
      Sprite drawnSprite = BlankSprite(area);
      if (!DrawSprite(call, key.pushes, scale, fonts, drawnSprite)) {
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
