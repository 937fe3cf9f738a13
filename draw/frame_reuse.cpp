#include "draw/frame_reuse.h"

#include <algorithm>

namespace {

bool Pushes(DrawCallKind kind) {
  return kind == DrawCallKind::PushClip || kind == DrawCallKind::PushRoundedClip || kind == DrawCallKind::PushScale;
}

}  // namespace

size_t SharedPrefix(std::span<const DrawCall> a, std::span<const DrawCall> b) {
  const size_t common = std::min(a.size(), b.size());
  size_t shared = 0;
  int depth = 0;
  for (size_t i = 0; i < common && a[i] == b[i]; ++i) {
    if (Pushes(a[i].kind)) {
      ++depth;
    } else if (a[i].kind == DrawCallKind::Pop && depth > 0) {
      --depth;
    }
    if (depth == 0) shared = i + 1;
  }
  return shared;
}

void ReplayDrawCalls(std::span<const DrawCall> calls, Canvas& canvas) {
  for (const DrawCall& call : calls) {
    switch (call.kind) {
      case DrawCallKind::Glyphs:
        canvas.DrawGlyphs(call.text, call.font, call.brush.colour, call.points.empty() ? PointF{} : call.points[0]);
        break;
      case DrawCallKind::TextBox:
        canvas.DrawTextBox(call.text, call.font, call.brush.colour, call.rect, call.textFormat);
        break;
      case DrawCallKind::Line:
        if (call.points.size() == 2) canvas.DrawLine(call.points[0], call.points[1], call.stroke);
        break;
      case DrawCallKind::Polyline: canvas.DrawPolyline(call.points, call.stroke); break;
      case DrawCallKind::Curve: canvas.DrawCurve(call.points, call.tension, call.stroke); break;
      case DrawCallKind::FillRect: canvas.FillRect(call.rect, call.brush); break;
      case DrawCallKind::FillRoundedRect: canvas.FillRoundedRect(call.rect, call.radius, call.brush); break;
      case DrawCallKind::StrokeRoundedRect: canvas.StrokeRoundedRect(call.rect, call.radius, call.stroke); break;
      case DrawCallKind::FillEllipse: canvas.FillEllipse(call.rect, call.brush); break;
      case DrawCallKind::StrokeEllipse: canvas.StrokeEllipse(call.rect, call.stroke); break;
      case DrawCallKind::FillPath: canvas.FillPath(call.path, call.brush); break;
      case DrawCallKind::StrokePath: canvas.StrokePath(call.path, call.stroke); break;
      case DrawCallKind::PushClip: canvas.PushClip(call.rect); break;
      case DrawCallKind::PushRoundedClip: canvas.PushRoundedClip(call.rect, call.radius); break;
      case DrawCallKind::PushScale: canvas.PushScale(call.scale.x, call.scale.y); break;
      case DrawCallKind::Pop: canvas.Pop(); break;
    }
  }
}

RepaintPlan FrameReuse::Next(std::vector<DrawCall> calls, bool wholeFrame) {
  const size_t shared = SharedPrefix(last_, calls);
  const bool same = shared == calls.size() && last_.size() == calls.size();
  RepaintPlan plan;
  if (same && bufferHoldsLast_) {
    plan.start = RepaintPlan::Start::Nothing;
    plan.replayFrom = calls.size();
  } else {
    if (snapshot_ && *snapshot_ <= shared) {
      plan.start = RepaintPlan::Start::Snapshot;
      plan.replayFrom = *snapshot_;
    } else {
      snapshot_.reset();
    }
    if (wholeFrame && shared > plan.replayFrom && shared < calls.size()) {
      plan.snapshotAt = shared;
      snapshot_ = shared;
    }
    bufferHoldsLast_ = wholeFrame;
  }
  last_ = std::move(calls);
  return plan;
}

void FrameReuse::Reset() {
  last_.clear();
  snapshot_.reset();
  bufferHoldsLast_ = false;
}
