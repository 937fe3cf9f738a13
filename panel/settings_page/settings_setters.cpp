#include "panel/settings_page/settings_setters.h"

#include "panel/settings_page/settings_rows.h"

namespace {
constexpr int kHandsFreeSeconds[4] = {0, 5, 10, 30};
constexpr int kStripWidths[3] = {2, 4, 6};

// Stores segment `segment` of row `slot` and writes it; false when nothing changed.
bool Store(int slot, int segment, UiSettings& s, UiSettingsStore& store) {
  const bool second = segment == 1;
  switch (slot) {
    case 0: return store.SetTheme(s, second);
    case 1: return store.SetLiquidGlass(s, second);
    case 2: return store.SetQuality(s, second ? QueryQuality::Deep : QueryQuality::Fast);
    case 3: return store.SetVisionOnScan(s, second);
    case 4: return store.SetHandsFreeSeconds(s, kHandsFreeSeconds[segment]);
    case 5: return store.SetStripWidth(s, kStripWidths[segment]);
    case 6: return store.SetStripSide(s, second);
    case kLiveAnswersRow: return store.SetLiveAnswers(s, second);
    default: return false;
  }
}

constexpr SettingChange kChanges[kSegmentedRows] = {
    SettingChange::Theme,    SettingChange::LiquidGlass, SettingChange::Quality,  SettingChange::VisionOnScan,
    SettingChange::HandsFree, SettingChange::StripWidth, SettingChange::StripSide, SettingChange::LiveAnswers,
};
}  // namespace

SegmentChoice ChooseSegment(int id, UiSettings& settings, UiSettingsStore& store, float width, int openSection) {
  const int slot = RowOfSegment(id);
  if (slot < 0) return {};
  const int segment = id - SegmentedRowTable()[static_cast<size_t>(slot)].firstId;
  const int old = SelectedSegment(slot, settings);
  if (segment == old) return {};
  const RectF from = SegmentRect(width, slot, openSection, old);
  const RectF to = SegmentRect(width, slot, openSection, segment);
  if (!Store(slot, segment, settings, store)) return {};
  return {kChanges[slot], PillMove{slot, from.x, from.width, to.x, to.width}};
}
