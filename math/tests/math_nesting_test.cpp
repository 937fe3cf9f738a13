// Hostile nesting must neither exhaust the stack nor lose the text: past the nesting bound the
// rest of the run is kept as upright text. Run natively under AddressSanitizer to catch overflows.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "math/math_parser.h"
#include "math/rich_text.h"
#include "math/tests/math_tree_text.h"

namespace {

int TreeDepth(const MathNode& node) {
  int deepest = 0;
  for (const MathNode& child : node.children) deepest = std::max(deepest, TreeDepth(child));
  for (const MathNode* child : {node.a.get(), node.b.get(), node.c.get()}) {
    if (child) deepest = std::max(deepest, TreeDepth(*child));
  }
  return deepest + 1;
}

// The first Text node found depth-first, or null.
const MathNode* FirstText(const MathNode& node) {
  if (node.kind == MathNodeKind::Text) return &node;
  for (const MathNode& child : node.children) {
    if (const MathNode* found = FirstText(child)) return found;
  }
  for (const MathNode* child : {node.a.get(), node.b.get(), node.c.get()}) {
    if (const MathNode* found = child ? FirstText(*child) : nullptr) return found;
  }
  return nullptr;
}

std::wstring Repeat(std::wstring_view piece, size_t times) {
  std::wstring out;
  out.reserve(piece.size() * times);
  for (size_t i = 0; i < times; ++i) out += piece;
  return out;
}

constexpr size_t kHostile = 100000;
// Every construct adds at most three tree levels per nesting level.
constexpr int kDepthBound = 3 * (kMaxMathNesting + 2);

}  // namespace

TEST(MathNesting, HostileInputsParseWithinTheBound) {
  const std::wstring inputs[] = {
      Repeat(L"{", kHostile),
      Repeat(L"{", kHostile) + Repeat(L"}", kHostile),
      Repeat(L"\\frac", kHostile),
      Repeat(L"\\frac{", kHostile),
      Repeat(L"\\binom", kHostile),
      Repeat(L"\\sqrt[", kHostile),
      Repeat(L"\\sqrt", kHostile),
      Repeat(L"\\vec", kHostile),
      Repeat(L"x^{", kHostile),
      Repeat(L"x_", kHostile),
      Repeat(L"\\left(", kHostile),
      Repeat(L"\\begin{pmatrix}", kHostile / 10),
      Repeat(L"\\displaystyle", kHostile),
      Repeat(L"\\big", kHostile) + L"x",
  };
  for (const std::wstring& input : inputs) {
    const MathNode tree = MathParser(input).ParseRow();
    EXPECT_LE(TreeDepth(tree), kDepthBound) << "input starting " << input.substr(0, 16);
  }
}

TEST(MathNesting, HostileRunInsideText) {
  const std::wstring text = L"Look: $" + Repeat(L"{", kHostile) + L"x$ done";
  const std::vector<RichToken> tokens = SplitRichText(text);
  ASSERT_EQ(tokens.size(), 5u);
  EXPECT_TRUE(tokens[2].isMath);
  EXPECT_LE(TreeDepth(tokens[2].tree), kDepthBound);
  EXPECT_EQ(tokens[4].text, L"done");
}

TEST(MathNesting, ReasonableNestingIsUntouched) {
  const size_t levels = kMaxMathNesting - 1;
  const std::wstring input = Repeat(L"{", levels) + L"x" + Repeat(L"}", levels) + L"+1";
  EXPECT_EQ(ParsedText(input), Repeat(L"[", levels + 1) + L"id:x" + Repeat(L"]", levels) + L" op:+ num:1]");
  EXPECT_EQ(FirstText(MathParser(input).ParseRow()), nullptr);
}

TEST(MathNesting, TheRestPastTheBoundIsKeptAsText) {
  const std::wstring tail = L"\\frac{a}{b}}}";
  const std::wstring input = Repeat(L"{", kMaxMathNesting + 5) + tail;
  const MathNode tree = MathParser(input).ParseRow();
  const MathNode* text = FirstText(tree);
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(text->text, L"{{{{{" + tail);

  const std::wstring fractions = Repeat(L"\\frac{1}{", 40) + L"2";
  const MathNode fractionTree = MathParser(fractions).ParseRow();
  const MathNode* rest = FirstText(fractionTree);
  ASSERT_NE(rest, nullptr);
  EXPECT_EQ(rest->text.substr(rest->text.size() - 10), L"\\frac{1}{2");
}
