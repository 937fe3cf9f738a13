#pragma once
// Drawing the settings page below its title: the hint line, the five section cards with their
// headers, the segmented controls, the Hotkeys section and the account area.
#include <array>
#include <cstdint>
#include <string>

#include "draw/canvas.h"
#include "draw/glyph_measurer.h"
#include "panel/panel_rules.h"
#include "panel/paint/panel_view.h"
#include "panel/settings_page/settings_rows.h"

// What the account area shows (see account_section_paint.h).
struct AccountPaintView {
  AccountArea area = AccountArea::LocalKey;
  std::wstring email;       // the signed-in account's address
  std::wstring statusLine;  // the sign-in form's status line
  bool statusIsError = false;
  bool jobRunning = false;
  bool codeStage = false;
  bool fieldFocused = false;
  QuestionBoxView field;  // drawn by the panel under glass, where the native field is invisible
  std::wstring firstRunNote;  // the first run: where vyk.cfg went, or why it could not be written
  bool firstRunNoteIsError = false;
};

// Everything the page shows besides what PanelView carries.
struct SettingsPaintView {
  UiSettings settings;
  int openSection = 1;
  std::array<AnimationSlot, kSegmentedRows> animations{};
  uint64_t now = 0;
  std::array<bool, kHoverRows> hover{};
  std::wstring styleStatus;
  int captureSlot = -1;
  std::wstring hotkeyStatus;
  bool hotkeyStatusError = false;
  AccountPaintView account;
};

void PaintSettingsPage(Canvas& canvas, GlyphMeasurer& measurer, const PanelView& view, float width, float height,
                       const SettingsPaintView& page);
