#pragma once
// What the panel window itself knows between messages: its scales and what is on view. The
// settings, the query and its reply, the account, the glass and the caret each live in their own
// controller (panel/controllers); painting gets a read-only view of all of them.
#include <string>

#include "panel/panel_rules.h"

struct PanelState {
  // uiScale multiplies every logical length of the panel; dpiScale is the window's DPI / 96.
  float uiScale = 1.0f;
  float dpiScale = 1.0f;

  PanelPage page = PanelPage::Answer;
  bool stealth = false;
  bool visible = false;  // the user's shown/hidden choice
  bool explanationShown = true;
  std::wstring savedQuestion;  // the question page's text while the page is closed
  // A sentence the footer shows instead of the status word (a snip that could not open), until the
  // next query or snip starts.
  std::wstring notice;
};

// The scroll positions of the answer and explanation cards, in logical pixels, with their maxima
// as the last paint measured them.
struct CardScrolls {
  float answer = 0, answerMax = 0, explanation = 0, explanationMax = 0;
};
