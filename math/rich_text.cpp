// Splitting a text into words, spaces, line breaks and parsed math runs.
#include <algorithm>
#include <string>

#include "math/math_chars.h"
#include "math/math_parser.h"
#include "math/rich_text.h"

namespace {

class RichTextSplitter {
 public:
  explicit RichTextSplitter(std::wstring_view text) : text_(text) { tokens_.reserve(text.size() / 4 + 1); }

  std::vector<RichToken> Split() {
    while (i_ < text_.size()) Step();
    FlushPending();
    return std::move(tokens_);
  }

 private:
  void Step() {
    const wchar_t c = text_[i_];
    const wchar_t next = i_ + 1 < text_.size() ? text_[i_ + 1] : L'\0';
    if (c == L'\\' && next == L'$') {
      pending_ += L'$';
      i_ += 2;
    } else if (c == L'$' && next == L'$' && IsUnescapedAt(text_, i_)) {
      TryDisplayDollars();
    } else if (c == L'$' && IsUnescapedAt(text_, i_)) {
      TryInlineDollar();
    } else if (c == L'\\' && (next == L'(' || next == L'[')) {
      TryBracketed(next == L'[');
    } else {
      pending_ += c;
      ++i_;
    }
  }

  void TryDisplayDollars() {
    const std::optional<size_t> close = FindClosingDollars(i_ + 2);
    if (close && *close > i_ + 2) {
      EmitMath(i_ + 2, *close, true);
      i_ = *close + 2;
    } else {
      pending_ += L'$';
      ++i_;
    }
  }

  // The next "$$" from `from` that is not escaped; an escaped candidate is passed over whole.
  std::optional<size_t> FindClosingDollars(size_t from) const {
    for (size_t j = text_.find(L"$$", from); j != std::wstring_view::npos; j = text_.find(L"$$", j + 2)) {
      if (IsUnescapedAt(text_, j)) return j;
    }
    return std::nullopt;
  }

  void TryInlineDollar() {
    const std::optional<size_t> close = NextUnescapedDollar(text_, i_ + 1);
    if (LooksLikeInlineMath(text_, i_, close)) {
      EmitMath(i_ + 1, *close, false);
      i_ = *close + 1;
    } else {
      pending_ += L'$';
      ++i_;
    }
  }

  // \( ... \) and \[ ... \]. Once a closer is known to be missing after some position, it is
  // missing after every later one, so a text full of openers stays linear.
  void TryBracketed(bool display) {
    const std::wstring_view closer = display ? L"\\]" : L"\\)";
    size_t& missingFrom = display ? bracketCloserMissingFrom_ : parenCloserMissingFrom_;
    const size_t close = i_ + 2 >= missingFrom ? std::wstring_view::npos : text_.find(closer, i_ + 2);
    if (close == std::wstring_view::npos) missingFrom = std::min(missingFrom, i_ + 2);
    if (close != std::wstring_view::npos && close > i_ + 2) {
      EmitMath(i_ + 2, close, display);
      i_ = close + 2;
    } else {
      pending_ += L'\\';
      ++i_;
    }
  }

  void EmitMath(size_t begin, size_t end, bool display) {
    FlushPending();
    RichToken token;
    token.isMath = true;
    token.display = display;
    token.text = std::wstring(text_.substr(begin, end - begin));
    token.tree = MathParser(token.text).ParseRow();
    tokens_.push_back(std::move(token));
  }

  // Carriage returns vanish; a line feed is a line break; other blanks collapse to one " ".
  void FlushPending() {
    std::erase(pending_, L'\r');
    std::wstring_view text = pending_;
    size_t i = 0;
    while (i < text.size()) {
      const wchar_t c = text[i];
      if (c == L'\n') {
        RichToken newline;
        newline.isNewline = true;
        tokens_.push_back(std::move(newline));
        ++i;
      } else if (IsMathSpace(static_cast<char32_t>(c))) {
        while (i < text.size() && text[i] != L'\n' && IsMathSpace(static_cast<char32_t>(text[i]))) ++i;
        PushWord(L" ");
      } else {
        const size_t start = i;
        while (i < text.size() && !IsMathSpace(static_cast<char32_t>(text[i]))) ++i;
        PushWord(text.substr(start, i - start));
      }
    }
    pending_.clear();
  }

  void PushWord(std::wstring_view word) {
    RichToken token;
    token.text = std::wstring(word);
    tokens_.push_back(std::move(token));
  }

  std::wstring_view text_;
  size_t i_ = 0;
  std::wstring pending_;
  std::vector<RichToken> tokens_;
  size_t parenCloserMissingFrom_ = std::wstring_view::npos;
  size_t bracketCloserMissingFrom_ = std::wstring_view::npos;
};

}  // namespace

std::vector<RichToken> SplitRichText(std::wstring_view text) { return RichTextSplitter(text).Split(); }
