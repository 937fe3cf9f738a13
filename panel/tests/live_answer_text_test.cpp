#include "panel/live_answer_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "math/rich_text.h"

namespace {

// The math runs a text shows, each as "$source" or "$$source" (display).
std::vector<std::wstring> MathRuns(const std::wstring& text) {
  std::vector<std::wstring> runs;
  for (const RichToken& token : SplitRichText(text)) {
    if (token.isMath) runs.push_back((token.display ? L"$$" : L"$") + token.text);
  }
  return runs;
}

bool StartsWith(const std::vector<std::wstring>& longer, const std::vector<std::wstring>& shorter) {
  return shorter.size() <= longer.size() && std::equal(shorter.begin(), shorter.end(), longer.begin());
}

// Written one character at a time, a text's math runs appear one by one, each once it is closed,
// and never change or go away again; the whole text (once a character follows) reads as it does
// when it arrives in one piece.
TEST(LiveAnswerText, MathRunsAppearOnceClosedAndNeverFlipBack) {
  const std::wstring texts[] = {
      L"So $x^2 = 4$ and $$\\frac{1}{2}$$ then \\(y\\) and \\[z+1\\] done.",
      L"It costs $5 and $10 in total, and $a+b$ is the sum.",
      L"Half a closer: $$x^2+1$$ stays display math.",
      L"$x$5 is money-like, but $y$ is math.",
      L"An escaped \\$ sign and $\\sqrt{2}$.",
  };
  for (const std::wstring& text : texts) {
    std::vector<std::wstring> before;
    for (size_t length = 0; length <= text.size(); ++length) {
      const std::wstring prefix = text.substr(0, length);
      const std::vector<std::wstring> runs = MathRuns(LiveDisplayText(prefix));
      EXPECT_TRUE(StartsWith(runs, before)) << "a run changed or vanished at " << length << " of " << text.size();
      EXPECT_TRUE(StartsWith(MathRuns(text), runs)) << "a run that the whole text lacks at " << length;
      before = runs;
    }
    EXPECT_EQ(LiveDisplayText(text + L" "), text + L" ");
    EXPECT_EQ(MathRuns(LiveDisplayText(text)), MathRuns(text));
  }
}

TEST(LiveAnswerText, AnOpenRunShowsAsItsPlainCharacters) {
  const struct {
    const wchar_t* partial;
    const wchar_t* shown;
  } cases[] = {
      {L"So $x^2 + ", L"So $x^2 + "},                // a single dollar without its pair reads as plain text anyway
      {L"So $x^2$", L"So \\$x^2\\$"},                // a digit after it would make it money: wait for one more
      {L"So $$x^2$", L"So \\$\\$x^2\\$"},            // half the closing pair is no closer
      {L"$a$ then $$x", L"$a$ then \\$\\$x"},        // runs before the open one stay math
      {L"So \\(x^2", L"So \\(x^2"},
      {L"No math at all", L"No math at all"},
  };
  for (const auto& c : cases) EXPECT_EQ(LiveDisplayText(c.partial), c.shown) << c.partial;
}

TEST(LiveAnswerText, AScanShowsNothingWhileTheModelWritesNone) {
  EXPECT_FALSE(LiveAnswerShows(QueryKind::Ask, L"", L""));
  for (const wchar_t* written : {L"n", L"No", L"NON", L"none"}) {
    EXPECT_FALSE(LiveAnswerShows(QueryKind::Scan, written, L"")) << written;
    EXPECT_FALSE(LiveAnswerShows(QueryKind::Snip, written, L"")) << written;
    EXPECT_TRUE(LiveAnswerShows(QueryKind::Ask, written, L"")) << written;  // a typed question's answer "none" shows
  }
  EXPECT_TRUE(LiveAnswerShows(QueryKind::Scan, L"No,", L""));
  EXPECT_TRUE(LiveAnswerShows(QueryKind::VisionScan, L"nonempty", L""));
  EXPECT_TRUE(LiveAnswerShows(QueryKind::Scan, L"No", L"Because"));
}

}  // namespace
