#pragma once
// An edit control's content as the panel draws it under glass, where the native control is
// practically invisible: its visible lines, the selection, a blinking caret, or its cue while it is
// empty. The question box and the sign-in field are both drawn this way. What the control holds is
// read from it (the Windows side); drawing it is portable.
#include <cstddef>
#include <string>
#include <vector>

#include "draw/canvas.h"
#include "draw/glyph_measurer.h"

// One line the box shows: where it starts in the text, how long it is, and the top of its row in
// the panel's logical pixels.
struct QuestionBoxLine {
  size_t first = 0;
  size_t length = 0;
  float top = 0;
  bool operator==(const QuestionBoxLine&) const = default;
};

struct QuestionBoxView {
  std::wstring text;
  size_t selectionStart = 0;  // the caret when start and end are equal
  size_t selectionEnd = 0;
  std::vector<QuestionBoxLine> lines;  // the visible lines, top to bottom
  float left = 0;                      // where the lines start, logical pixels (left of the control
                                       // when its text is scrolled sideways)
  float lineHeight = 0;                // a row's height, logical pixels
  bool focused = false;
  bool caretVisible = false;  // the blink's phase
  bool operator==(const QuestionBoxView&) const = default;
};

inline constexpr float kQuestionTextSize = 14.5f;

// How one edit control's content looks: its font, the ink of its text and of its cue, the cue, and
// the accent that tints the selection.
struct EditTextLook {
  FontSpec font;
  Argb ink = 0;
  Argb cueInk = 0;
  std::wstring_view cue;
  Argb accent = 0;
};

// Draws `box`'s content clipped to `clip` (the control's rectangle) in `look`.
void DrawEditText(Canvas& canvas, GlyphMeasurer& measurer, const QuestionBoxView& box, const RectF& clip,
                  const EditTextLook& look);

// The question box: its cue, at kQuestionTextSize semibold in the light or the dark glass colours.
void DrawQuestionBoxText(Canvas& canvas, GlyphMeasurer& measurer, const QuestionBoxView& box, const RectF& clip,
                         bool light, Argb accent);
