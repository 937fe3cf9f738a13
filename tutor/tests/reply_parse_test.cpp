#include "tutor/reply_parse.h"

#include <gtest/gtest.h>

namespace {

constexpr const wchar_t* kIncomplete = L"The tutor returned an incomplete answer. Try again.";
constexpr const wchar_t* kEmpty = L"The tutor returned an empty answer. Try again.";

void ExpectAnswer(const TutorReply& reply, const std::wstring& text, const std::wstring& explanation, int option) {
  EXPECT_EQ(reply.status, TutorReply::Answer);
  EXPECT_EQ(reply.text, text);
  EXPECT_EQ(reply.explanation, explanation);
  EXPECT_EQ(reply.option, option);
  EXPECT_FALSE(reply.account.has_value());
}

void ExpectError(const TutorReply& reply, const std::wstring& message) {
  EXPECT_EQ(reply.status, TutorReply::Error);
  EXPECT_EQ(reply.text, message);
  EXPECT_EQ(reply.explanation, L"");
  EXPECT_EQ(reply.option, -1);
}

TEST(OptionIndex, AcceptsLabelledForms) {
  struct Case { const char* text; int index; } cases[] = {
      {"B)", 1}, {"b) 4", 1}, {"C.", 2}, {"c. twelve", 2}, {"d:", 3}, {"D: x", 3}, {"(d)", 3}, {"[b]", 1}, {"[2] x", 1},
      {"(a) first", 0}, {"option 3", 2}, {"Option   C", 2}, {"choice b", 1}, {"CHOICE  d.", 3},
      {"option (2)", 1}, {"  a)\t", 0}, {"4)", 3}, {"1.", 0}, {"c\tis right", -1},
  };
  for (const Case& c : cases) EXPECT_EQ(OptionIndex(c.text, false), c.index) << c.text;
}

TEST(OptionIndex, RejectsWordsNumbersAndBareFormsWithoutPermission) {
  const char* rejected[] = {"because", "12", "4.5", "a.5", "e)", "5)", "0.", "(2)", "(e)", "(b", "[b)", "(", "",
                            "   ", "option ", "option", "b", "3", "b-", "c is correct"};
  for (const char* text : rejected) EXPECT_EQ(OptionIndex(text, false), -1) << text;
}

TEST(OptionIndex, BareLetterDigitAndBracketedDigitNeedAllowBare) {
  EXPECT_EQ(OptionIndex("b", true), 1);
  EXPECT_EQ(OptionIndex(" B ", true), 1);
  EXPECT_EQ(OptionIndex("3", true), 2);
  EXPECT_EQ(OptionIndex("(2)", true), 1);
  EXPECT_EQ(OptionIndex("[2]", true), 1);
  EXPECT_EQ(OptionIndex("[2]", false), -1);
  EXPECT_EQ(OptionIndex("(2) and more", false), 1);  // longer than the bare form
  EXPECT_EQ(OptionIndex("e", true), -1);
  EXPECT_EQ(OptionIndex("option 2", false), 1);      // the prefix allows the bare digit
  EXPECT_EQ(OptionIndex("option c is correct", false), 2);
  EXPECT_EQ(OptionIndex("option 12", false), -1);
}

TEST(ParseTutorReply, ReadsJsonMembers) {
  ExpectAnswer(ParseTutorReply(R"({"answer":"  $x=2$ ","explanation":" Subtract 3. ","option":null})", QueryKind::Ask),
               L"$x=2$", L"Subtract 3.", -1);
  ExpectAnswer(ParseTutorReply(R"({"answer":"Paris","explanation":"Capital.","option":3})", QueryKind::Scan),
               L"Paris", L"Capital.", 2);
  ExpectAnswer(ParseTutorReply("{\"answer\":\"\xCF\x80 r\xC2\xB2\",\"explanation\":7}", QueryKind::Ask),
               L"\u03C0 r\u00B2", L"", -1);
  // The first member of a name counts.
  ExpectAnswer(ParseTutorReply(R"({"answer":"first","answer":"second","option":1,"option":2})", QueryKind::Ask),
               L"first", L"", 0);
}

TEST(ParseTutorReply, NumericAnswersUseFifteenSignificantDigits) {
  ExpectAnswer(ParseTutorReply(R"({"answer":12})", QueryKind::Ask), L"12", L"", -1);
  ExpectAnswer(ParseTutorReply(R"({"answer":0.1})", QueryKind::Ask), L"0.1", L"", -1);
  ExpectAnswer(ParseTutorReply(R"({"answer":0.5})", QueryKind::Ask), L"0.5", L"", -1);
  ExpectAnswer(ParseTutorReply(R"({"answer":-3.25e-7})", QueryKind::Ask), L"-3.25e-07", L"", -1);
  ExpectAnswer(ParseTutorReply(R"({"answer":1e21})", QueryKind::Ask), L"1e+21", L"", -1);
  ExpectAnswer(ParseTutorReply(R"({"answer":3.14159265358979})", QueryKind::Ask), L"3.14159265358979", L"", -1);
  ExpectAnswer(ParseTutorReply(R"({"answer":4,"option":null})", QueryKind::Scan), L"4", L"", -1);
  EXPECT_EQ(FormatAnswerNumber(123456789012345678.0), "1.23456789012346e+17");
}

TEST(ParseTutorReply, OptionMemberFormsAndFallbackToTheAnswerText) {
  EXPECT_EQ(ParseTutorReply(R"({"answer":"x","option":3})", QueryKind::Ask).option, 2);
  EXPECT_EQ(ParseTutorReply(R"({"answer":"x","option":"B"})", QueryKind::Ask).option, 1);
  EXPECT_EQ(ParseTutorReply(R"({"answer":"x","option":"2"})", QueryKind::Ask).option, 1);
  for (const char* option : {"2.5", "0", "5", "-1", "true", "[1]", "{}", "\"e\""}) {
    const std::string reply = std::string(R"({"answer":"D) 4","option":)") + option + "}";
    EXPECT_EQ(ParseTutorReply(reply, QueryKind::Ask).option, 3) << option;
    const std::string plain = std::string(R"({"answer":"4","option":)") + option + "}";
    EXPECT_EQ(ParseTutorReply(plain, QueryKind::Scan).option, -1) << option;
  }
  EXPECT_EQ(ParseTutorReply(R"({"answer":"option c is correct"})", QueryKind::Ask).option, 2);
  EXPECT_EQ(ParseTutorReply(R"({"answer":"4"})", QueryKind::Scan).option, -1);
}

