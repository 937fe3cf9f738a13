#include "tutor/partial_reply.h"

#include <gtest/gtest.h>

#include <string>

#include "tutor/reply_parse.h"
#include "tutor/tests/reply_samples.h"

namespace {

TEST(ReadPartialReply, ShowsWhatHasArrivedOfAnswerAndExplanation) {
  struct Case {
    const char* text;
    const wchar_t* answer;
    const wchar_t* explanation;
  } cases[] = {
      {"", L"", L""},
      {"{\"answ", L"", L""},
      {"{\"answer\":", L"", L""},
      {"{\"answer\": \"  Par", L"Par", L""},
      {"{\"answer\":\"Paris\",\"explanation\":\"The cap", L"Paris", L"The cap"},
      {"{\"option\":[1,{\"a\":\"}\"}],\"answer\":\"x\"", L"x", L""},
      {"{\"answer\":\"a\",\"answer\":\"b\"", L"a", L""},
      // Escapes wait until the bytes that decide their reading are there.
      {"{\"answer\":\"say \\\"hi\\", L"say", L""},
      {"{\"answer\":\"say \\\"hi\\\" and more text", L"say \"hi\" and more text", L""},
      {"{\"answer\":\"caf\\u00", L"caf", L""},
      {"{\"answer\":\"caf\\u00e9 and the rest", L"caf\u00e9 and the rest", L""},
      {"{\"answer\":\"\\ud83d\\ude", L"", L""},
      {"{\"answer\":\"a \\ud83d\\ude00 b", L"a \U0001F600 b", L""},
      {"{\"answer\":\"$\\frac{1}{2}$ more text", L"$\\frac{1}{2}$ more text", L""},
      {"{\"answer\":\"tab\\there and\\nline", L"tab\\there and", L""},
      // A UTF-8 sequence cut in the middle is left out until it is whole.
      {"{\"answer\":\"\xCF\x80 \xE2\x88", L"\u03C0", L""},
      // Numbers show once they are complete.
      {"{\"answer\":4", L"", L""},
      {"{\"answer\":4,", L"4", L""},
      {"{\"answer\":0.5}", L"0.5", L""},
      // A fence before the object, and prose.
      {"```js", L"", L""},
      {"```json\n{\"answer\":\"B\",\"expl", L"B", L""},
      {"The answer is", L"The answer is", L""},
      {"```\nprose in a fence\n``", L"prose in a fence", L""},
  };
  for (const Case& c : cases) {
    const PartialReply partial = ReadPartialReply(c.text);
    EXPECT_EQ(partial.answer, c.answer) << c.text;
    EXPECT_EQ(partial.explanation, c.explanation) << c.text;
  }
}

// An answer only ever grows while it arrives, and what it grows into is the final answer.
TEST(ReadPartialReply, EveryPrefixShowsABeginningOfTheFinalAnswer) {
  for (const char* sample : ReplySamples()) {
    const std::string text = sample;
    const TutorReply final = ParseTutorReply(text, QueryKind::Ask);
    const PartialReply whole = ReadPartialReply(text);
    if (final.status != TutorReply::Answer || whole.answer != final.text) continue;
    EXPECT_EQ(whole.explanation, final.explanation) << text;
    for (size_t length = 0; length <= text.size(); ++length) {
      const PartialReply partial = ReadPartialReply(std::string_view(text).substr(0, length));
      EXPECT_EQ(final.text.compare(0, partial.answer.size(), partial.answer), 0) << text.substr(0, length);
      EXPECT_EQ(final.explanation.compare(0, partial.explanation.size(), partial.explanation), 0)
          << text.substr(0, length);
    }
  }
}

}  // namespace
