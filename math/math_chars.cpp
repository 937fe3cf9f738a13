#include "math/math_chars.h"

#include <algorithm>
#include <iterator>

namespace {

struct Range {
  char32_t first;
  char32_t last;
};

bool InRanges(char32_t c, const Range* begin, const Range* end) {
  // Ranges are sorted and disjoint: find the first range whose end is not below c.
  const Range* r = std::lower_bound(begin, end, c, [](const Range& range, char32_t v) { return range.last < v; });
  return r != end && r->first <= c;
}

constexpr Range kLetters[] = {
    {U'A', U'Z'},          {U'a', U'z'},          {0x00AA, 0x00AA},      {0x00B5, 0x00B5},
    {0x00BA, 0x00BA},      {0x00C0, 0x00D6},      {0x00D8, 0x00F6},      {0x00F8, 0x02AF},
    {0x0370, 0x0373},      {0x0376, 0x0377},      {0x037B, 0x037D},      {0x037F, 0x037F},
    {0x0386, 0x0386},      {0x0388, 0x03F5},      {0x03F7, 0x0481},      {0x048A, 0x052F},
    {0x0531, 0x0556},      {0x0561, 0x0587},      {0x05D0, 0x05EA},      {0x0620, 0x064A},
    {0x1E00, 0x1FBC},      {0x3041, 0x3096},      {0x30A1, 0x30FA},      {0x3400, 0x4DBF},
    {0x4E00, 0x9FFF},      {0xAC00, 0xD7A3},      {0xFF21, 0xFF3A},      {0xFF41, 0xFF5A},
    {0x1D400, 0x1D6C0},    {0x1D6C2, 0x1D6DA},    {0x1D6DC, 0x1D6FA},    {0x1D6FC, 0x1D714},
    {0x1D716, 0x1D734},    {0x1D736, 0x1D74E},    {0x1D750, 0x1D76E},    {0x1D770, 0x1D788},
    {0x1D78A, 0x1D7A8},    {0x1D7AA, 0x1D7C2},    {0x1D7C4, 0x1D7CB},
};

constexpr Range kSpaces[] = {
    {0x0009, 0x000D}, {0x0020, 0x0020}, {0x0085, 0x0085}, {0x00A0, 0x00A0}, {0x1680, 0x1680},
    {0x2000, 0x200A}, {0x2028, 0x2029}, {0x202F, 0x202F}, {0x205F, 0x205F}, {0x3000, 0x3000},
};

bool IsHighSurrogate(char32_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool IsLowSurrogate(char32_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

}  // namespace

CodePoint CodePointAt(std::wstring_view text, size_t i) {
  const char32_t unit = static_cast<char32_t>(text[i]);
  // Only 16-bit wide strings hold surrogate pairs; 32-bit ones hold the code point itself.
  const bool sixteenBit = sizeof(wchar_t) == 2;
  if (sixteenBit && IsHighSurrogate(unit) && i + 1 < text.size()) {
    const char32_t low = static_cast<char32_t>(text[i + 1]);
    if (IsLowSurrogate(low)) return {0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00), 2};
  }
  return {unit, 1};
}

size_t CharLengthAt(std::wstring_view text, size_t i) { return CodePointAt(text, i).length; }

bool IsMathSpace(char32_t c) {
  if (c < 0x80) return c == U' ' || (c >= 0x09 && c <= 0x0D);
  return InRanges(c, std::begin(kSpaces), std::end(kSpaces));
}

bool IsMathDigit(char32_t c) { return c >= U'0' && c <= U'9'; }

bool IsMathLetter(char32_t c) { return InRanges(c, std::begin(kLetters), std::end(kLetters)); }

size_t LetterRunEnd(std::wstring_view text, size_t i) {
  while (i < text.size()) {
    const CodePoint cp = CodePointAt(text, i);
    if (!IsMathLetter(cp.value)) break;
    i += cp.length;
  }
  return i;
}
