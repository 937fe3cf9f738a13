#include <gtest/gtest.h>

#include "math/math_parser.h"
#include "math/tests/math_tree_text.h"

TEST(MathParser, FractionsAndBinomials) {
  EXPECT_EQ(ParsedText(L"\\frac{1}{2}"), L"[frac([num:1],[num:2])]");
  EXPECT_EQ(ParsedText(L"\\dfrac{a+b}{c}"), L"[frac([id:a op:+ id:b],[id:c])]");
  EXPECT_EQ(ParsedText(L"\\tfrac a b"), L"[frac(id:a,id:b)]");
  EXPECT_EQ(ParsedText(L"\\cfrac{1}"), L"[frac([num:1],[])]");
  EXPECT_EQ(ParsedText(L"\\binom{n}{k}"), L"[delim<(,)>(binom([id:n],[id:k]))]");
  EXPECT_EQ(ParsedText(L"\\frac{\\frac{1}{x}}{y}"), L"[frac([frac([num:1],[id:x])],[id:y])]");
}

TEST(MathParser, Radicals) {
  EXPECT_EQ(ParsedText(L"\\sqrt{x}"), L"[sqrt([id:x])]");
  EXPECT_EQ(ParsedText(L"\\sqrt [3]{x+1}"), L"[sqrt[[num:3]]([id:x op:+ num:1])]");
  EXPECT_EQ(ParsedText(L"\\sqrt 2"), L"[sqrt(num:2)]");
  EXPECT_EQ(ParsedText(L"\\sqrt"), L"[sqrt([])]");
  EXPECT_EQ(ParsedText(L"\\sqrt[n"), L"[sqrt[[id:n]]([])]");
}

TEST(MathParser, Scripts) {
  EXPECT_EQ(ParsedText(L"x^2"), L"[scripts(id:x,-,num:2)]");
  EXPECT_EQ(ParsedText(L"x_i^{n+1}"), L"[scripts(id:x,id:i,[id:n op:+ num:1])]");
  EXPECT_EQ(ParsedText(L"x _ 1 _ 2"), L"[scripts(id:x,num:2,-)]");
  EXPECT_EQ(ParsedText(L"x^2^3"), L"[scripts(id:x,-,num:3)]");
  EXPECT_EQ(ParsedText(L"e^"), L"[scripts(id:e,-,[])]");
  EXPECT_EQ(ParsedText(L"x^\\"), L"[scripts(id:x,-,[])]");
  EXPECT_EQ(ParsedText(L"{a}^b"), L"[scripts([id:a],-,id:b)]");
  EXPECT_EQ(ParsedText(L"f'(x)"), L"[id:f num:\u2032 num:( id:x num:)]");
}

TEST(MathParser, BigOperators) {
  EXPECT_EQ(ParsedText(L"\\sum_{i=1}^n"), L"[big:\u2211([id:i op:= num:1],id:n)]");
  EXPECT_EQ(ParsedText(L"\\int_0^1 x\\,dx"), L"[big:\u222B(num:0,num:1) id:x space:, id:d id:x]");
  EXPECT_EQ(ParsedText(L"\\lim_{x \\to 0}"), L"[big:lim([id:x op:\u2192 num:0],-)]");
  EXPECT_EQ(ParsedText(L"\\prod \\oint \\iint \\iiint"), L"[big:\u220F big:\u222E big:\u222C big:\u222D]");
  // \limits and \nolimits leave the scripts with the operator.
  EXPECT_EQ(ParsedText(L"\\sum\\limits_{i}"), L"[big:\u2211([id:i],-)]");
  EXPECT_EQ(ParsedText(L"\\int\\nolimits^{b}_{a}"), L"[big:\u222B([id:a],[id:b])]");
  // Elsewhere they are ignored, and a longer name is not mistaken for them.
  EXPECT_EQ(ParsedText(L"x\\limits y"), L"[id:x id:y]");
  EXPECT_EQ(ParsedText(L"\\sum\\limitsx"), L"[big:\u2211 text:limitsx]");
}

