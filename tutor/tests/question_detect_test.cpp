#include <gtest/gtest.h>

#include "tutor/question_detect.h"

namespace {

TEST(QuestionDetect, ShortTextsAreNeverQuestions) {
  EXPECT_FALSE(LooksLikeQuestion(L"solve for x dx"));   // 14 code units
  EXPECT_TRUE(LooksLikeQuestion(L"solve for x  dx"));   // 15
  EXPECT_FALSE(LooksLikeQuestion(L""));
}

TEST(QuestionDetect, LengthCountsUtf16CodeUnits) {
  // 13 letters and one character outside the basic plane (two UTF-16 units): 15 units.
  EXPECT_TRUE(LooksLikeQuestion(L"find the xab \U0001D465"));
  EXPECT_FALSE(LooksLikeQuestion(L"find the xa \U0001D465"));  // 14 units
}

TEST(QuestionDetect, TwoOptionMarkersAreEnoughOnTheirOwn) {
  EXPECT_TRUE(LooksLikeQuestion(L"Pick one\nA) red\nB) blue"));
  EXPECT_TRUE(LooksLikeQuestion(L"Pick one\n  \u2022 a. red\n- - b. blue"));
  EXPECT_TRUE(LooksLikeQuestion(L"Pick one\n(c) red\n[D] blue"));
  EXPECT_TRUE(LooksLikeQuestion(L"Pick one here\nA)\nB)\r\n"));
  EXPECT_FALSE(LooksLikeQuestion(L"Pick one\nA) red\nA) blue"));  // one distinct letter
}

TEST(QuestionDetect, ThingsThatLookLikeMarkersButAreNot) {
  EXPECT_FALSE(LooksLikeQuestion(L"Results:\na.5 apples\nb.7 pears"));
  EXPECT_FALSE(LooksLikeQuestion(L"Steps to take\n1) open\n2) close"));
  EXPECT_FALSE(LooksLikeQuestion(L"Some notes\n(a] one\n[b) two"));
  EXPECT_FALSE(LooksLikeQuestion(L"Some notes\ne) one\nf) two"));
  EXPECT_FALSE(LooksLikeQuestion(L"Some notes\nab) one\nbc) two"));
}

TEST(QuestionDetect, QuestionMarkNeedsOneMoreSign) {
  EXPECT_FALSE(LooksLikeQuestion(L"Shall we go out now?"));
  EXPECT_TRUE(LooksLikeQuestion(L"Is this INTEGRAL convergent?"));
  EXPECT_TRUE(LooksLikeQuestion(L"Which?\nA) one\nB) two"));
}

TEST(QuestionDetect, PhrasesAndKeywords) {
  EXPECT_TRUE(LooksLikeQuestion(L"Which of the following holds"));
  EXPECT_TRUE(LooksLikeQuestion(L"QUESTION 3 of 10 pending"));
  EXPECT_FALSE(LooksLikeQuestion(L"questions, answers, notes"));
  EXPECT_TRUE(LooksLikeQuestion(L"solve it, then integrate dx"));
  EXPECT_FALSE(LooksLikeQuestion(L"please solve this one now"));  // one keyword only
  EXPECT_TRUE(LooksLikeQuestion(L"variance and probability notes"));
}

}  // namespace
