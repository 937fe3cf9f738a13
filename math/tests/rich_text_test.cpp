#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "math/rich_text.h"
#include "math/tests/math_tree_text.h"

namespace {

// Tokens in one line: words as they are, spaces as "_", line breaks as "/", math runs as
// "$tree$" (inline) or "$$tree$$" (display).
std::wstring TokensText(std::wstring_view text) {
  std::wstring out;
  for (const RichToken& token : SplitRichText(text)) {
    if (!out.empty()) out += L"|";
    if (token.isNewline) {
      out += L"/";
    } else if (token.isMath) {
      const wchar_t* fence = token.display ? L"$$" : L"$";
      out += fence + TreeText(token.tree) + fence;
    } else {
      out += token.text == L" " ? L"_" : token.text;
    }
  }
  return out;
}

bool Inline(std::wstring_view text) {
  const size_t open = text.find(L'$');
  return LooksLikeInlineMath(text, open, NextUnescapedDollar(text, open + 1));
}

}  // namespace

TEST(SplitRichText, WordsSpacesAndInlineMath) {
  EXPECT_EQ(TokensText(L"The answer is $x^2$."), L"The|_|answer|_|is|_|$[scripts(id:x,-,num:2)]$|.");
  const std::vector<RichToken> tokens = SplitRichText(L"so $a+b$");
  ASSERT_EQ(tokens.size(), 3u);
  EXPECT_TRUE(tokens[2].isMath);
  EXPECT_FALSE(tokens[2].display);
  EXPECT_EQ(tokens[2].text, L"a+b");
}

TEST(SplitRichText, LineBreaksAndBlanks) {
  EXPECT_EQ(TokensText(L"a\nb"), L"a|/|b");
  EXPECT_EQ(TokensText(L"a\r\nb\r"), L"a|/|b");
  EXPECT_EQ(TokensText(L"a \t  b"), L"a|_|b");
  EXPECT_EQ(TokensText(L" a \n\n b "), L"_|a|_|/|/|_|b|_");
  EXPECT_EQ(TokensText(L"a\u00A0b"), L"a|_|b");
  EXPECT_EQ(TokensText(L""), L"");
}

TEST(SplitRichText, MoneyStaysText) {
  EXPECT_EQ(TokensText(L"It costs $5 and $10 more"), L"It|_|costs|_|$5|_|and|_|$10|_|more");
  EXPECT_EQ(TokensText(L"Price: $5"), L"Price:|_|$5");
  EXPECT_EQ(TokensText(L"\\$5"), L"$5");
  EXPECT_EQ(TokensText(L"$$$$"), L"$$$$");
  // Amounts and math in one answer.
  EXPECT_EQ(TokensText(L"A pen costs $5 and a book $10, so \\(x=15\\)."),
            L"A|_|pen|_|costs|_|$5|_|and|_|a|_|book|_|$10,|_|so|_|$[id:x op:= num:15]$|.");
  EXPECT_EQ(TokensText(L"$\\$5 + x$"), L"$[id:$ num:5 op:+ id:x]$");
}

TEST(SplitRichText, DisplayAndBracketedRuns) {
  EXPECT_EQ(TokensText(L"$$\\frac{1}{2}$$"), L"$$[frac([num:1],[num:2])]$$");
  EXPECT_EQ(TokensText(L"Area \\(\\pi r\\) and \\[E=mc^2\\] done"),
            L"Area|_|$[id:\u03C0 id:r]$|_|and|_|$$[id:E op:= id:m scripts(id:c,-,num:2)]$$|_|done");
  EXPECT_EQ(TokensText(L"a\\(b"), L"a\\(b");
  EXPECT_EQ(TokensText(L"\\(\\) \\[\\]"), L"\\(\\)|_|\\[\\]");
  EXPECT_EQ(TokensText(L"$$x"), L"$$x");
  // An escaped "$$" inside a display run does not close it.
  const std::vector<RichToken> tokens = SplitRichText(L"$$a\\$$b$$");
  ASSERT_EQ(tokens.size(), 1u);
  EXPECT_TRUE(tokens[0].display);
  EXPECT_EQ(tokens[0].text, L"a\\$$b");
}

