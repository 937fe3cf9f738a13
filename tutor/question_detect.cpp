#include "tutor/question_detect.h"

#include <array>
#include <string>

#include "core/wide_text.h"

namespace {

constexpr std::size_t kMinQuestionLength = 15;  // UTF-16 code units
constexpr int kQuestionScore = 2;
constexpr int kKeywordCap = 2;

// Matched as plain substrings of the lower-cased text; note the blank after "question".
constexpr std::array<std::wstring_view, 18> kQuestionPhrases = {
    L"which of the following", L"true or false", L"select the",   L"choose the",
    L"multiple choice",        L"question ",     L"evaluate the", L"solve for",
    L"solve the",              L"find the",      L"calculate the", L"compute the",
    L"determine the",          L"what is the",   L"what are the", L"which statement",
    L"how many",               L"how much"};

constexpr std::array<std::wstring_view, 16> kSubjectKeywords = {
    L"evaluate",    L"calculate",    L"solve",        L"integral",      L"derivative", L"equation",
    L"dx",          L"dy",           L"probability",  L"variance",      L"depreciation",
    L"journal entry", L"balance sheet", L"present value", L"discount rate", L"wacc"};

// The length in UTF-16 code units; wide characters are UTF-32 off Windows, where a character
// beyond U+FFFF takes two units.
template <class Char>
std::size_t Utf16Length(std::basic_string_view<Char> text) {
  std::size_t units = text.size();
  if constexpr (sizeof(Char) > 2) {
    for (Char c : text) units += static_cast<char32_t>(c) > 0xFFFF ? 1 : 0;
  }
  return units;
}

bool IsOptionLetter(wchar_t c) { return c >= L'a' && c <= L'd'; }
bool IsMarkerLead(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'-' || c == L'\u2022'; }
bool IsMarkerGap(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r'; }

// The option letter that `line` starts with ("(a)", "[b]", "c)", "d." before a blank or the end),
// or 0.
wchar_t OptionMarker(std::wstring_view line) {
  std::size_t start = 0;
  while (start < line.size() && IsMarkerLead(line[start])) ++start;
  const std::wstring_view rest = line.substr(start);
  if (rest.size() < 2) return 0;
  const wchar_t c = rest[0];
  const wchar_t c2 = rest[1];
  if ((c == L'(' || c == L'[') && rest.size() >= 3 && IsOptionLetter(c2) &&
      rest[2] == (c == L'(' ? L')' : L']')) {
    return c2;
  }
  if (IsOptionLetter(c) && (c2 == L'.' || c2 == L')') && (rest.size() == 2 || IsMarkerGap(rest[2]))) {
    return c;
  }
  return 0;
}

int DistinctOptionMarkers(std::wstring_view text) {
  bool marked[4] = {};
  std::size_t lineStart = 0;
  while (lineStart <= text.size()) {
    std::size_t lineEnd = text.find(L'\n', lineStart);
    if (lineEnd == std::wstring_view::npos) lineEnd = text.size();
    if (const wchar_t letter = OptionMarker(text.substr(lineStart, lineEnd - lineStart))) {
      marked[letter - L'a'] = true;
    }
    lineStart = lineEnd + 1;
  }
  return marked[0] + marked[1] + marked[2] + marked[3];
}

template <std::size_t N>
int CountContained(std::wstring_view text, const std::array<std::wstring_view, N>& table, int cap) {
  int count = 0;
  for (std::wstring_view entry : table) {
    if (count >= cap) break;
    if (text.find(entry) != std::wstring_view::npos) ++count;
  }
  return count;
}

}  // namespace

bool LooksLikeQuestion(std::wstring_view text) {
  if (text.size() < kMinQuestionLength && Utf16Length(text) < kMinQuestionLength) return false;
  std::wstring lower(text);
  for (wchar_t& c : lower) c = AsciiLowerWide(c);

  const bool hasOptions = DistinctOptionMarkers(lower) >= 2;
  const bool hasQuestionMark = lower.find(L'?') != std::wstring::npos;
  int score = hasQuestionMark ? (hasOptions ? 3 : 1) : (hasOptions ? 2 : 0);
  score += 2 * CountContained(lower, kQuestionPhrases, 1);
  score += CountContained(lower, kSubjectKeywords, kKeywordCap);
  return score >= kQuestionScore;
}
