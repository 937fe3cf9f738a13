#pragma once
// What the panel knows between messages, apart from its windows: the settings in memory, the
// scales, what is on view, the query and its reply, the account and the hotkey being recorded.
// The panel owns it; painting, the settings page and the menu read it (and the settings page
// changes the settings and the recording).
#include <memory>
#include <string>

#include "account/account_types.h"
#include "settings/ui_settings.h"
#include "panel/panel_rules.h"
#include "tutor/query_job.h"

struct PanelState {
  UiSettings settings;

  // uiScale multiplies every logical length of the panel; dpiScale is the window's DPI / 96.
  float uiScale = 1.0f;
  float dpiScale = 1.0f;
  bool glassActive = false;  // the glass backdrop is really in use

  PanelPage page = PanelPage::Answer;
  bool stealth = false;
  bool visible = false;  // the user's shown/hidden choice
  bool explanationShown = true;
  float answerScroll = 0, answerScrollMax = 0, explanationScroll = 0, explanationScrollMax = 0;
  bool caretVisible = false;
  std::wstring savedQuestion;  // the question page's text while the page is closed

  std::shared_ptr<Job> job;  // non-null exactly while a query runs
  QueryKind lastKind = QueryKind::Scan;
  TutorReply lastReply;
  bool hasReply = false;  // a reply has arrived since the last query started

  AccountInfo account;

  int captureSlot = -1;  // the binding being recorded, -1 for none
  std::wstring hotkeyStatus;
  bool hotkeyStatusError = false;

  bool queryRunning() const { return job != nullptr; }
  // A reply is on view on the answer page with its explanation button.
  bool answerShown() const {
    return page == PanelPage::Answer && hasReply && !job && lastReply.status == TutorReply::Answer;
  }
};
