#pragma once
// Character classification for math markup and rich text.
//
// The C library's wide classification differs between builds (the Windows runtime calls π a letter
// and ² a digit, glibc in the "C" locale knows only ASCII), so the math code classifies code points
// itself and both builds agree: digits are the ASCII digits; letters are the alphabetic characters
// of the common scripts (Latin, Greek, Cyrillic, Armenian, Hebrew, Arabic, kana, CJK, Hangul and
// the mathematical alphanumerics); whitespace is Unicode's White_Space set.
#include <cstddef>
#include <string_view>

struct CodePoint {
  char32_t value = 0;
  size_t length = 0;  // code units it occupies: 2 for a surrogate pair in 16-bit wchar_t
};

// The code point starting at `i` (which must be inside `text`). A lone surrogate stands for itself.
CodePoint CodePointAt(std::wstring_view text, size_t i);
// Code units of the character starting at `i`: 1, or 2 for a surrogate pair.
size_t CharLengthAt(std::wstring_view text, size_t i);

bool IsMathSpace(char32_t c);
bool IsMathDigit(char32_t c);
bool IsMathLetter(char32_t c);

// Index just after the run of letters starting at `i` (`i` itself when no letter is there).
size_t LetterRunEnd(std::wstring_view text, size_t i);
