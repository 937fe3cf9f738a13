#pragma once
// The sentences the panel itself shows: its title, the texts its buttons switch between, and the
// status words of a query. Each is written here once; the accessible names that never change live
// in the control table (panel/panel_controls.cpp).
namespace panel_text {
inline constexpr const wchar_t* Title = L"Tavisk";
inline constexpr const wchar_t* StudyAssistant = L"Study assistant";
inline constexpr const wchar_t* SettingsTitle = L"Settings";
inline constexpr const wchar_t* Subtitle = L"Capture a question or write your own.";
inline constexpr const wchar_t* ScanScreen = L"Scan screen";
inline constexpr const wchar_t* SnipFailed = L"Couldn't open the snip overlay. Try again.";
inline constexpr const wchar_t* Stealth = L"Stealth";
inline constexpr const wchar_t* YourQuestion = L"Your question";
inline constexpr const wchar_t* SendHint = L"Enter to send  \u00B7  Shift+Enter for a new line";

inline constexpr const wchar_t* AskQuestion = L"Ask a question";
inline constexpr const wchar_t* CloseQuestion = L"Close question";
inline constexpr const wchar_t* Send = L"Send";
inline constexpr const wchar_t* HideExplanation = L"Hide explanation";
inline constexpr const wchar_t* ShowExplanation = L"Show explanation";
inline constexpr const wchar_t* QuestionCue = L"Type a question\u2026";
inline constexpr const wchar_t* SignedOut = L"Signed out.";
// The sign-in field's prompts, shown while it is empty.
inline constexpr const wchar_t* EmailPrompt = L"name@example.com";
inline constexpr const wchar_t* CodePrompt = L"Verification code";

// The footer's status word, by query state.
inline constexpr const wchar_t* Scanning = L"Scanning\u2026";
inline constexpr const wchar_t* ScanningVision = L"Scanning (Vision)\u2026";
inline constexpr const wchar_t* ReadingSnip = L"Reading snip\u2026";
inline constexpr const wchar_t* Thinking = L"Thinking\u2026";
inline constexpr const wchar_t* AnswerReady = L"Answer ready";
inline constexpr const wchar_t* NoQuestionFound = L"No question found";
inline constexpr const wchar_t* RequestFailed = L"Request failed";
inline constexpr const wchar_t* Ready = L"Ready";
inline constexpr const wchar_t* ReadyVision = L"Ready \u00B7 Vision";

// The empty answer card's heading, by query state.
inline constexpr const wchar_t* ReadyToScan = L"Ready to scan";
inline constexpr const wchar_t* ReadingYourScreen = L"Reading your screen\u2026";
inline constexpr const wchar_t* ReadingScreenMath = L"Reading screen (Math)\u2026";
inline constexpr const wchar_t* ReadingSnippedImage = L"Reading snipped image\u2026";
inline constexpr const wchar_t* WorkingOnQuestion = L"Working on your question\u2026";
// ... and the line under it.
inline constexpr const wchar_t* AnswerWillAppear = L"The answer will appear here.";
inline constexpr const wchar_t* BringIntoViewThenPress = L"Bring a question into view, then press ";

// The answer card and the explanation card.
inline constexpr const wchar_t* AnswerLabel = L"ANSWER";
inline constexpr const wchar_t* ScanResultLabel = L"SCAN RESULT";
inline constexpr const wchar_t* OptionPrefix = L"Option ";
inline constexpr const wchar_t* NoReadableQuestion =
    L"No readable question found. Bring a question into view or type it instead.";
inline constexpr const wchar_t* Explanation = L"Explanation";
inline constexpr const wchar_t* NoExplanation = L"No explanation was returned.";
// The mark on an answer whose stream broke off part way.
inline constexpr const wchar_t* CutOff = L"Cut off";

// The first run, while no tutor service is configured.
inline constexpr const wchar_t* NoServiceYet = L"No tutor service set up yet";
inline constexpr const wchar_t* KeyGoesInConfig = L"Put your API key in vyk.cfg and save it.";
inline constexpr const wchar_t* FirstRunAnswerLine = L"Add your API key in Settings \u203A Account.";
inline constexpr const wchar_t* OpenConfigFile = L"Open vyk.cfg";
inline constexpr const wchar_t* ReloadConfig = L"Reload";
inline constexpr const wchar_t* ConfigWritten = L"Wrote ";
inline constexpr const wchar_t* CantWriteIn = L"Can't write in ";
inline constexpr const wchar_t* ConfigWrittenInstead = L", so it went to the working folder: ";
inline constexpr const wchar_t* ConfigMayGo = L". Save vyk.cfg there or in the working folder: ";
inline constexpr const wchar_t* NoKeyYet = L"No API key in vyk.cfg yet.";
}  // namespace panel_text
