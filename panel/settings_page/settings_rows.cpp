#include "panel/settings_page/settings_rows.h"

#include "hotkeys/hotkey_text.h"
#include "panel/window/panel_controls.h"

namespace cid = control_id;

namespace {
constexpr float kSide = 22;
constexpr float kSectionTop = 104;
constexpr float kSectionGap = 6;
constexpr float kClosedHeight = kSectionHeaderHeight;
constexpr float kOpenHeights[kSettingsSections] = {152, 139, 104, 139, 186};
constexpr float kFirstRow = 34;
constexpr float kRowPitch = 35;
constexpr float kControlHeight = 26;
constexpr float kSegmentInset = 2.5f;
constexpr float kControlRight = 34;  // segmented controls end at W - 34

constexpr const wchar_t* kTitles[kSettingsSections] = {L"Account", L"General", L"Style", L"Stealth", L"Hotkeys"};
constexpr const wchar_t* kHotkeyLabels[5] = {L"Scan screen", L"Snip vision", L"Show / hide", L"Stealth",
                                             L"Quit app"};

const std::array<SegmentedRow, kSegmentedRows> kRows = {{
    {kStyleSection, 0, L"Theme", 123, 2, {L"Dark", L"Light"}, 116, 55.5f, -1, nullptr},
    {kStyleSection, 1, L"Liquid glass", 125, 2, {L"Off", L"On"}, 104, 49.5f, 0,
     L"Translucent backdrop blur & edge refraction"},
    {kGeneralSection, 0, L"Quality", 127, 2, {L"Fast", L"Deep"}, 116, 55.5f, 1, nullptr},
    {kGeneralSection, 1, L"Vision", 129, 2, {L"Off", L"On"}, 104, 49.5f, 2,
     L"Uses Vision on Scan for equations & graphs"},
    {kStealthSection, 0, L"Hands-free", 131, 4, {L"Off", L"5s", L"10s", L"30s"}, 168, 40.75f, 3,
     L"Auto-scans Stealth when screen changes"},
    {kStealthSection, 1, L"Strip width", 135, 3, {L"2px", L"4px", L"6px"}, 134, 43, 4,
     L"Edge A\u2013D strip \u00B7 blends with background"},
    {kStealthSection, 2, L"Screen side", 138, 2, {L"Left", L"Right"}, 116, 55.5f, 5,
     L"Dock Stealth strip on left or right edge"},
    {kGeneralSection, 2, L"Live answers", 151, 2, {L"Off", L"On"}, 104, 49.5f, 6,
     L"Shows the answer word by word as it is written"},
}};

bool ValidSlot(int slot) { return slot >= 0 && slot < kSegmentedRows; }

std::wstring Number(int value) { return std::to_wstring(value); }
}  // namespace

RectF SectionRect(float width, int index, int openSection) {
  float y = kSectionTop;
  for (int i = 0; i < index && i < kSettingsSections; ++i) {
    y += (i == openSection ? kOpenHeights[i] : kClosedHeight) + kSectionGap;
  }
  const bool open = index == openSection && index >= 0 && index < kSettingsSections;
  return {kSide, y, width - 2 * kSide, open ? kOpenHeights[index] : kClosedHeight};
}

const wchar_t* SectionTitle(int index) {
  return index >= 0 && index < kSettingsSections ? kTitles[index] : L"";
}

const std::array<SegmentedRow, kSegmentedRows>& SegmentedRowTable() { return kRows; }

int RowOfSegment(int id) {
  for (int slot = 0; slot < kSegmentedRows; ++slot) {
    const SegmentedRow& row = kRows[static_cast<size_t>(slot)];
    if (id >= row.firstId && id < row.firstId + row.count) return slot;
  }
  return -1;
}

RectF RowRect(float width, int slot, int openSection) {
  if (!ValidSlot(slot)) return {};
  const SegmentedRow& row = kRows[static_cast<size_t>(slot)];
  const RectF section = SectionRect(width, row.section, openSection);
  return {section.x + 12, section.y + kFirstRow + kRowPitch * static_cast<float>(row.position),
          section.width - 24, kControlHeight};
}

