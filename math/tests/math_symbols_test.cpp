#include <gtest/gtest.h>

#include <set>
#include <string>

#include "math/math_chars.h"
#include "math/math_symbols.h"

TEST(MathSymbols, TablesHaveTheirFixedSizesAndUniqueKeys) {
  EXPECT_EQ(MathSymbolTable().size(), 122u);
  EXPECT_EQ(MathFunctionNames().size(), 28u);
  EXPECT_EQ(MathOperatorSymbols().size(), 21u);
  std::set<std::wstring_view> names;
  for (const MathSymbolEntry& entry : MathSymbolTable()) {
    EXPECT_TRUE(names.insert(entry.name).second) << "duplicate name";
    EXPECT_EQ(LookupSymbol(entry.name), entry.symbol);
    EXPECT_FALSE(IsFunctionName(entry.name));
  }
  EXPECT_EQ(std::set<std::wstring_view>(MathFunctionNames().begin(), MathFunctionNames().end()).size(), 28u);
  EXPECT_EQ(std::set<std::wstring_view>(MathOperatorSymbols().begin(), MathOperatorSymbols().end()).size(), 21u);
}

TEST(MathSymbols, EveryOperatorSymbolIsReachable) {
  // Apart from the characters typed directly, each operator symbol is some command's symbol.
  std::set<std::wstring_view> symbols;
  for (const MathSymbolEntry& entry : MathSymbolTable()) symbols.insert(entry.symbol);
  for (std::wstring_view op : MathOperatorSymbols()) {
    if (op == L"=" || op == L"+" || op == L"\u2212" || op == L"<" || op == L">") continue;
    EXPECT_TRUE(symbols.count(op)) << "operator without a command";
  }
}

TEST(MathSymbols, LookupsAreExactAndCaseSensitive) {
  EXPECT_EQ(LookupSymbol(L"vartheta"), L"\u03D1");
  EXPECT_EQ(LookupSymbol(L"varpi"), L"\u03D6");
  EXPECT_EQ(LookupSymbol(L"Re"), L"\u211C");
  EXPECT_EQ(LookupSymbol(L"mapsto"), L"\u21A6");
  EXPECT_EQ(LookupSymbol(L"iff"), L"\u21D4");
  EXPECT_EQ(LookupSymbol(L"$"), L"$");
  EXPECT_EQ(LookupSymbol(L"re"), std::nullopt);
  EXPECT_EQ(LookupSymbol(L"Alpha"), std::nullopt);
  EXPECT_EQ(LookupSymbol(L"alph"), std::nullopt);
  EXPECT_EQ(LookupSymbol(L""), std::nullopt);
  EXPECT_TRUE(IsFunctionName(L"pmod"));
  EXPECT_FALSE(IsFunctionName(L"Sin"));
  EXPECT_FALSE(IsFunctionName(L"lim"));
  EXPECT_TRUE(IsOperatorSymbol(L"\u2212"));
  EXPECT_FALSE(IsOperatorSymbol(L"-"));
  EXPECT_FALSE(IsOperatorSymbol(L"\u00B7"));
  EXPECT_FALSE(IsOperatorSymbol(L"\u21A6"));
}

TEST(MathChars, ClassifyTheSameOnEveryBuild) {
  EXPECT_TRUE(IsMathLetter(U'\u03C0'));
  EXPECT_TRUE(IsMathLetter(U'\u00E9'));
  EXPECT_TRUE(IsMathLetter(U'\u0436'));
  EXPECT_TRUE(IsMathLetter(U'\u4E2D'));
  EXPECT_TRUE(IsMathLetter(U'\U0001D465'));
  EXPECT_FALSE(IsMathLetter(U'\u00D7'));
  EXPECT_FALSE(IsMathLetter(U'\u00F7'));
  EXPECT_FALSE(IsMathLetter(U'\u2211'));
  EXPECT_FALSE(IsMathLetter(U'1'));
  EXPECT_FALSE(IsMathDigit(U'\u00B2'));
  EXPECT_FALSE(IsMathDigit(U'\u0661'));
  EXPECT_TRUE(IsMathDigit(U'7'));
  EXPECT_TRUE(IsMathSpace(U'\u00A0'));
  EXPECT_TRUE(IsMathSpace(U'\u3000'));
  EXPECT_TRUE(IsMathSpace(U'\r'));
  EXPECT_FALSE(IsMathSpace(U'\u200B'));
  EXPECT_FALSE(IsMathSpace(U'x'));
}

TEST(MathChars, SurrogatePairsAreOneCharacter) {
  const std::wstring text = L"a\U0001D465b";
  const CodePoint x = CodePointAt(text, 1);
  EXPECT_EQ(x.value, U'\U0001D465');
  EXPECT_EQ(x.length, text.size() - 2);
  EXPECT_EQ(LetterRunEnd(text, 0), text.size());
  if constexpr (sizeof(wchar_t) == 2) {
    // A lone surrogate stands for itself.
    const std::wstring lone(1, static_cast<wchar_t>(0xD835));
    EXPECT_EQ(CodePointAt(lone, 0).length, 1u);
    EXPECT_EQ(CodePointAt(lone, 0).value, 0xD835u);
  }
}
