#include "draw/frame_buffer_win.h"

#include <cstring>
#include <span>

namespace {

void CopyRows(uint8_t* to, const uint8_t* from, int width, const RECT& area) {
  const size_t bytes = size_t(area.right - area.left) * 4;
  for (int y = area.top; y < area.bottom; ++y) {
    const size_t offset = (size_t(y) * width + area.left) * 4;
    if (from) {
      std::memcpy(to + offset, from + offset, bytes);
    } else {
      std::memset(to + offset, 0, bytes);
    }
  }
}

}  // namespace

void FrameBuffer::Reset() {
  reuse_.Reset();
  snapshot_.clear();
}

void FrameBuffer::Draw(GdiplusFonts& fonts, GlyphMeasurer& measurer, uint8_t* bits, int width, int height,
                       const RECT& update, float scale, std::vector<DrawCall> calls) {
  if (width != width_ || height != height_ || scale != scale_) {
    Reset();
    sprites_.Clear();
    width_ = width;
    height_ = height;
    scale_ = scale;
  }
  const bool wholeFrame = update.left == 0 && update.top == 0 && update.right == width && update.bottom == height;
  const RepaintPlan plan = reuse_.Next(std::move(calls), wholeFrame);
  if (plan.start == RepaintPlan::Start::Nothing) return;
  GdiFlush();
  const size_t bytes = size_t(width) * height * 4;
  const bool fromSnapshot = plan.start == RepaintPlan::Start::Snapshot && snapshot_.size() == bytes;
  CopyRows(bits, fromSnapshot ? snapshot_.data() : nullptr, width, update);
  const std::span<const DrawCall> frame = reuse_.last();
  const size_t from = fromSnapshot ? plan.replayFrom : 0;

  auto* rows = reinterpret_cast<uint32_t*>(bits);
  const PixelRect area{update.left, update.top, update.right, update.bottom};
  bool drawn = true;
  if (plan.snapshotAt && *plan.snapshotAt >= from) {
    drawn = sprites_.Draw(frame.subspan(from, *plan.snapshotAt - from), fonts, measurer, rows, width, height, area, scale);
    snapshot_.assign(bits, bits + bytes);
    drawn = sprites_.Draw(frame.subspan(*plan.snapshotAt), fonts, measurer, rows, width, height, area, scale) && drawn;
  } else {
    drawn = sprites_.Draw(frame.subspan(from), fonts, measurer, rows, width, height, area, scale);
  }
  if (!drawn) Reset();  // a frame not wholly drawn is not reused
}
