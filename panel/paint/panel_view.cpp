#include "panel/paint/panel_view.h"

#include "hotkeys/hotkey_text.h"

PanelView MakePanelView(const PanelState& state, const UiSettings& settings, bool glassActive,
                        const QueryOnView& query, const CardScrolls& scrolls) {
  PanelView view;
  view.page = state.page;
  view.lightTheme = settings.lightTheme;
  view.glassActive = glassActive;
  view.queryRunning = query.running;
  view.kind = query.kind;
  view.reply = query.reply;
  view.live = query.live;
  view.explanationShown = state.explanationShown;
  view.scanHotkey = HotkeyToText(settings.hotkeys[HotkeySlot::Scan]);
  view.visionOnScan = settings.visionOnScan;
  view.notice = state.notice;
  view.answerScroll = scrolls.answer;
  view.answerScrollMax = scrolls.answerMax;
  view.explanationScroll = scrolls.explanation;
  view.explanationScrollMax = scrolls.explanationMax;
  return view;
}

CardScrolls ScrollsOf(const PanelView& view) {
  return {view.answerScroll, view.answerScrollMax, view.explanationScroll, view.explanationScrollMax};
}
