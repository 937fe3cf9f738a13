#pragma once
// What the panel paints, taken from its state and its controls in one small value, so painting
// needs no window. The text blocks write their scroll positions and maxima into it; the panel
// takes them back with StoreScrolls.
#include <string>

#include "panel/panel_rules.h"
#include "panel/question_box_text.h"
#include "panel/panel_state.h"

// What only the child controls know.
struct ControlView {
  int hotControl = 0;      // the button under the pointer, 0 for none
  int pressedControl = 0;  // the button held down, 0 for none
  int focusControl = 0;    // the control with the focus while focus cues show, 0 otherwise
  bool questionBoxFocused = false;
  bool sendEnabled = false;
};

struct PanelView {
  PanelPage page = PanelPage::Answer;
  bool lightTheme = false;
  bool glassActive = false;
  ControlView controls;

  bool queryRunning = false;
  QueryKind kind = QueryKind::Scan;
  const TutorReply* reply = nullptr;  // the reply on view, null before the first one
  bool explanationShown = true;
  std::wstring scanHotkey;  // the primary scan binding as shown on its keycap
  bool visionOnScan = false;

  float answerScroll = 0, answerScrollMax = 0, explanationScroll = 0, explanationScrollMax = 0;

  // Under glass, on the question page: what the question box holds, for the panel to draw.
  QuestionBoxView questionBox;
};

// `state` must outlive the view (the reply is not copied).
PanelView MakePanelView(const PanelState& state, const ControlView& controls);
void StoreScrolls(const PanelView& view, PanelState& state);
