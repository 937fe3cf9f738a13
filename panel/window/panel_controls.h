#pragma once
// The panel's child controls: IDs, kinds and accessible names, as data.
#include <array>

inline constexpr int kFirstControlId = 100;
inline constexpr int kLastControlId = 152;
inline constexpr int kControlSlots = kLastControlId - kFirstControlId + 1;  // 53

namespace control_id {
inline constexpr int Close = 100;
inline constexpr int Hide = 101;
inline constexpr int SwitchToStealth = 102;
inline constexpr int Scan = 103;
inline constexpr int Ask = 104;
inline constexpr int QuestionBox = 105;
inline constexpr int Send = 106;
inline constexpr int Explanation = 107;
inline constexpr int FooterStealth = 108;
inline constexpr int Settings = 109;
inline constexpr int Snip = 110;
inline constexpr int FirstSection = 111;  // 111..115
inline constexpr int SignInField = 116;
inline constexpr int SendCode = 117;
inline constexpr int SignInBack = 118;
inline constexpr int RefreshAccount = 119;
inline constexpr int OpenConfigFile = 120;
inline constexpr int SignOut = 121;
inline constexpr int ReloadConfig = 122;
inline constexpr int FirstSegment = 123;  // 123..139
inline constexpr int LastSegment = 139;
inline constexpr int FirstHotkey = 140;  // 140..149
inline constexpr int LastHotkey = 149;
inline constexpr int ResetHotkeys = 150;
inline constexpr int LiveAnswersOff = 151;  // the Live answers row's two segments
inline constexpr int LiveAnswersOn = 152;
}  // namespace control_id

enum class ControlKind { None, Button, QuestionEdit, SignInEdit };

struct ControlSpec {
  int id = 0;
  ControlKind kind = ControlKind::None;
  const wchar_t* text = L"";  // window text = accessible name
};

// Indexed by ID - 100.
const std::array<ControlSpec, kControlSlots>& PanelControlTable();

inline constexpr int kQuestionMaxChars = 4000;
inline constexpr int kSignInMaxChars = 128;
