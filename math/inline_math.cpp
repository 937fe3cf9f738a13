// Telling math dollars from money: ContainsMath, LooksLikeInlineMath and their helpers.
#include <algorithm>

#include "math/math_chars.h"
#include "math/math_symbols.h"
#include "math/rich_text.h"

namespace {

bool IsDifferential(std::wstring_view word) {
  return word == L"dx" || word == L"dy" || word == L"dz" || word == L"dt";
}

size_t CountCodePoints(std::wstring_view text) {
  size_t count = 0;
  for (size_t i = 0; i < text.size(); i += CharLengthAt(text, i)) ++count;
  return count;
}

bool IsSpaceAt(std::wstring_view text, size_t i) { return IsMathSpace(CodePointAt(text, i).value); }
bool IsLetterAt(std::wstring_view text, size_t i) { return IsMathLetter(CodePointAt(text, i).value); }

// A word that reads as prose rather than math: two or more letters, not a differential, not a
// function name.
bool IsPlainWord(std::wstring_view word) {
  return CountCodePoints(word) >= 2 && !IsDifferential(word) && !IsFunctionName(word);
}

size_t SkipSpaces(std::wstring_view text, size_t i) {
  while (i < text.size() && IsSpaceAt(text, i)) i += CharLengthAt(text, i);
  return i;
}

// Skips the balanced {...} group that starts at `i`; an unbalanced group runs to the end.
size_t SkipBalancedGroup(std::wstring_view text, size_t i) {
  int open = 0;
  for (; i < text.size(); ++i) {
    if (text[i] == L'{') ++open;
    if (text[i] == L'}' && --open == 0) return i + 1;
  }
  return i;
}

bool IsTextLikeCommand(std::wstring_view name) {
  return name == L"text" || name == L"textrm" || name == L"mathrm" || name == L"mathbf" || name == L"operatorname";
}

bool HasRejectedEdges(std::wstring_view text, std::wstring_view content, size_t close) {
  if (content.find(L'\n') != std::wstring_view::npos) return true;
  if (IsSpaceAt(content, 0) || IsMathSpace(static_cast<char32_t>(content.back()))) return true;
  if (std::wstring_view(L"\"'(,:;[{\u2013\u2014").find(content.back()) != std::wstring_view::npos) return true;
  return close + 1 < text.size() && IsMathDigit(text[close + 1]);
}

// "$5 apples$": an amount followed by a plain word.
bool IsAmountThenWord(std::wstring_view content) {
  size_t i = 0;
  while (i < content.size() && (IsMathDigit(content[i]) || content[i] == L',' || content[i] == L'.')) ++i;
  if (i == content.size() || !IsSpaceAt(content, i)) return false;
  i = SkipSpaces(content, i);
  const size_t end = LetterRunEnd(content, i);
  return end > i && IsPlainWord(content.substr(i, end - i));
}

// Rejects content holding two plain words in a row; commands and symbols in between reset the count.
bool ReadsAsMath(std::wstring_view content) {
  int plainWords = 0;
  size_t i = 0;
  while (i < content.size()) {
    if (content[i] == L'\\' && i + 1 < content.size() && IsLetterAt(content, i + 1)) {
      const size_t end = LetterRunEnd(content, i + 1);
      const std::wstring_view name = content.substr(i + 1, end - i - 1);
      i = end;
      if (IsTextLikeCommand(name)) {
        i = SkipSpaces(content, i);
        if (i < content.size() && content[i] == L'{') i = SkipBalancedGroup(content, i);
      }
      plainWords = 0;
    } else if (content[i] == L'\\') {
      i = std::min(content.size(), i + 1 + (i + 1 < content.size() ? CharLengthAt(content, i + 1) : 0));
      plainWords = 0;
    } else if (IsSpaceAt(content, i)) {
      i += CharLengthAt(content, i);
    } else if (IsLetterAt(content, i)) {
      const size_t end = LetterRunEnd(content, i);
      const std::wstring_view word = content.substr(i, end - i);
      i = end;
      plainWords = IsPlainWord(word) ? plainWords + 1 : 0;
      if (plainWords >= 2) return false;
    } else {
      i += CharLengthAt(content, i);
      plainWords = 0;
    }
  }
  return true;
}

}  // namespace

bool IsUnescapedAt(std::wstring_view text, size_t i) {
  size_t backslashes = 0;
  while (i > backslashes && text[i - 1 - backslashes] == L'\\') ++backslashes;
  return backslashes % 2 == 0;
}

std::optional<size_t> NextUnescapedDollar(std::wstring_view text, size_t from) {
  for (size_t i = text.find(L'$', from); i != std::wstring_view::npos; i = text.find(L'$', i + 1)) {
    if (IsUnescapedAt(text, i)) return i;
  }
  return std::nullopt;
}

bool LooksLikeInlineMath(std::wstring_view text, size_t open, std::optional<size_t> close) {
  if (!close || *close <= open + 1 || *close >= text.size()) return false;
  const std::wstring_view content = text.substr(open + 1, *close - open - 1);
  if (HasRejectedEdges(text, content, *close)) return false;
  if (IsMathDigit(content[0]) && IsAmountThenWord(content)) return false;
  return ReadsAsMath(content);
}

bool ContainsMath(std::wstring_view text) {
  for (std::wstring_view opener : {L"\\(", L"\\[", L"\\$"}) {
    if (text.find(opener) != std::wstring_view::npos) return true;
  }
  for (std::optional<size_t> i = NextUnescapedDollar(text, 0); i; i = NextUnescapedDollar(text, *i + 1)) {
    if (*i + 1 < text.size() && text[*i + 1] == L'$') {
      const size_t close = text.find(L"$$", *i + 2);
      if (close != std::wstring_view::npos && close > *i + 2) return true;
      continue;
    }
    if (LooksLikeInlineMath(text, *i, NextUnescapedDollar(text, *i + 1))) return true;
  }
  return false;
}
