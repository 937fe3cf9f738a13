#pragma once
// The panel's preferences in memory, as loaded from and saved to "vyk.ui.ini".
#include "hotkeys/hotkey.h"
#include "tutor/tutor_types.h"

struct UiSettings {
  bool lightTheme = false;  // dark by default
  bool liquidGlass = true;
  QueryQuality quality = QueryQuality::Fast;
  bool visionOnScan = false;
  bool liveAnswers = false;  // stream the answer as the model writes it (local API-key mode only)
  int handsFreeSeconds = 0;  // 0 (off), 5, 10 or 30
  int stripWidth = 6;        // 2, 4 or 6 pixels
  bool stripRight = false;   // strip on the right screen edge
  HotkeyTable hotkeys = DefaultHotkeyTable();

  friend bool operator==(const UiSettings&, const UiSettings&) = default;
};

inline bool IsHandsFreeInterval(int seconds) { return seconds == 0 || seconds == 5 || seconds == 10 || seconds == 30; }
inline bool IsStripWidth(int pixels) { return pixels == 2 || pixels == 4 || pixels == 6; }