RectF SegmentedControlRect(float width, int slot, int openSection) {
  if (!ValidSlot(slot)) return {};
  const float controlWidth = kRows[static_cast<size_t>(slot)].controlWidth;
  const RectF row = RowRect(width, slot, openSection);
  return {width - kControlRight - controlWidth, row.y, controlWidth, kControlHeight};
}

RectF SegmentRect(float width, int slot, int openSection, int segment) {
  if (!ValidSlot(slot)) return {};
  const SegmentedRow& row = kRows[static_cast<size_t>(slot)];
  if (segment < 0 || segment >= row.count) return {};
  const RectF control = SegmentedControlRect(width, slot, openSection);
  return {control.x + kSegmentInset + row.segmentWidth * static_cast<float>(segment), control.y + kSegmentInset,
          row.segmentWidth, kControlHeight - 2 * kSegmentInset};
}

int SelectedSegment(int slot, const UiSettings& s) {
  switch (slot) {
    case 0: return s.lightTheme ? 1 : 0;
    case 1: return s.liquidGlass ? 1 : 0;
    case 2: return s.quality == QueryQuality::Deep ? 1 : 0;
    case 3: return s.visionOnScan ? 1 : 0;
    case 4: return s.handsFreeSeconds == 5 ? 1 : s.handsFreeSeconds == 10 ? 2 : s.handsFreeSeconds == 30 ? 3 : 0;
    case 5: return s.stripWidth == 2 ? 0 : s.stripWidth == 4 ? 1 : 2;
    case 6: return s.stripRight ? 1 : 0;
    case kLiveAnswersRow: return s.liveAnswers ? 1 : 0;
    default: return 0;
  }
}

bool RowLocked(int slot, bool localKeyMode) { return slot == kLiveAnswersRow && !localKeyMode; }

std::wstring SectionSummary(int index, const UiSettings& s, bool localKeyMode) {
  switch (index) {
    case kAccountSection: return localKeyMode ? L"Local key" : L"";
    case kGeneralSection:
      return std::wstring(s.quality == QueryQuality::Deep ? L"Deep" : L"Fast") + (s.visionOnScan ? L" \u00B7 Vision" : L"") +
             (s.liveAnswers && localKeyMode ? L" \u00B7 Live" : L"");
    case kStyleSection:
      return std::wstring(s.lightTheme ? L"Light" : L"Dark") + (s.liquidGlass ? L" \u00B7 Glass" : L" \u00B7 Solid");
    case kStealthSection: {
      std::wstring text = std::wstring(s.stripRight ? L"Right \u00B7 " : L"Left \u00B7 ") + Number(s.stripWidth) + L"px";
      if (s.handsFreeSeconds > 0) return text + L" \u00B7 Auto " + Number(s.handsFreeSeconds) + L"s";
      return text + L" \u00B7 Manual";
    }
    case kHotkeysSection:
      return HotkeyToText(s.hotkeys[HotkeySlot::Scan]) + L" \u00B7 " + HotkeyToText(s.hotkeys[HotkeySlot::Snip]) +
             L" \u00B7 " + HotkeyToText(s.hotkeys[HotkeySlot::ToggleVisible]);
    default: return {};
  }
}

std::array<bool, kHoverRows> HoveredRows(float width, int openSection, float x, float y) {
  std::array<bool, kHoverRows> hover{};
  for (int slot = 0; slot < kSegmentedRows; ++slot) {
    const SegmentedRow& row = kRows[static_cast<size_t>(slot)];
    if (row.hoverFlag < 0 || row.section != openSection) continue;
    RectF r = RowRect(width, slot, openSection);
    r.y -= 2;
    r.height += 4;
    hover[static_cast<size_t>(row.hoverFlag)] = r.Contains(x, y);
  }
  return hover;
}

std::wstring HintLine(int openSection, const std::array<bool, kHoverRows>& hover, int hotControl,
                      const std::wstring& styleStatus, bool localKeyMode) {
  const int hotRow = RowOfSegment(hotControl);
  for (int slot = 0; slot < kSegmentedRows; ++slot) {
    const SegmentedRow& row = kRows[static_cast<size_t>(slot)];
    if (!row.hint || row.section != openSection) continue;
    if (hover[static_cast<size_t>(row.hoverFlag)] || hotRow == slot) {
      return RowLocked(slot, localKeyMode) ? kLiveAnswersHostedTip : row.hint;
    }
  }
  return styleStatus;
}

