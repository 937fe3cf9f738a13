#include "panel/window/question_box_text.h"

#include <algorithm>
#include <string_view>

#include "panel/panel_texts.h"
#include "panel/paint/text_block.h"

namespace {

constexpr Argb kLightText = 0xFF121216;
constexpr Argb kDarkText = 0xC0FFFFFF;
constexpr Argb kLightCue = 0xA81C1C24;
constexpr Argb kDarkCue = 0x8CFFFFFF;

// Where the caret or a selection edge at `index` lies on `line`, from its left end.
float OffsetIn(GlyphMeasurer& measurer, const FontSpec& font, std::wstring_view text, const QuestionBoxLine& line,
               size_t index) {
  const size_t end = std::clamp(index, line.first, line.first + line.length);
  return measurer.Measure(text.substr(line.first, end - line.first), font).width;
}

}  // namespace

void DrawEditText(Canvas& canvas, GlyphMeasurer& measurer, const QuestionBoxView& box, const RectF& clip,
                  const EditTextLook& look) {
  if (clip.IsEmpty()) return;
  const FontSpec& font = look.font;
  const Argb ink = look.ink;
  const float rowHeight = box.lineHeight > 0 ? box.lineHeight : font.pixelSize * 1.25f;
  canvas.PushClip(clip);
  CanvasStateScope clipped(canvas);
  if (box.text.empty()) {
    const float top = box.lines.empty() ? clip.y : box.lines.front().top;
    canvas.DrawGlyphs(look.cue, font, look.cueInk, {box.left, top});
  }
  const std::wstring_view text = box.text;
  const size_t selectionFirst = std::min(box.selectionStart, box.selectionEnd);
  const size_t selectionLast = std::max(box.selectionStart, box.selectionEnd);
  for (const QuestionBoxLine& line : box.lines) {
    if (line.first > text.size()) break;
    const QuestionBoxLine shown{line.first, std::min(line.length, text.size() - line.first), line.top};
    if (selectionFirst < selectionLast && selectionFirst <= shown.first + shown.length &&
        selectionLast > shown.first) {
      const float from = OffsetIn(measurer, font, text, shown, selectionFirst);
      const float to = OffsetIn(measurer, font, text, shown, selectionLast);
      canvas.FillRect({box.left + from, shown.top, std::max(to - from, 3.0f), rowHeight}, WithAlpha(look.accent, 0x48));
    }
    canvas.DrawGlyphs(text.substr(shown.first, shown.length), font, ink, {box.left, shown.top});
  }
  if (!box.focused || !box.caretVisible || selectionFirst != selectionLast) return;
  // The caret is on the last line that starts at or before it.
  const QuestionBoxLine* caretLine = nullptr;
  for (const QuestionBoxLine& line : box.lines) {
    if (line.first <= box.selectionEnd && line.first <= text.size()) caretLine = &line;
  }
  const float top = caretLine ? caretLine->top : (box.lines.empty() ? clip.y : box.lines.front().top);
  const float x = box.left + (caretLine ? OffsetIn(measurer, font, text,
                                                   {caretLine->first,
                                                    std::min(caretLine->length, text.size() - caretLine->first),
                                                    caretLine->top},
                                                   box.selectionEnd)
                                        : 0.0f);
  canvas.DrawLine({x, top + 1}, {x, top + rowHeight - 1}, {ink, 1.2f});
}

void DrawQuestionBoxText(Canvas& canvas, GlyphMeasurer& measurer, const QuestionBoxView& box, const RectF& clip,
                         bool light, Argb accent) {
  DrawEditText(canvas, measurer, box, clip,
               {PanelFont(kQuestionTextSize, true), light ? kLightText : kDarkText, light ? kLightCue : kDarkCue,
                panel_text::QuestionCue, accent});
}
