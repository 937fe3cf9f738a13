#pragma once
// The seven setters behind the segmented controls: each stores its value, writes its one key of the
// settings file and says what else must happen (the pill slides from the old segment to the new one,
// and the panel applies the change). Choosing the segment that is already selected does nothing.
#include <optional>

#include "settings/ui_settings_store.h"

// Which setting a segment changed; the panel performs the side effects of each.
enum class SettingChange { None, Theme, LiquidGlass, Quality, VisionOnScan, HandsFree, StripWidth, StripSide, LiveAnswers };

// The selection pill of animation slot `slot` slides from one segment to another.
struct PillMove {
  int slot = 0;
  float fromX = 0, fromWidth = 0, toX = 0, toWidth = 0;
  bool operator==(const PillMove&) const = default;
};

struct SegmentChoice {
  SettingChange change = SettingChange::None;
  std::optional<PillMove> pill = std::nullopt;
  bool operator==(const SegmentChoice&) const = default;
};

// Segment control `id` (123..139, 151..152) pressed on a panel `width` wide with `openSection` open.
SegmentChoice ChooseSegment(int id, UiSettings& settings, UiSettingsStore& store, float width, int openSection);
