#include "core/utf.h"

#include <gtest/gtest.h>

#include <string>

namespace {
// U+1F600 as wide text on this platform.
std::wstring GrinningFace() {
  if (sizeof(wchar_t) == 2) return std::wstring{static_cast<wchar_t>(0xD83D), static_cast<wchar_t>(0xDE00)};
  return std::wstring(1, static_cast<wchar_t>(0x1F600));
}
const std::wstring kReplacement(1, static_cast<wchar_t>(0xFFFD));
}  // namespace

TEST(Utf, RoundTripsAllPlanes) {
  const std::string utf8 = "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80z";
  const std::wstring wide = L"a\u00e9\u20ac" + GrinningFace() + L"z";
  EXPECT_EQ(Utf8ToWide(utf8), wide);
  EXPECT_EQ(WideToUtf8(wide), utf8);
  EXPECT_EQ(Utf8ToWide(""), L"");
  EXPECT_EQ(WideToUtf8(L""), "");
  EXPECT_EQ(Utf8ToWide(std::string("\0x", 2)), std::wstring(L"\0x", 2));
}

TEST(Utf, MalformedUtf8BecomesReplacementCharacters) {
  EXPECT_EQ(Utf8ToWide("a\xFF" "b"), L"a" + kReplacement + L"b");
  EXPECT_EQ(Utf8ToWide("\xC3"), kReplacement);                          // cut at the end
  EXPECT_EQ(Utf8ToWide("\xE2\x82" "x"), kReplacement + L"x");           // cut before an ASCII byte
  EXPECT_EQ(Utf8ToWide("\xC0\xAF"), kReplacement + kReplacement);       // overlong slash
  EXPECT_EQ(Utf8ToWide("\xED\xA0\x80"), kReplacement + kReplacement + kReplacement);  // surrogate
  EXPECT_EQ(Utf8ToWide("\xF4\x90\x80\x80").size(), 4u);                // above U+10FFFF
  EXPECT_EQ(Utf8ToWide("\x80\x80"), kReplacement + kReplacement);
}

TEST(Utf, UnpairedSurrogatesBecomeReplacementCharacters) {
  const std::string replacement = "\xEF\xBF\xBD";
  EXPECT_EQ(WideToUtf8(std::wstring{static_cast<wchar_t>(0xD800), L'a'}), replacement + "a");
  EXPECT_EQ(WideToUtf8(std::wstring{L'a', static_cast<wchar_t>(0xDC00)}), "a" + replacement);
  EXPECT_EQ(WideToUtf8(std::wstring(1, static_cast<wchar_t>(0xDBFF))), replacement);
}

TEST(Utf, AppendUtf8CoversEveryLength) {
  std::string out;
  for (char32_t cp : {U'\x7f', U'\x80', U'\x7ff', U'\x800', U'\xffff', U'\x10000', U'\x10ffff'}) AppendUtf8(out, cp);
  EXPECT_EQ(out, "\x7f\xC2\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF\xF0\x90\x80\x80\xF4\x8F\xBF\xBF");
}