TEST(ParseTutorReply, NoQuestionCountsOnlyForScreenKinds) {
  for (QueryKind kind : {QueryKind::Scan, QueryKind::VisionScan, QueryKind::Snip}) {
    EXPECT_EQ(ParseTutorReply(R"({"no_question":true})", kind).status, TutorReply::NoQuestion);
    EXPECT_EQ(ParseTutorReply(R"({"no_question":true,"answer":"x"})", kind).status, TutorReply::NoQuestion);
    EXPECT_EQ(ParseTutorReply("  NoNe \n", kind).status, TutorReply::NoQuestion);
    EXPECT_EQ(ParseTutorReply("```\nnone\n```", kind).status, TutorReply::NoQuestion);
    ExpectError(ParseTutorReply(R"({"no_question":"true"})", kind), kIncomplete);
    ExpectError(ParseTutorReply(R"({"no_question":1})", kind), kIncomplete);
    ExpectAnswer(ParseTutorReply(R"({"no_question":false,"answer":"y"})", kind), L"y", L"", -1);
  }
  ExpectAnswer(ParseTutorReply(R"({"no_question":true,"answer":"shown"})", QueryKind::Ask), L"shown", L"", -1);
  ExpectError(ParseTutorReply(R"({"no_question":true})", QueryKind::Ask), kIncomplete);
  ExpectAnswer(ParseTutorReply(" none ", QueryKind::Ask), L"none", L"", -1);
}

TEST(ParseTutorReply, CodeFences) {
  ExpectAnswer(ParseTutorReply("```json\n{\"answer\":\"B\",\"option\":2}\n```", QueryKind::Scan), L"B", L"", 1);
  ExpectAnswer(ParseTutorReply("  ```\n {\"answer\":\"x\"} \n```  \n", QueryKind::Ask), L"x", L"", -1);
  ExpectError(ParseTutorReply("```json\n```", QueryKind::Ask), kEmpty);
  ExpectAnswer(ParseTutorReply("```", QueryKind::Ask), L"```", L"", -1);
  // Unclosed: the fence stays, so the text is prose, not JSON.
  ExpectAnswer(ParseTutorReply("```json\n{\"answer\":\"x\"}", QueryKind::Ask), L"```json\n{\"answer\":\"x\"}", L"", -1);
  // Everything up to the last marker is kept, inner fences included.
  ExpectAnswer(ParseTutorReply("```md\na ``` b\n```", QueryKind::Ask), L"a ``` b", L"", -1);
}

TEST(ParseTutorReply, BrokenOrEmptyReplies) {
  ExpectError(ParseTutorReply("", QueryKind::Ask), kEmpty);
  ExpectError(ParseTutorReply(" \r\n\t", QueryKind::Scan), kEmpty);
  for (const char* broken : {"{", "{\"answer\":\"x\"", "{\"answer\":\"x\"} trailing", "{\"answer\":\"  \"}",
                             "{\"answer\":null}", "{\"answer\":[\"x\"]}", "{\"explanation\":\"only\"}", "{}"}) {
    ExpectError(ParseTutorReply(broken, QueryKind::Ask), kIncomplete);
  }
}

TEST(ParseTutorReply, ProseIsShownWholeWithABareLetterOnlyForScreenKinds) {
  ExpectAnswer(ParseTutorReply("B", QueryKind::Scan), L"B", L"", 1);
  ExpectAnswer(ParseTutorReply(" b\n", QueryKind::Snip), L"b", L"", 1);
  ExpectAnswer(ParseTutorReply("B", QueryKind::Ask), L"B", L"", -1);
  ExpectAnswer(ParseTutorReply("3", QueryKind::Scan), L"3", L"", -1);
  ExpectAnswer(ParseTutorReply("C) 42 because it is", QueryKind::Ask), L"C) 42 because it is", L"", 2);
  ExpectAnswer(ParseTutorReply("The answer is 7.", QueryKind::Scan), L"The answer is 7.", L"", -1);
  // Malformed UTF-8 is shown with replacement characters, never dropped or crashed on.
  ExpectAnswer(ParseTutorReply("x\xFFy", QueryKind::Ask), L"x\uFFFDy", L"", -1);
}

}  // namespace
