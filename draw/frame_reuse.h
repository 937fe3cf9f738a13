#pragma once
// Painting a frame again from the last one. A painter records each frame's calls first; the calls
// that the new frame shares with the last one from its start are not drawn again but taken from a
// snapshot of the back buffer made where the shared part ended, and a frame equal to the last one
// needs no drawing at all. The pixels are those of drawing every call, since the same calls are
// drawn in the same order onto the same pixels.
#include <cstddef>
#include <optional>
#include <span>
#include <vector>

#include "draw/canvas.h"
#include "draw/recording_canvas.h"

// How many calls from the start `a` and `b` share, cut back to a place where every state pushed
// before it was popped again (so drawing can go on from there with a fresh state stack).
size_t SharedPrefix(std::span<const DrawCall> a, std::span<const DrawCall> b);

// Draws recorded calls onto `canvas` as they were made.
void ReplayDrawCalls(std::span<const DrawCall> calls, Canvas& canvas);

struct RepaintPlan {
  enum class Start {
    Nothing,   // the back buffer already holds this frame: nothing to draw
    Snapshot,  // copy the snapshot into the update area, then draw from `replayFrom`
    Clear,     // clear the update area, then draw every call
  };
  Start start = Start::Clear;
  size_t replayFrom = 0;
  // Take a new snapshot when the calls before this index are drawn.
  std::optional<size_t> snapshotAt;
};

class FrameReuse {
 public:
  // Plans the paint of the frame `calls` and remembers it as the last frame, assuming the plan is
  // carried out. `wholeFrame`: the update area is the whole back buffer (a snapshot is made only
  // then, since drawing is clipped to the update area).
  RepaintPlan Next(std::vector<DrawCall> calls, bool wholeFrame);
  // Forgets the last frame and the snapshot: the back buffer was made again, the scale changed, or
  // a plan was not carried out.
  void Reset();

  const std::vector<DrawCall>& last() const { return last_; }

 private:
  std::vector<DrawCall> last_;
  std::optional<size_t> snapshot_;  // how many of last_'s calls the snapshot holds
  bool bufferHoldsLast_ = false;
};