TEST(MathParser, LeftRightGroups) {
  EXPECT_EQ(ParsedText(L"\\left( \\frac{a}{b} \\right)"), L"[delim<(,)>([frac([id:a],[id:b])])]");
  EXPECT_EQ(ParsedText(L"\\left. x \\right|"), L"[delim<,|>([id:x])]");
  EXPECT_EQ(ParsedText(L"\\left( x"), L"[delim<(,>([id:x])]");
  EXPECT_EQ(ParsedText(L"\\left\\langle v \\right\\rangle"), L"[delim<\u27E8,\u27E9>([id:v])]");
  EXPECT_EQ(ParsedText(L"\\left\\{ x \\right\\}"), L"[delim<{,}>([id:x])]");
  EXPECT_EQ(ParsedText(L"\\left\\| x \\right\\Vert"), L"[delim<\u2016,\u2016>([id:x])]");
  EXPECT_EQ(ParsedText(L"\\left\\vert x \\right\\unknown"), L"[delim<|,>([id:x])]");
  // \rightarrow inside the group is an arrow, not the end of the group.
  EXPECT_EQ(ParsedText(L"\\left( a \\rightarrow b \\right) c"), L"[delim<(,)>([id:a op:\u2192 id:b]) id:c]");
  EXPECT_EQ(ParsedText(L"\\left("), L"[delim<(,>([])]");
  EXPECT_EQ(ParsedText(L"\\left[ a \\right."), L"[delim<[,>([id:a])]");
}

TEST(MathParser, Environments) {
  EXPECT_EQ(ParsedText(L"\\begin{pmatrix} 1 & 2 \\\\ 3 \\end{pmatrix}"),
            L"[matrix<(,)>2[[num:1];[num:2];[num:3];[]]]");
  EXPECT_EQ(ParsedText(L"\\begin{cases} a \\\\ b \\\\ \\end{cases}"), L"[matrix<{,>1[[id:a];[id:b]]]");
  EXPECT_EQ(ParsedText(L"\\begin{bmatrix}a&b\\end{bmatrix}x"), L"[matrix<[,]>2[[id:a];[id:b]] id:x]");
  EXPECT_EQ(ParsedText(L"\\begin{Bmatrix}a\\end{Bmatrix}"), L"[matrix<{,}>1[[id:a]]]");
  EXPECT_EQ(ParsedText(L"\\begin{vmatrix}a\\end{vmatrix}"), L"[matrix<|,|>1[[id:a]]]");
  EXPECT_EQ(ParsedText(L"\\begin{Vmatrix}a\\end{Vmatrix}"), L"[matrix<\u2016,\u2016>1[[id:a]]]");
  EXPECT_EQ(ParsedText(L"\\begin{aligned} x &= 1 \\\\ &= 2 \\end{aligned}"),
            L"[matrix<,>2[[id:x];[op:= num:1];[];[op:= num:2]]]");
  EXPECT_EQ(ParsedText(L"\\begin{pmatrix}\\end{pmatrix}"), L"[matrix<(,)>1[]]");
  // No end marker: the grid ends with the run.
  EXPECT_EQ(ParsedText(L"\\begin{pmatrix} a & b"), L"[matrix<(,)>2[[id:a];[id:b]]]");
  // Nested grids, and the inner end marker does not end the outer grid.
  EXPECT_EQ(ParsedText(L"\\begin{pmatrix}\\begin{pmatrix}a\\end{pmatrix}&b\\end{pmatrix}"),
            L"[matrix<(,)>2[[matrix<(,)>1[[id:a]]];[id:b]]]");
  EXPECT_EQ(ParsedText(L"\\begin{pmatrix} x^2_i \\end{pmatrix}"), L"[matrix<(,)>1[[scripts(id:x,id:i,num:2)]]]");
}

TEST(MathParser, SymbolsFunctionsAndUnknownCommands) {
  EXPECT_EQ(ParsedText(L"\\alpha + \\beta - \\Omega"), L"[id:\u03B1 op:+ id:\u03B2 op:\u2212 id:\u03A9]");
  EXPECT_EQ(ParsedText(L"a \\le b \\cdot c \\in S"), L"[id:a op:\u2264 id:b id:\u00B7 id:c op:\u2208 id:S]");
  EXPECT_EQ(ParsedText(L"\\sin x + \\log_2 y"), L"[text:sin id:x op:+ scripts(text:log,num:2,-) id:y]");
  EXPECT_EQ(ParsedText(L"\\foo"), L"[text:foo]");
  EXPECT_EQ(ParsedText(L"\\vec{v} \\hat x \\overline{AB}"), L"[vec([id:v]) hat(id:x) overline([id:A id:B])]");
  EXPECT_EQ(ParsedText(L"\\{ \\% \\}"), L"[id:{ id:% id:}]");
  EXPECT_EQ(ParsedText(L"a\\,b\\;c\\:d\\ e\\quad f\\qquad"),
            L"[id:a space:, id:b space:; id:c space:: id:d space:  id:e space:quad id:f space:qquad]");
  EXPECT_EQ(ParsedText(L"x\\"), L"[id:x]");
  EXPECT_EQ(ParsedText(L"\\displaystyle x"), ParsedText(L"x"));
  EXPECT_EQ(ParsedText(L"\\big( x \\Big)"), ParsedText(L"( x )"));
  EXPECT_EQ(ParsedText(L"\\displaystyle"), L"[]");
}

