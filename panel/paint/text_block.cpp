#include "panel/paint/text_block.h"

#include <algorithm>
#include <limits>
#include <vector>

#include "math/rich_draw.h"
#include "math/rich_text.h"
#include "math/text_scroll.h"

namespace {

const TextBoxFormat kWrapped{TextAlign::Near, TextAlign::Near, true, false};

// A text laid out in pieces: measuring and drawing a whole text of this size would hold the UI
// thread for seconds, so only the pieces on view are measured and the others are estimated from
// the first one.
class PiecedText {
 public:
  PiecedText(GlyphMeasurer& measurer, std::wstring_view text, const FontSpec& font, float width)
      : measurer_(measurer), font_(font), width_(width) {
    for (std::wstring_view piece : LinePieces(text)) pieces_.push_back({piece, -1});
    Measure(0);
    estimatePerUnit_ = pieces_[0].height / static_cast<float>(pieces_[0].text.size());
  }

  float Height(size_t i) const {
    const Piece& piece = pieces_[i];
    return piece.height >= 0 ? piece.height : estimatePerUnit_ * static_cast<float>(piece.text.size());
  }
  float Total() const {
    float total = 0;
    for (size_t i = 0; i < pieces_.size(); ++i) total += Height(i);
    return total;
  }
  void MeasureAll() {
    for (size_t i = 0; i < pieces_.size(); ++i) {
      if (pieces_[i].height < 0) Measure(i);
    }
  }
  // Measures the pieces that show between `top` and `bottom`; whether any was new.
  bool MeasureVisible(float top, float bottom) {
    bool measured = false;
    float y = 0;
    for (size_t i = 0; i < pieces_.size() && y < bottom; ++i) {
      if (y + Height(i) > top && pieces_[i].height < 0) {
        Measure(i);
        measured = true;
      }
      y += Height(i);
    }
    return measured;
  }
  void Draw(Canvas& canvas, Argb colour, float left, float top, float scroll, float viewHeight) const {
    float y = 0;
    for (size_t i = 0; i < pieces_.size() && y < scroll + viewHeight; ++i) {
      const float height = Height(i);
      if (y + height > scroll && height > 0) {
        canvas.DrawTextBox(pieces_[i].text, font_, colour, {left, top + y - scroll, width_, height}, kWrapped);
      }
      y += height;
    }
  }

 private:
  struct Piece {
    std::wstring_view text;
    float height;  // negative until measured
  };
  void Measure(size_t i) { pieces_[i].height = measurer_.MeasureWrapped(pieces_[i].text, font_, width_).height; }

  GlyphMeasurer& measurer_;
  FontSpec font_;
  float width_;
  std::vector<Piece> pieces_;
  float estimatePerUnit_ = 0;
};

void DrawLongTextBlock(Canvas& canvas, GlyphMeasurer& measurer, std::wstring_view text, const RectF& rect,
                       const FontSpec& font, Argb colour, float& scroll, float& scrollMax) {
  const float width = rect.width > kScrollThumbRoom ? rect.width - kScrollThumbRoom : rect.width;
  PiecedText pieces(measurer, text, font, width);
  // Measuring what shows moves the end (and a scroll held at the end with it); a few passes settle
  // on the pieces on view measured exactly.
  // A block scrolled to its end by the last paint's range stays at its end.
  const bool atEnd = scrollMax > 0 && scroll >= scrollMax;
  const float wanted = atEnd ? std::numeric_limits<float>::max() : scroll;
  if (atEnd) pieces.MeasureAll();  // the end of an exact range
  for (int pass = 0; pass < 3; ++pass) {
    scroll = wanted;
    scrollMax = ClampScroll(scroll, pieces.Total(), rect.height);
    if (!pieces.MeasureVisible(scroll, scroll + rect.height)) break;
  }
  const float total = pieces.Total();
  scroll = wanted;
  scrollMax = ClampScroll(scroll, total, rect.height);
  {
    canvas.PushClip(rect);
    CanvasStateScope clip(canvas);
    pieces.Draw(canvas, colour, rect.x, rect.y, scroll, rect.height);
  }
  DrawScrollThumb(canvas, rect, total, scroll, scrollMax, colour);
}

}  // namespace

