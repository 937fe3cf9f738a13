// Wrapping measured tokens into lines. Tokens are made by hand with chosen widths so each case
// states the wrapping rules alone: s = 10, lines at most 100 wide, words 8 up and 2.8 down.
#include "math/rich_layout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "draw/fixed_measurer.h"

namespace {

RichToken Token(float width, const wchar_t* text = L"w", float ascent = 8, float descent = 2.8f) {
  RichToken token;
  token.text = text;
  token.width = width;
  token.ascent = ascent;
  token.descent = descent;
  return token;
}
RichToken Word(float width) { return Token(width); }
RichToken Space(float width) { return Token(width, L" "); }
RichToken Newline() {
  RichToken token = Token(0, L"");
  token.isNewline = true;
  return token;
}
RichToken Math(float width, float ascent, float descent, bool display = false) {
  RichToken token = Token(width, L"x", ascent, descent);
  token.isMath = true;
  token.display = display;
  return token;
}

// Tokens own their trees and cannot be copied, so lists are built by moving.
template <class... Tokens>
std::vector<RichToken> List(Tokens... tokens) {
  std::vector<RichToken> list;
  (list.push_back(std::move(tokens)), ...);
  return list;
}

RichLine Line(size_t first, size_t end, float width, float ascent = 8, float descent = 2.8f, bool centred = false) {
  return {first, end, width, ascent, descent, centred};
}

std::string Describe(const std::vector<RichLine>& lines) {
  std::string out;
  for (const RichLine& l : lines) {
    out += "[" + std::to_string(l.first) + "," + std::to_string(l.end) + ") w=" + std::to_string(l.width) +
           " a=" + std::to_string(l.ascent) + " d=" + std::to_string(l.descent) + (l.centered ? " centred\n" : "\n");
  }
  return out;
}

TEST(LayoutRichLines, Wrapping) {
  struct Case {
    const char* name;
    std::vector<RichToken> tokens;
    std::vector<RichLine> lines;
  };
  Case cases[] = {
      {"nothing", {}, {}},
      {"wraps before the word that overflows, without the space before it",
       List(Word(40), Space(5), Word(40), Space(5), Word(40)), {Line(0, 3, 85), Line(4, 5, 40)}},
      {"a line filled exactly does not wrap", List(Word(50), Word(50)), {Line(0, 2, 100)}},
      {"leading spaces are skipped", List(Space(5), Space(5), Word(10)), {Line(2, 3, 10)}},
      {"trailing spaces are dropped", List(Word(10), Space(5), Space(5)), {Line(0, 1, 10)}},
      {"a token wider than the line stands alone", List(Word(10), Space(5), Word(150), Space(5), Word(10)),
       {Line(0, 1, 10), Line(2, 3, 150), Line(4, 5, 10)}},
      {"two line breaks leave a blank line", List(Word(10), Newline(), Newline(), Word(10)),
       {Line(0, 1, 10), Line(2, 2, 0), Line(3, 4, 10)}},
      {"a lone line break is a blank line", List(Newline()), {Line(0, 0, 0)}},
      {"inline math raises its line", List(Word(10), Math(20, 15, 6)), {Line(0, 2, 30, 15, 6)}},
      {"math ends the trimming of trailing spaces", List(Word(10), Space(5), Math(20, 5, 2), Space(5), Space(5)),
       {Line(0, 3, 35)}},
      {"display math takes a centred line with 0.25·s above and below",
       List(Word(10), Space(5), Math(30, 12, 4, true), Space(5), Word(10)),
       {Line(0, 1, 10), Line(2, 3, 30, 14.5f, 6.5f, true), Line(4, 5, 10)}},
      {"display math is never wrapped", List(Math(300, 1, 1, true), Math(300, 1, 1, true)),
       {Line(0, 1, 300, 3.5f, 3.5f, true), Line(1, 2, 300, 3.5f, 3.5f, true)}},
  };
  for (const Case& c : cases) {
    const std::vector<RichLine> lines = LayoutRichLines(c.tokens, 100, 10, 8, 2.8f);
    EXPECT_EQ(lines, c.lines) << c.name << "\n" << Describe(lines);
  }
}

// Whole texts with the real splitter and the fixed measurer: at s = 10 a character is 5 wide.
TEST(LayOutRichText, SpacesAtLineEndsTakeNoWidth) {
  FixedAdvanceMeasurer measurer;
  const RichTextLayout padded = LayOutRichText(measurer, L"   hello   world   ", 200, 100, 10, false);
  ASSERT_EQ(padded.lines.size(), 1u);
  EXPECT_FLOAT_EQ(padded.lines[0].width, 25 + 5 + 25);
  const RichTextLayout wrapped = LayOutRichText(measurer, L"hello world", 50, 100, 10, false);
  ASSERT_EQ(wrapped.lines.size(), 2u) << Describe(wrapped.lines);
  EXPECT_FLOAT_EQ(wrapped.lines[0].width, 25);
  EXPECT_EQ(wrapped.tokens[wrapped.lines[1].first].text, L"world");
}

// Text taller than its block is laid out 7 narrower, for the thumb, unless the block is 20 wide or less.
TEST(LayOutRichText, RoomForTheThumb) {
  const struct {
    const wchar_t* text;
    float s, width, height;
    size_t lines;
  } cases[] = {
      {L"aaaa bbbb", 10, 45, 100, 1},  // fits
      {L"aaaa bbbb", 10, 45, 5, 2},    // too tall: 38 wide, so "bbbb" wraps
      {L"aaaa bbbbb", 4, 20, 1, 1},    // too narrow to give up room
      {L"aaaa bbbbb", 4, 21, 1, 2},
  };
  for (const auto& c : cases) {
    FixedAdvanceMeasurer measurer;
    const RichTextLayout layout = LayOutRichText(measurer, c.text, c.width, c.height, c.s, false);
    EXPECT_EQ(layout.lines.size(), c.lines) << c.width << " x " << c.height << "\n" << Describe(layout.lines);
  }
}

}  // namespace