RectF ResetHotkeysRect(float width, float sectionY) { return {width - 88, sectionY + 32, 54, 20}; }

RectF HotkeyRowRect(float width, float sectionY, int action) {
  return {kSide + 12, sectionY + 56 + 25 * static_cast<float>(action), width - 2 * kSide - 24, 22};
}

RectF KeycapRect(float width, float sectionY, int slot) {
  const bool secondary = IsSecondarySlot(slot);
  const int action = secondary ? slot - kHotkeyActionCount : slot;
  return {width - (secondary ? 138.0f : 248.0f), sectionY + 56 + 25 * static_cast<float>(action), 104, 22};
}

const wchar_t* HotkeyRowLabel(int action) {
  return action >= 0 && action < kHotkeyActionCount ? kHotkeyLabels[action] : L"";
}

std::wstring KeycapText(const HotkeyTable& table, int slot, int captureSlot) {
  if (!IsValidSlot(slot)) return {};
  if (slot == captureSlot) return L"Press key\u2026";
  const Hotkey& binding = table[static_cast<size_t>(slot)];
  if (!binding.bound() && IsSecondarySlot(slot)) return L"None";
  return HotkeyToText(binding);
}

HotkeysHint HotkeysHintLine(int captureSlot, const std::wstring& status, bool statusError) {
  if (IsValidSlot(captureSlot)) {
    return {IsSecondarySlot(captureSlot) ? L"Press key (Del clears \u00B7 Esc cancels)" : L"Press key (Esc cancels)",
            false};
  }
  if (!status.empty()) return {status, statusError};
  return {L"Primary & secondary shortcuts", false};
}

AccountArea ChooseAccountArea(bool hosted, bool signedIn, bool codeStage) {
  if (!hosted) return AccountArea::LocalKey;
  if (signedIn) return AccountArea::SignedIn;
  return codeStage ? AccountArea::SignInCode : AccountArea::SignInEmail;
}

const wchar_t* PrimaryButtonLabel(bool jobRunning, bool codeStage) {
  if (jobRunning) return L"Working\u2026";
  return codeStage ? L"Verify code" : L"Send code";
}

const wchar_t* RefreshButtonLabel(bool jobRunning) { return jobRunning ? L"Syncing\u2026" : L"Refresh"; }

RectF SignInFieldRect(float width) { return {44, 179, width - 88, 20}; }

std::vector<ControlPlacement> AccountControlPlacements(float width, AccountArea area, bool open) {
  const bool signInForm = open && (area == AccountArea::SignInEmail || area == AccountArea::SignInCode);
  const bool signedIn = open && area == AccountArea::SignedIn;
  return {
      {cid::SignInField, SignInFieldRect(width), signInForm},
      {cid::SendCode, {34, 213, 112, 28}, signInForm},
      {cid::SignInBack, {154, 213, 72, 28}, open && area == AccountArea::SignInCode},
      {cid::RefreshAccount, {34, 213, 82, 28}, signedIn},
      {cid::SignOut, {width - 118, 213, 84, 28}, signedIn},
      {cid::OpenConfigFile, {34, 213, 112, 28}, open && area == AccountArea::FirstRun},
      {cid::ReloadConfig, {154, 213, 72, 28}, open && area == AccountArea::FirstRun},
  };
}

std::wstring StyleStatusText(bool liquidGlass, bool glassActive, bool lightTheme, BackdropVerdict verdict,
                             const std::wstring& glassStatus) {
  const wchar_t* themeWord = lightTheme ? L"Light mode" : L"Dark mode";
  if (!liquidGlass) return themeWord;
  if (!glassActive) return L"Glass off: Windows transparency unavailable";
  if (verdict == BackdropVerdict::Light) return L"Light mode";
  if (verdict == BackdropVerdict::Dark) return L"Dark mode";
  return glassStatus.empty() ? themeWord : glassStatus;
}

std::wstring SettingsButtonName(const std::wstring& styleStatus) { return L"Settings: " + styleStatus; }
