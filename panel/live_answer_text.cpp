#include "panel/live_answer_text.h"

#include <cwctype>
#include <optional>

#include "math/rich_text.h"

namespace {

// `text` up to `cut`, then the rest with its dollars escaped, so that no math is read in it.
std::wstring PlainFrom(std::wstring_view text, size_t cut) {
  std::wstring shown(text.substr(0, cut));
  for (size_t i = cut; i < text.size(); ++i) {
    if (text[i] == L'$' && IsUnescapedAt(text, i)) shown += L'\\';
    shown += text[i];
  }
  return shown;
}

std::optional<size_t> ClosingDollars(std::wstring_view text, size_t from) {
  for (size_t j = text.find(L"$$", from); j != std::wstring_view::npos; j = text.find(L"$$", j + 2)) {
    if (IsUnescapedAt(text, j)) return j;
  }
  return std::nullopt;
}

// Where the first run starts whose reading is not settled yet; npos when every run is.
// Walks the text the way the rich-text reader does.
size_t FirstOpenRun(std::wstring_view text) {
  size_t i = 0;
  while (i < text.size()) {
    const wchar_t c = text[i];
    const wchar_t next = i + 1 < text.size() ? text[i + 1] : L'\0';
    if (c == L'\\' && next == L'$') {
      i += 2;
    } else if (c == L'$' && next == L'$' && IsUnescapedAt(text, i)) {
      const std::optional<size_t> close = ClosingDollars(text, i + 2);
      if (!close || *close == i + 2) return i;
      i = *close + 2;
    } else if (c == L'$' && IsUnescapedAt(text, i)) {
      const std::optional<size_t> close = NextUnescapedDollar(text, i + 1);
      if (close && *close + 1 == text.size()) {
        // Math unless a digit follows: wait for the next character.
        if (LooksLikeInlineMath(std::wstring(text) + L' ', i, close)) return i;
        ++i;
      } else {
        i = LooksLikeInlineMath(text, i, close) ? *close + 1 : i + 1;
      }
    } else if (c == L'\\' && (next == L'(' || next == L'[')) {
      const size_t close = text.find(next == L'(' ? L"\\)" : L"\\]", i + 2);
      if (close == std::wstring_view::npos || close == i + 2) return i;
      i = close + 2;
    } else {
      ++i;
    }
  }
  return std::wstring_view::npos;
}

}  // namespace

std::wstring LiveDisplayText(std::wstring_view text) {
  const size_t open = FirstOpenRun(text);
  return open == std::wstring_view::npos ? std::wstring(text) : PlainFrom(text, open);
}

bool LiveAnswerShows(QueryKind kind, std::wstring_view answer, std::wstring_view explanation) {
  if (answer.empty()) return false;
  if (!IsScreenKind(kind) || !explanation.empty() || answer.size() > 4) return true;
  constexpr std::wstring_view kNone = L"none";
  for (size_t i = 0; i < answer.size(); ++i) {
    if (static_cast<wchar_t>(std::towlower(answer[i])) != kNone[i]) return true;
  }
  return false;  // "n", "no", "non" or "none", in any case
}
