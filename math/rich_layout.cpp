#include "math/rich_layout.h"

#include <algorithm>
#include <optional>

#include "math/math_glyphs.h"
#include "math/math_layout.h"
#include "math/rich_text.h"
#include "math/text_scroll.h"

namespace {

// Blocks this narrow keep their whole width even when their text does not fit.
constexpr float kNarrowBlockWidth = 20;

// Builds lines one token at a time.
class LineBuilder {
 public:
  LineBuilder(std::span<const RichToken> tokens, float s, float defaultAscent, float defaultDescent)
      : tokens_(tokens), s_(s), defaultAscent_(defaultAscent), defaultDescent_(defaultDescent) {}

  void LineBreak(size_t i) {
    if (open_) {
      Flush();
    } else {
      lines_.push_back({i, i, 0, defaultAscent_, defaultDescent_, false});
    }
  }

  void DisplayMath(size_t i) {
    if (open_) Flush();
    const RichToken& token = tokens_[i];
    lines_.push_back({i, i + 1, token.width, token.ascent + 0.25f * s_, token.descent + 0.25f * s_, true});
  }

  void Flow(size_t i, float maxWidth) {
    const RichToken& token = tokens_[i];
    if (open_ && line_.width + token.width > maxWidth) Flush();
    if (!open_ && IsRichSpace(token)) return;
    if (!open_) {
      open_ = true;
      line_ = {i, i, 0, defaultAscent_, defaultDescent_, false};
    }
    line_.end = i + 1;
    line_.width += token.width;
    line_.ascent = std::max(line_.ascent, token.ascent);
    line_.descent = std::max(line_.descent, token.descent);
  }

  std::vector<RichLine> Finish() {
    if (open_) Flush();
    return std::move(lines_);
  }

 private:
  // Closes the open line without the spaces at its end.
  void Flush() {
    while (line_.end > line_.first && IsRichSpace(tokens_[line_.end - 1])) {
      --line_.end;
      line_.width -= tokens_[line_.end].width;
    }
    lines_.push_back(line_);
    open_ = false;
  }

  std::span<const RichToken> tokens_;
  float s_;
  float defaultAscent_;
  float defaultDescent_;
  bool open_ = false;
  RichLine line_;
  std::vector<RichLine> lines_;
};

float LinesHeight(const std::vector<RichLine>& lines, float gap) {
  float height = 0;
  for (const RichLine& line : lines) height += line.ascent + line.descent;
  if (!lines.empty()) height += gap * float(lines.size() - 1);
  return height;
}

}  // namespace

FontSpec RichWordFont(float s, bool bold) {
  return FontSpec{bold ? L"Segoe UI Semibold" : L"Segoe UI", s, kFontRegular};
}

float RichMathSize(const RichToken& token, float s) {
  return s * (token.display ? kDisplayMathScale : kInlineMathScale);
}

bool IsRichSpace(const RichToken& token) { return !token.isMath && !token.isNewline && token.text == L" "; }

void MeasureRichTokens(GlyphMeasurer& measurer, std::span<RichToken> tokens, float s, bool bold) {
  const FontSpec wordFont = RichWordFont(s, bold);
  const float defaultAscent = kRichWordAscent * s;
  const float defaultDescent = kRichWordDescent * s;
  std::optional<SizeF> space;  // every space token is the same single blank
  for (RichToken& token : tokens) {
    if (token.isNewline) continue;
    if (token.isMath) {
      MeasureMathNode(measurer, token.tree, RichMathSize(token, s), bold);
      token.width = token.tree.width;
      token.ascent = token.tree.ascent;
      token.descent = token.tree.descent;
      token.inkAbove = token.tree.ink.above;
      token.inkBelow = token.tree.ink.below;
      continue;
    }
    SizeF glyphs;
    if (IsRichSpace(token)) {
      if (!space) space = MeasureGlyphs(measurer, token.text, wordFont);
      glyphs = *space;
    } else {
      glyphs = MeasureGlyphs(measurer, token.text, wordFont);
    }
    token.width = glyphs.width;
    token.ascent = defaultAscent;
    token.descent = defaultDescent;
    // Words hang from defaultAscent above the baseline, as high as their font's line.
    token.inkAbove = defaultAscent;
    token.inkBelow = std::max(defaultDescent, glyphs.height - defaultAscent);
  }
}

std::vector<RichLine> LayoutRichLines(std::span<const RichToken> tokens, float maxWidth, float s,
                                      float defaultAscent, float defaultDescent) {
  LineBuilder builder(tokens, s, defaultAscent, defaultDescent);
  for (size_t i = 0; i < tokens.size(); ++i) {
    const RichToken& token = tokens[i];
    if (token.isNewline) {
      builder.LineBreak(i);
    } else if (token.isMath && token.display) {
      builder.DisplayMath(i);
    } else {
      builder.Flow(i, maxWidth);
    }
  }
  return builder.Finish();
}

std::vector<RichLineInk> RichLinesInk(std::span<const RichToken> tokens, std::span<const RichLine> lines) {
  std::vector<RichLineInk> ink;
  ink.reserve(lines.size());
  for (const RichLine& line : lines) {
    RichLineInk reach;
    for (size_t i = line.first; i < line.end; ++i) {
      reach.above = std::max(reach.above, tokens[i].inkAbove);
      reach.below = std::max(reach.below, tokens[i].inkBelow);
    }
    ink.push_back(reach);
  }
  return ink;
}

RichTextLayout LayOutRichText(GlyphMeasurer& measurer, std::wstring_view text, float width, float height, float s,
                              bool bold) {
  RichTextLayout layout;
  layout.tokens = SplitRichText(text);
  layout.s = s;
  layout.defaultAscent = kRichWordAscent * s;
  layout.defaultDescent = kRichWordDescent * s;
  layout.lineGap = kRichLineGap * s;
  MeasureRichTokens(measurer, layout.tokens, s, bold);
  layout.lines = LayoutRichLines(layout.tokens, width, s, layout.defaultAscent, layout.defaultDescent);
  layout.height = LinesHeight(layout.lines, layout.lineGap);
  if (layout.height > height && width > kNarrowBlockWidth) {
    layout.lines =
        LayoutRichLines(layout.tokens, width - kScrollThumbRoom, s, layout.defaultAscent, layout.defaultDescent);
    layout.height = LinesHeight(layout.lines, layout.lineGap);
  }
  layout.lineInk = RichLinesInk(layout.tokens, layout.lines);
  for (size_t i = 0; i < layout.lines.size(); ++i) {
    layout.inkOverhang = std::max(layout.inkOverhang, layout.lineInk[i].above - layout.lines[i].ascent);
  }
  return layout;
}