// A backslash before any blank is a control space named by that character, as before a space.
TEST(MathParser, ControlSpacesKeepTheBlankTheyName) {
  const struct {
    const wchar_t* source;
    const wchar_t* tree;
  } cases[] = {
      {L"a\\ b", L"[id:a space:  id:b]"},
      {L"a\\\tb", L"[id:a space:\t id:b]"},
      {L"a\\\nb", L"[id:a space:\n id:b]"},
      {L"a\\\rb", L"[id:a space:\r id:b]"},
      {L"a\\\r\nb", L"[id:a space:\r id:b]"},
      {L"a\\\u00A0b", L"[id:a space:\u00A0 id:b]"},
  };
  for (const auto& c : cases) EXPECT_EQ(ParsedText(c.source), c.tree) << c.source;
}

TEST(MathParser, TextCommands) {
  EXPECT_EQ(ParsedText(L"\\text{a \\$ b}"), L"[text:a $ b]");
  EXPECT_EQ(ParsedText(L"\\text{50\\% \\& \\#1 \\_x \\alpha}"), L"[text:50% & #1 _x \\alpha]");
  EXPECT_EQ(ParsedText(L"\\mathbb{R} \\mathbb{N}\\mathbb{Z}\\mathbb{Q}\\mathbb{C}"),
            L"[text:\u211D text:\u2115 text:\u2124 text:\u211A text:\u2102]");
  EXPECT_EQ(ParsedText(L"\\mathbb{RR} \\mathbb{x}"), L"[text:RR text:x]");
  EXPECT_EQ(ParsedText(L"\\mathrm{d}x \\operatorname{rank} A"), L"[text:d id:x text:rank id:A]");
  EXPECT_EQ(ParsedText(L"\\text{a {b} c} d"), L"[text:a {b} c id:d]");
  // An escaped brace inside the group does not close it.
  EXPECT_EQ(ParsedText(L"\\text{a\\}b} c"), L"[text:a\\}b id:c]");
  EXPECT_EQ(ParsedText(L"\\text{open"), L"[text:open]");
  EXPECT_EQ(ParsedText(L"\\text x"), L"[text: id:x]");
}

TEST(MathParser, NumbersOperatorsAndOtherCharacters) {
  EXPECT_EQ(ParsedText(L"3.14.15"), L"[num:3.14.15]");
  EXPECT_EQ(ParsedText(L".5"), L"[num:.5]");
  EXPECT_EQ(ParsedText(L"."), L"[num:.]");
  EXPECT_EQ(ParsedText(L"-x<y>z=1"), L"[op:\u2212 id:x op:< id:y op:> id:z op:= num:1]");
  EXPECT_EQ(ParsedText(L"|x|! / 2 * 3"), L"[num:| id:x num:| num:! num:/ num:2 num:* num:3]");
  EXPECT_EQ(ParsedText(L"   "), L"[]");
}

TEST(MathParser, StrayClosingBraces) {
  // Inside a group a stray brace ends the group; at the top level it is shown and parsing goes on.
  EXPECT_EQ(ParsedText(L"a}b"), L"[id:a num:} id:b]");
  EXPECT_EQ(ParsedText(L"{a}}b"), L"[[id:a] num:} id:b]");
  EXPECT_EQ(ParsedText(L"\\left( a } b \\right)"), L"[delim<(,>([id:a]) num:} id:b text:right num:)]");
  EXPECT_EQ(ParsedText(L"\\frac}{2}"), L"[frac(num:},[num:2])]");
}

TEST(MathParser, NonAsciiCharactersClassifyTheSameOnEveryBuild) {
  EXPECT_EQ(ParsedText(L"\u03C0r^2"), L"[id:\u03C0 scripts(id:r,-,num:2)]");
  EXPECT_EQ(ParsedText(L"x\u00B2"), L"[id:x num:\u00B2]");
  EXPECT_EQ(ParsedText(L"a\u00A0\u3000b"), L"[id:a id:b]");
  EXPECT_EQ(ParsedText(L"\u00E9\u00D7\u00F7"), L"[id:\u00E9 num:\u00D7 num:\u00F7]");
  // A character outside the basic plane is one atom, also where wchar_t is 16 bits.
  EXPECT_EQ(ParsedText(L"\U0001D465^2"), L"[scripts(id:\U0001D465,-,num:2)]");
  EXPECT_EQ(ParsedText(L"\U0001F600"), L"[num:\U0001F600]");
}
