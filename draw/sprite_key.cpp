#include "draw/sprite_key.h"

#include <bit>
#include <cmath>
#include <functional>
#include <string>

namespace {

// Beyond this many device pixels a float no longer holds a fraction of a pixel exactly enough.
constexpr float kMovableReach = 1 << 20;
// The grid of sub-pixel positions that sprites are told apart by.
constexpr float kPhaseSteps = 256;

void Mix(size_t& hash, size_t value) { hash ^= value + 0x9E3779B97F4A7C15ull + (hash << 6) + (hash >> 2); }
// Equal floats hash alike: 0 and -0 are equal.
void Mix(size_t& hash, float value) { Mix(hash, size_t(std::bit_cast<uint32_t>(value == 0 ? 0.0f : value))); }
void Mix(size_t& hash, PointF p) {
  Mix(hash, p.x);
  Mix(hash, p.y);
}
void Mix(size_t& hash, const RectF& r) {
  Mix(hash, r.x);
  Mix(hash, r.y);
  Mix(hash, r.width);
  Mix(hash, r.height);
}

bool UsesRect(DrawCallKind kind) {
  switch (kind) {
    case DrawCallKind::TextBox:
    case DrawCallKind::FillRect:
    case DrawCallKind::FillRoundedRect:
    case DrawCallKind::StrokeRoundedRect:
    case DrawCallKind::FillEllipse:
    case DrawCallKind::StrokeEllipse:
    case DrawCallKind::PushClip:
    case DrawCallKind::PushRoundedClip: return true;
    default: return false;
  }
}

PointF Anchor(const DrawCall& call) {
  switch (call.kind) {
    case DrawCallKind::Glyphs:
    case DrawCallKind::Line:
    case DrawCallKind::Polyline:
    case DrawCallKind::Curve: return call.points.empty() ? PointF{} : call.points[0];
    case DrawCallKind::FillPath:
    case DrawCallKind::StrokePath: {
      if (call.path.IsEmpty()) return {};
      const PathSegment& first = call.path.Segments().front();
      return first.op == PathOp::Arc ? PointF{first.arcBox.x, first.arcBox.y} : first.points[0];
    }
    default: return UsesRect(call.kind) ? PointF{call.rect.x, call.rect.y} : PointF{};
  }
}

PointF Moved(PointF p, PointF by) { return {p.x - by.x, p.y - by.y}; }

// `call` with every position less `by`; sizes, pens and colours stay.
DrawCall MovedCall(const DrawCall& call, PointF by) {
  DrawCall moved = call;
  moved.depth = 0;
  for (PointF& p : moved.points) p = Moved(p, by);
  if (UsesRect(call.kind)) {
    moved.rect.x -= by.x;
    moved.rect.y -= by.y;
  }
  if (moved.brush.gradient) {
    moved.brush.gradient->start = Moved(moved.brush.gradient->start, by);
    moved.brush.gradient->end = Moved(moved.brush.gradient->end, by);
  }
  if (!call.path.IsEmpty()) {
    Path path;
    for (PathSegment segment : call.path.Segments()) {
      for (PointF& p : segment.points) p = Moved(p, by);
      segment.arcBox.x -= by.x;
      segment.arcBox.y -= by.y;
      switch (segment.op) {
        case PathOp::Move: path.MoveTo(segment.points[0]); break;
        case PathOp::Line: path.LineTo(segment.points[0]); break;
        case PathOp::Bezier: path.BezierTo(segment.points[0], segment.points[1], segment.points[2]); break;
        case PathOp::Arc: path.ArcTo(segment.arcBox, segment.startAngle, segment.sweepAngle); break;
        case PathOp::Close: path.Close(); break;
      }
    }
    moved.path = std::move(path);
  }
  return moved;
}

}  // namespace

bool IsRectClip(const DrawCall& push) { return push.kind == DrawCallKind::PushClip; }

SpritePlace PlaceSprite(const DrawCall& call, std::span<const DrawCall> pushes, float scale) {
  SpritePlace place;
  place.key.scale = {scale, scale};
  bool shaped = false;
  for (const DrawCall& push : pushes) {
    if (push.kind == DrawCallKind::PushScale) {
      place.key.scale = {place.key.scale.x * push.scale.x, place.key.scale.y * push.scale.y};
    }
    shaped = shaped || push.kind == DrawCallKind::PushRoundedClip;
  }
  if (shaped) {
    for (const DrawCall& push : pushes) {
      if (!IsRectClip(push)) place.key.shapes.push_back(MovedCall(push, {}));
    }
  }
  const PointF anchor = Anchor(call);
  const float deviceX = anchor.x * place.key.scale.x, deviceY = anchor.y * place.key.scale.y;
  const bool movable = !shaped && std::abs(deviceX) < kMovableReach && std::abs(deviceY) < kMovableReach;
  if (!movable) {
    place.key.call = MovedCall(call, {});
    return place;
  }
  // Positions closer than a step of the phase grid draw alike (a pixel changes by under a level),
  // and the painter's arithmetic puts the same text a few float steps apart as it scrolls.
  auto split = [](float device, int& whole) {
    float cells = std::round((device - std::floor(device)) * kPhaseSteps);
    whole = int(std::floor(device));
    if (cells >= kPhaseSteps) {
      cells = 0;
      ++whole;
    }
    return cells / kPhaseSteps;
  };
  place.key.phase = {split(deviceX, place.originX), split(deviceY, place.originY)};
  place.key.call = MovedCall(call, anchor);
  return place;
}

size_t HashDrawCall(const DrawCall& call) {
  size_t hash = size_t(call.kind);
  Mix(hash, std::hash<std::wstring>{}(call.text));
  Mix(hash, std::hash<std::wstring>{}(call.font.family));
  Mix(hash, call.font.pixelSize);
  Mix(hash, size_t(call.font.style));
  Mix(hash, size_t(call.textFormat.horizontal) | size_t(call.textFormat.vertical) << 4 |
                size_t(call.textFormat.wrap) << 8 | size_t(call.textFormat.ellipsis) << 9);
  for (PointF p : call.points) Mix(hash, p);
  Mix(hash, call.tension);
  Mix(hash, call.rect);
  Mix(hash, call.radius);
  for (const PathSegment& segment : call.path.Segments()) {
    Mix(hash, size_t(segment.op));
    for (PointF p : segment.points) Mix(hash, p);
    Mix(hash, segment.arcBox);
    Mix(hash, segment.startAngle);
    Mix(hash, segment.sweepAngle);
  }
  Mix(hash, size_t(call.brush.colour));
  if (call.brush.gradient) {
    Mix(hash, call.brush.gradient->start);
    Mix(hash, call.brush.gradient->end);
    Mix(hash, size_t(call.brush.gradient->startColour) << 32 | call.brush.gradient->endColour);
  }
  Mix(hash, size_t(call.stroke.colour));
  Mix(hash, call.stroke.width);
  Mix(hash, size_t(call.stroke.cap) << 4 | size_t(call.stroke.join));
  Mix(hash, call.scale);
  Mix(hash, size_t(call.depth));
  return hash;
}

size_t SpriteKeyHash::operator()(const SpriteKey& key) const {
  size_t hash = HashDrawCall(key.call);
  Mix(hash, key.phase);
  Mix(hash, key.scale);
  for (const DrawCall& shape : key.shapes) Mix(hash, HashDrawCall(shape));
  return hash;
}
