#pragma once
// What the panel paints, taken from the panel's state, its controllers and its controls in one
// small value, so painting needs no window. The text blocks write their scroll positions and maxima
// into the painter's copy; the panel takes them back from what the paint returns.
#include <string>

#include "panel/panel_rules.h"
#include "panel/window/question_box_text.h"
#include "panel/controllers/query_controller.h"
#include "panel/panel_state.h"
#include "settings/ui_settings.h"

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
  const LiveAnswer* live = nullptr;   // an answer streaming in, or the start of a cut-off one
  bool explanationShown = true;
  std::wstring scanHotkey;  // the primary scan binding as shown on its keycap
  bool visionOnScan = false;
  std::wstring notice;  // shown in the footer instead of the status word when not empty
  bool firstRun = false;  // no tutor service configured: the empty page says where to add one

  float answerScroll = 0, answerScrollMax = 0, explanationScroll = 0, explanationScrollMax = 0;

  // Under glass, on the question page: what the question box holds, for the panel to draw.
  QuestionBoxView questionBox;
  // Under glass, on the settings page while the sign-in form shows: what the sign-in field holds.
  QuestionBoxView signInField;
};

// The reply on view must outlive the view (it is not copied).
PanelView MakePanelView(const PanelState& state, const UiSettings& settings, bool glassActive,
                        const QueryOnView& query, const CardScrolls& scrolls);
// The scrolls as a paint left them.
CardScrolls ScrollsOf(const PanelView& view);