namespace {

bool IsHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }

// Where a piece of a line too long to lay out whole ends: after the last space in the second half
// of kTextPieceLength, else at that length (never between the halves of a surrogate pair).
size_t CutInsideLine(std::wstring_view text, size_t start) {
  const size_t end = start + kTextPieceLength;
  const size_t space = text.substr(start, kTextPieceLength).find_last_of(L' ');
  if (space != std::wstring_view::npos && space >= kTextPieceLength / 2) return start + space + 1;
  return IsHighSurrogate(text[end - 1]) ? end - 1 : end;
}

}  // namespace

std::vector<std::wstring_view> LinePieces(std::wstring_view text) {
  std::vector<std::wstring_view> pieces;
  // A feed may end a piece when text other than feeds comes before it in the piece.
  auto endsLine = [&](size_t start, size_t feed) {
    size_t last = feed;
    if (last > start && text[last - 1] == L'\r') --last;
    return last > start && text[last - 1] != L'\n';
  };
  size_t start = 0;
  while (start < text.size()) {
    if (text.size() - start <= kTextPieceLength) {
      pieces.push_back(text.substr(start));
      break;
    }
    // The last feed that ends a line within the piece's length, else the first one after it
    // within kLongTextLength.
    size_t cut = std::wstring_view::npos;
    for (size_t at = start + kTextPieceLength; at > start && cut == std::wstring_view::npos; --at) {
      if (text[at] == L'\n' && endsLine(start, at)) cut = at;
    }
    const size_t limit = std::min(text.size(), start + kLongTextLength);
    for (size_t at = start + kTextPieceLength; cut == std::wstring_view::npos && at < limit; ++at) {
      if (text[at] == L'\n' && endsLine(start, at)) cut = at;
    }
    if (cut == std::wstring_view::npos && limit == text.size()) {
      pieces.push_back(text.substr(start));  // the rest is one line short enough to lay out whole
      break;
    }
    if (cut == std::wstring_view::npos) {
      // A line longer than kLongTextLength (only a hostile reply has one) is laid out in pieces cut
      // at spaces: measuring and drawing it whole would hold the UI thread for seconds.
      const size_t end = CutInsideLine(text, start);
      pieces.push_back(text.substr(start, end - start));
      start = end;
      continue;
    }
    const size_t end = text[cut - 1] == L'\r' ? cut - 1 : cut;
    pieces.push_back(text.substr(start, end - start));
    start = cut + 1;
  }
  return pieces;
}

FontSpec PanelFont(float pixelSize, bool semibold) {
  return {semibold ? L"Segoe UI Semibold" : L"Segoe UI", pixelSize, kFontRegular};
}

void DrawTextBlock(Canvas& canvas, GlyphMeasurer& measurer, std::wstring_view text, const RectF& rect,
                   float fontSize, Argb colour, float& scroll, float& scrollMax, bool semibold) {
  if (rect.IsEmpty()) return;
  if (ContainsMath(text)) {
    DrawRichText(MathGraphics{canvas, measurer}, text, rect, fontSize, colour, semibold, scroll, scrollMax);
    return;
  }
  const FontSpec font = PanelFont(fontSize, semibold);
  if (text.size() > kLongTextLength) {
    DrawLongTextBlock(canvas, measurer, text, rect, font, colour, scroll, scrollMax);
    return;
  }
  float width = rect.width;
  SizeF size = measurer.MeasureWrapped(text, font, width);
  if (size.height > rect.height && width - kScrollThumbRoom > 0) {
    width -= kScrollThumbRoom;  // room for the thumb
    size = measurer.MeasureWrapped(text, font, width);
  }
  scrollMax = ClampScroll(scroll, size.height, rect.height);
  {
    canvas.PushClip(rect);
    CanvasStateScope clip(canvas);
    if (size.height > 0) canvas.DrawTextBox(text, font, colour, {rect.x, rect.y - scroll, width, size.height}, kWrapped);
  }
  DrawScrollThumb(canvas, rect, size.height, scroll, scrollMax, colour);
}
