#include "panel/window/context_menu.h"

#include <gtest/gtest.h>

namespace {
MenuSituation Stealthy(bool queryRunning, bool answerOnView) {
  MenuSituation situation;
  situation.stealth = true;
  situation.queryRunning = queryRunning;
  situation.answerOnView = answerOnView;
  situation.hotkeys = DefaultHotkeyTable();
  situation.handsFreeText = L"Hands-Free Auto-Scan";
  situation.handsFreeChecked = true;
  return situation;
}
}  // namespace

TEST(ContextMenu, EntriesAndStatesByModeAndQuery) {
  // The panel itself offers only the copy, greyed until an answer is on view.
  MenuSituation panel;
  EXPECT_EQ(ContextMenuItems(panel),
            std::vector<MenuItem>({{MenuCommand::CopyAnswer, L"Copy Answer and Explanation", true}}));
  panel.answerOnView = true;
  EXPECT_FALSE(ContextMenuItems(panel).at(0).greyed);

  // In stealth mode, while a query runs: scanning and snipping are greyed, asking is not.
  const std::vector<MenuItem> expected = {
      {MenuCommand::OpenPanel, L"Open Tutor Panel\tCtrl+Alt+C"},
      {},
      {MenuCommand::Scan, L"Scan Screen\tF9", true},
      {MenuCommand::Snip, L"Snip Vision\tF10", true},
      {MenuCommand::Ask, L"Ask a Question\u2026"},
      {MenuCommand::HandsFree, L"Hands-Free Auto-Scan", false, true},
      {MenuCommand::CopyAnswer, L"Copy Answer and Explanation", false},
  };
  EXPECT_EQ(ContextMenuItems(Stealthy(true, true)), expected);
  const std::vector<MenuItem> idle = ContextMenuItems(Stealthy(false, false));
  EXPECT_FALSE(idle[2].greyed);
  EXPECT_FALSE(idle[3].greyed);
  EXPECT_TRUE(idle.back().greyed);
}

TEST(ContextMenu, CopiedTextOnlyForAnAnswer) {
  TutorReply answer;
  answer.status = TutorReply::Answer;
  answer.text = L"$x=2$";
  EXPECT_EQ(AnswerClipboardText(true, answer), L"$x=2$");  // no trailing blank line
  answer.explanation = L"Subtract 3.";
  EXPECT_EQ(AnswerClipboardText(true, answer), L"$x=2$\r\n\r\nSubtract 3.");
  EXPECT_EQ(AnswerClipboardText(false, answer), std::nullopt);  // a new query started since
  for (TutorReply::Status status : {TutorReply::NoQuestion, TutorReply::Error}) {
    answer.status = status;
    EXPECT_EQ(AnswerClipboardText(true, answer), std::nullopt);
  }
}
