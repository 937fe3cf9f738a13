#pragma once
// Where everything on the settings page goes, and what its rows say: the section cards, the rows
// with their segmented controls, the Hotkeys section's keycaps, the account area's controls, the
// header summaries and the hint line. Pure data and arithmetic over logical rectangles.
#include <array>
#include <string>
#include <vector>

#include "core/geometry.h"
#include "settings/ui_settings.h"
#include "panel/panel_layout.h"

inline constexpr int kSettingsSections = 5;  // account, general, style, stealth, hotkeys
inline constexpr int kAccountSection = 0;
inline constexpr int kGeneralSection = 1;
inline constexpr int kStyleSection = 2;
inline constexpr int kStealthSection = 3;
inline constexpr int kHotkeysSection = 4;
inline constexpr int kSegmentedRows = 8;  // also the number of animation slots
inline constexpr int kHoverRows = 7;      // the rows with a hover flag
inline constexpr int kLiveAnswersRow = 7;  // its slot
inline constexpr float kSectionHeaderHeight = 28;

// The section's card: 28 high while closed, its open height while open.
RectF SectionRect(float width, int index, int openSection);
const wchar_t* SectionTitle(int index);

// One row with a segmented control. Rows are indexed by their animation slot: theme, liquid glass,
// quality, vision, hands-free, strip width, strip side, live answers.
struct SegmentedRow {
  int section = 0;
  int position = 0;  // 0..2, from the top of the section
  const wchar_t* label = L"";
  int firstId = 0;
  int count = 0;
  std::array<const wchar_t*, 4> segments{};
  float controlWidth = 0;
  float segmentWidth = 0;
  int hoverFlag = -1;            // index of its row-hover flag, -1 for none
  const wchar_t* hint = nullptr;  // shown in the hint line while hovered
};
const std::array<SegmentedRow, kSegmentedRows>& SegmentedRowTable();
// The row (its slot) of segment control `id`, -1 when `id` is no segment.
int RowOfSegment(int id);

RectF RowRect(float width, int slot, int openSection);
RectF SegmentedControlRect(float width, int slot, int openSection);
RectF SegmentRect(float width, int slot, int openSection, int segment);
// Which segment of row `slot` shows the current value.
int SelectedSegment(int slot, const UiSettings& settings);
// A row that cannot be changed in this mode: Live answers in hosted mode (the hosted service
// answers whole). Its segments are disabled and its hint says why.
bool RowLocked(int slot, bool localKeyMode);
inline constexpr const wchar_t* kLiveAnswersHostedTip =
    L"Live answers work only with your own API key (local mode); the hosted service sends each answer whole.";

// The text after a closed section's title; empty for none.
std::wstring SectionSummary(int index, const UiSettings& settings, bool localKeyMode);

// The row-hover flags for a pointer at (x, y): rows of the open section only, each rectangle
// extended by 2 above and below.
std::array<bool, kHoverRows> HoveredRows(float width, int openSection, float x, float y);

// The hint line of the settings page: the hint of the first hovered or hot row (in slot order),
// else the style status.
std::wstring HintLine(int openSection, const std::array<bool, kHoverRows>& hover, int hotControl,
                      const std::wstring& styleStatus, bool localKeyMode = true);

// The Hotkeys section (open at `sectionY`).
RectF ResetHotkeysRect(float width, float sectionY);
RectF HotkeyRowRect(float width, float sectionY, int action);  // the label's line
RectF KeycapRect(float width, float sectionY, int slot);       // slot 0..9
const wchar_t* HotkeyRowLabel(int action);
// A keycap's text: "Press key…" while recorded, "None" for an empty secondary, else the binding.
std::wstring KeycapText(const HotkeyTable& table, int slot, int captureSlot);
// The Hotkeys section's own hint at the top of the open section.
struct HotkeysHint {
  std::wstring text;
  bool error = false;
  bool operator==(const HotkeysHint&) const = default;
};
HotkeysHint HotkeysHintLine(int captureSlot, const std::wstring& status, bool statusError);

// What the account area shows.
// FirstRun: nothing names a tutor service yet, so the area explains vyk.cfg instead of a sign-in.
enum class AccountArea { LocalKey, SignedIn, SignInEmail, SignInCode, FirstRun };
AccountArea ChooseAccountArea(bool hosted, bool signedIn, bool codeStage);
// The account buttons' labels, also their accessible names: the primary button of the sign-in form
// and the refresh button of a signed-in account.
const wchar_t* PrimaryButtonLabel(bool jobRunning, bool codeStage);
const wchar_t* RefreshButtonLabel(bool jobRunning);
// The account controls (field, primary, back, refresh, sign out), shown only as the area asks and
// while the account section is open on a shown page.
// The sign-in field's control, in the account card.
RectF SignInFieldRect(float width);
std::vector<ControlPlacement> AccountControlPlacements(float width, AccountArea area, bool open);

// The style status text (the hint line's fallback) and the Settings button's accessible name.
// `verdict` is the glass backdrop's own reading of what lies behind it, when it has one.
enum class BackdropVerdict { None, Light, Dark };
std::wstring StyleStatusText(bool liquidGlass, bool glassActive, bool lightTheme, BackdropVerdict verdict,
                             const std::wstring& glassStatus);
std::wstring SettingsButtonName(const std::wstring& styleStatus);