TEST(SplitRichText, MathRunNextToText) {
  EXPECT_EQ(TokensText(L"($x$)"), L"(|$[id:x]$|)");
  EXPECT_EQ(TokensText(L"$a$ and $b$"), L"$[id:a]$|_|and|_|$[id:b]$");
  EXPECT_EQ(TokensText(L"x\n$$y$$\nz"), L"x|/|$$[id:y]$$|/|z");
}

TEST(LooksLikeInlineMath, AcceptsMath) {
  EXPECT_TRUE(Inline(L"$x = 5$"));
  EXPECT_TRUE(Inline(L"$\\text{cost per item} = 5$"));
  EXPECT_TRUE(Inline(L"$5,000.50$"));
  EXPECT_TRUE(Inline(L"$3 \\sin x$"));
  EXPECT_TRUE(Inline(L"$2 dx$"));
  EXPECT_TRUE(Inline(L"$2 sin$"));
  EXPECT_TRUE(Inline(L"$f of x$"));
  EXPECT_TRUE(Inline(L"$\\alpha beta$"));
  EXPECT_TRUE(Inline(L"$x$."));
}

TEST(LooksLikeInlineMath, RejectsMoneyAndProse) {
  EXPECT_FALSE(Inline(L"$5 each and $"));
  EXPECT_FALSE(Inline(L"$5 apples$"));
  EXPECT_FALSE(Inline(L"$x is the value$"));
  EXPECT_FALSE(Inline(L"$ x$"));
  EXPECT_FALSE(Inline(L"$x$5"));
  EXPECT_FALSE(Inline(L"$$"));
  EXPECT_FALSE(Inline(L"$x"));
  EXPECT_FALSE(Inline(L"$a\nb$"));
  for (const wchar_t* ending : {L"\"", L"'", L"(", L",", L":", L";", L"[", L"{", L"\u2013", L"\u2014"}) {
    EXPECT_FALSE(Inline(std::wstring(L"$a") + ending + L"$")) << "content ending in " << ending;
  }
  // The reader of plain words sees letters outside ASCII too.
  EXPECT_FALSE(Inline(L"$5 \u00E9l\u00E8ves$"));
  EXPECT_FALSE(Inline(L"$x \u00E9t\u00E9 caf\u00E9$"));
}

TEST(ContainsMath, DecidesTheRichPath) {
  EXPECT_TRUE(ContainsMath(L"The answer is $x^2$."));
  EXPECT_FALSE(ContainsMath(L"It costs $5 and $10 more"));
  EXPECT_TRUE(ContainsMath(L"\\$5"));
  EXPECT_TRUE(ContainsMath(L"a \\( b"));
  EXPECT_TRUE(ContainsMath(L"a \\[ b"));
  EXPECT_TRUE(ContainsMath(L"$$\\frac{1}{2}$$"));
  EXPECT_FALSE(ContainsMath(L"$$$$"));
  EXPECT_FALSE(ContainsMath(L"$$x"));
  EXPECT_FALSE(ContainsMath(L"no math at all"));
  EXPECT_FALSE(ContainsMath(L""));
  // The second dollar of a pair is still tried on its own.
  EXPECT_TRUE(ContainsMath(L"$$x$"));
}

TEST(NextUnescapedDollar, SkipsOddBackslashRuns) {
  EXPECT_EQ(NextUnescapedDollar(L"a\\$b$", 0), 4u);
  EXPECT_EQ(NextUnescapedDollar(L"\\\\$", 0), 2u);
  EXPECT_EQ(NextUnescapedDollar(L"\\\\\\$", 0), std::nullopt);
  EXPECT_EQ(NextUnescapedDollar(L"$a$", 1), 2u);
  EXPECT_EQ(NextUnescapedDollar(L"$", 1), std::nullopt);
  EXPECT_EQ(NextUnescapedDollar(L"", 0), std::nullopt);
}
