#include "panel/panel_view.h"

#include "hotkeys/hotkey_text.h"

PanelView MakePanelView(const PanelState& state, const ControlView& controls) {
  PanelView view;
  view.page = state.page;
  view.lightTheme = state.settings.lightTheme;
  view.glassActive = state.glassActive;
  view.controls = controls;
  view.queryRunning = state.queryRunning();
  view.kind = state.lastKind;
  view.reply = state.hasReply ? &state.lastReply : nullptr;
  view.explanationShown = state.explanationShown;
  view.scanHotkey = HotkeyToText(state.settings.hotkeys[HotkeySlot::Scan]);
  view.visionOnScan = state.settings.visionOnScan;
  view.answerScroll = state.answerScroll;
  view.answerScrollMax = state.answerScrollMax;
  view.explanationScroll = state.explanationScroll;
  view.explanationScrollMax = state.explanationScrollMax;
  return view;
}

void StoreScrolls(const PanelView& view, PanelState& state) {
  state.answerScroll = view.answerScroll;
  state.answerScrollMax = view.answerScrollMax;
  state.explanationScroll = view.explanationScroll;
  state.explanationScrollMax = view.explanationScrollMax;
}
