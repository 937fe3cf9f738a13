#include "panel/panel_rules.h"

#include <gtest/gtest.h>

#include <set>

#include "panel/window/panel_controls.h"

namespace {

TEST(PanelPages, SwitchPlans) {
  PagePlan open = PlanPageSwitch(PanelPage::Answer, PanelPage::Question, false);
  EXPECT_FALSE(open.saveQuestion);
  EXPECT_TRUE(open.restoreQuestion);
  EXPECT_STREQ(open.askButtonText, L"Close question");
  EXPECT_EQ(open.focus, FocusTarget::QuestionBox);

  PagePlan close = PlanPageSwitch(PanelPage::Question, PanelPage::Answer, false);
  EXPECT_TRUE(close.saveQuestion);
  EXPECT_FALSE(close.restoreQuestion);
  EXPECT_STREQ(close.askButtonText, L"Ask a question");
  EXPECT_EQ(close.focus, FocusTarget::AskButton);

  PagePlan toSettings = PlanPageSwitch(PanelPage::Question, PanelPage::Settings, true);
  EXPECT_TRUE(toSettings.leaveStealth);
  EXPECT_TRUE(toSettings.saveQuestion);
  EXPECT_EQ(toSettings.focus, FocusTarget::GeneralSection);

  EXPECT_EQ(PlanPageSwitch(PanelPage::Settings, PanelPage::Answer, false).focus,
            FocusTarget::SettingsButton);
  // Re-selecting the settings page does not move the focus to General again.
  EXPECT_EQ(PlanPageSwitch(PanelPage::Settings, PanelPage::Settings, false).focus,
            FocusTarget::AskButton);
  // The answer page is reachable from stealth without leaving it (a query returns there).
  EXPECT_FALSE(PlanPageSwitch(PanelPage::Question, PanelPage::Answer, true).leaveStealth);
}

TEST(PanelPages, CaptureAndSectionToggles) {
  EXPECT_EQ(ToggleCaptureSlot(-1, 3), 3);
  EXPECT_EQ(ToggleCaptureSlot(3, 3), -1);  // pressing the same button twice cancels
  EXPECT_EQ(ToggleCaptureSlot(3, 7), 7);   // another button moves the capture
  EXPECT_EQ(ToggleSection(1, 1), -1);
  EXPECT_EQ(ToggleSection(1, 4), 4);
  EXPECT_EQ(ToggleSection(-1, 0), 0);
}

TEST(StripPulse, ScheduleThroughItsPhases) {
  const uint64_t start = 10'000;
  EXPECT_EQ(NextPulseStep(start + 0, start, true, true).rearmMs, 25u);
  EXPECT_EQ(NextPulseStep(start + 179, start, true, true).rearmMs, 25u);
  PulseStep hold = NextPulseStep(start + 180, start, true, true);
  EXPECT_EQ(hold.kind, PulseStep::Continue);
  EXPECT_EQ(hold.rearmMs, 5300u);  // the long hold
  EXPECT_EQ(NextPulseStep(start + 5470, start, true, true).rearmMs, 25u);  // max(25, 10)
  EXPECT_EQ(NextPulseStep(start + 5480, start, true, true).rearmMs, 25u);  // fade out
  EXPECT_EQ(NextPulseStep(start + 5999, start, true, true).kind, PulseStep::Continue);
  EXPECT_EQ(NextPulseStep(start + 6000, start, true, true).kind, PulseStep::Finished);
  // A clock behind the start counts as the beginning, not as a huge elapsed time.
  EXPECT_EQ(NextPulseStep(start - 50, start, true, true).rearmMs, 25u);
  EXPECT_EQ(NextPulseStep(start + 100, start, false, true).kind, PulseStep::Stopped);
  EXPECT_EQ(NextPulseStep(start + 100, start, true, false).kind, PulseStep::Stopped);
}

TEST(ControlAnimation, EasesAndRestartsFromTheCurrentPosition) {
  AnimationSlot slot;
  StartSlot(slot, 0, 50, 100, 70, 1000);
  float x, w;
  CurrentPill(slot, 1000, x, w);
  EXPECT_FLOAT_EQ(x, 0);
  EXPECT_FLOAT_EQ(w, 50);
  CurrentPill(slot, 1105, x, w);  // p = 0.5 -> 1 - 0.5^4
  EXPECT_FLOAT_EQ(x, 93.75f);
  CurrentPill(slot, 5000, x, w);
  EXPECT_FLOAT_EQ(x, 100);
  EXPECT_FLOAT_EQ(w, 70);
  CurrentPill(slot, 900, x, w);  // clock behind: start values
  EXPECT_FLOAT_EQ(x, 0);

  // Restarting mid-way starts from the interpolated pill, not from the given rectangle.
  StartSlot(slot, 555, 5, 0, 50, 1105);
  EXPECT_FLOAT_EQ(slot.startX, 93.75f);
  EXPECT_FLOAT_EQ(slot.targetX, 0);
  EXPECT_TRUE(KeepSlotRunning(slot, 1105 + 209));
  EXPECT_FALSE(KeepSlotRunning(slot, 1105 + 210));
  // An idle slot starts from the given rectangle.
  StartSlot(slot, 555, 5, 0, 50, 2000);
  EXPECT_FLOAT_EQ(slot.startX, 555);
}

TEST(PanelScroll, WheelMovesWithinLimits) {
  EXPECT_FLOAT_EQ(ScrollAfterWheel(0, 100, -120), 45.6f);   // wheel down scrolls the text up
  EXPECT_FLOAT_EQ(ScrollAfterWheel(90, 100, -120), 100);
  EXPECT_FLOAT_EQ(ScrollAfterWheel(10, 100, 120), 0);
  EXPECT_FLOAT_EQ(ScrollAfterWheel(10, -5, -120), 0);  // a negative maximum never goes below 0
}

TEST(PanelStatus, WordsForEveryQueryState) {
  EXPECT_EQ(StatusWord(true, QueryKind::Scan, true, TutorReply::Answer, false), L"Scanning\u2026");
  EXPECT_EQ(StatusWord(true, QueryKind::VisionScan, false, TutorReply::Error, false),
            L"Scanning (Vision)\u2026");
  EXPECT_EQ(StatusWord(true, QueryKind::Snip, false, TutorReply::Error, false), L"Reading snip\u2026");
  EXPECT_EQ(StatusWord(true, QueryKind::Ask, false, TutorReply::Error, false), L"Thinking\u2026");
  EXPECT_EQ(StatusWord(false, QueryKind::Ask, true, TutorReply::Answer, false), L"Answer ready");
  EXPECT_EQ(StatusWord(false, QueryKind::Ask, true, TutorReply::NoQuestion, false),
            L"No question found");
  EXPECT_EQ(StatusWord(false, QueryKind::Ask, true, TutorReply::Error, false), L"Request failed");
  EXPECT_EQ(StatusWord(false, QueryKind::Ask, false, TutorReply::Error, true), L"Ready \u00B7 Vision");
  EXPECT_EQ(StatusWord(false, QueryKind::Ask, false, TutorReply::Error, false), L"Ready");
  EXPECT_EQ(BusyHeading(false, QueryKind::Scan), L"Ready to scan");
  EXPECT_EQ(BusyHeading(true, QueryKind::Ask), L"Working on your question\u2026");
}

TEST(PanelQuery, PulseSendTrimAndKindRules) {
  TutorReply answer;
  answer.status = TutorReply::Answer;
  answer.option = 2;
  EXPECT_TRUE(ReplyReadyToPulse(true, false, answer));
  EXPECT_FALSE(ReplyReadyToPulse(false, false, answer));
  EXPECT_FALSE(ReplyReadyToPulse(true, true, answer));
  answer.option = 4;
  EXPECT_FALSE(ReplyReadyToPulse(true, false, answer));
  answer.option = -1;  // an answer without an option has no section to light
  EXPECT_FALSE(ReplyReadyToPulse(true, false, answer));
  answer.option = 0;
  answer.status = TutorReply::NoQuestion;
  EXPECT_FALSE(ReplyReadyToPulse(true, false, answer));

  EXPECT_TRUE(SendButtonEnabled(PanelPage::Question, false, true));
  EXPECT_FALSE(SendButtonEnabled(PanelPage::Question, true, true));
  EXPECT_FALSE(SendButtonEnabled(PanelPage::Question, false, false));
  EXPECT_FALSE(SendButtonEnabled(PanelPage::Answer, false, true));

  EXPECT_EQ(TrimQuestion(L" \t\r\n What is 2+2?\r\n "), L"What is 2+2?");
  EXPECT_EQ(TrimQuestion(L"\r\n\t "), L"");
  EXPECT_EQ(TrimQuestion(L"a\u00A0"), L"a\u00A0");  // only the four blanks are trimmed
  EXPECT_EQ(TrimQuestion(L""), L"");

  EXPECT_EQ(EffectiveKind(QueryKind::Scan, true), QueryKind::VisionScan);
  EXPECT_EQ(EffectiveKind(QueryKind::Scan, false), QueryKind::Scan);
  EXPECT_EQ(EffectiveKind(QueryKind::Ask, true), QueryKind::Ask);
  EXPECT_EQ(EffectiveKind(QueryKind::Snip, true), QueryKind::Snip);
}

TEST(PanelControls, TableCoversEveryIdOnce) {
  const auto& table = PanelControlTable();
  ASSERT_EQ(table.size(), 53u);
  std::set<std::wstring> names;
  int controls = 0;
  for (size_t i = 0; i < table.size(); ++i) {
    EXPECT_EQ(table[i].id, static_cast<int>(100 + i));
    EXPECT_NE(table[i].kind, ControlKind::None) << table[i].id;
    ++controls;
    if (table[i].kind == ControlKind::Button) {
      EXPECT_TRUE(names.insert(table[i].text).second) << "duplicate name at " << table[i].id;
    }
  }
  EXPECT_EQ(controls, 53);  // the forty-nine of the panel, the two of the first run and the two of Live answers
  EXPECT_EQ(table[control_id::QuestionBox - 100].kind, ControlKind::QuestionEdit);
  EXPECT_EQ(table[control_id::SignInField - 100].kind, ControlKind::SignInEdit);
  EXPECT_STREQ(table[control_id::Explanation - 100].text, L"Hide explanation");
  EXPECT_STREQ(table[control_id::ResetHotkeys - 100].text, L"Reset hotkeys");
}

}  // namespace

TEST(AccountJobs, OnlyVerifyProbeAndSignOutReplaceTheAccount) {
  struct Case {
    AccountJobKind kind;
    bool ok, applies;
  } cases[] = {
      {AccountJobKind::SendCode, true, false},  // a sent code must not sign the account out
      {AccountJobKind::SendCode, false, false}, {AccountJobKind::Verify, true, true},
      {AccountJobKind::Verify, false, false},   {AccountJobKind::Probe, true, true},
      {AccountJobKind::Probe, false, false},    {AccountJobKind::SignOut, false, true},
      {AccountJobKind::SignOut, true, true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(AccountJobAppliesAccount(c.kind, c.ok), c.applies) << int(c.kind) << " ok " << c.ok;
  }
}
