#pragma once
// The panel's state decisions that need no window: page switching, hotkey capture, the strip pulse
// schedule, control animation, scrolling, status words and button states.
#include <cstdint>
#include <optional>
#include <string>

#include "tutor/tutor_types.h"

// Timers of the main window.
namespace panel_timer {
inline constexpr unsigned QueryPoll = 1, StripPulse = 2, GlassFrame = 3, CaretBlink = 4,
                          HandsFree = 5, Animation = 6, AccountPoll = 7, ConfigWatch = 8;
inline constexpr unsigned QueryPollMs = 35, StripPulseMs = 25, GlassFrameMs = 16, CaretBlinkMs = 530,
                          HandsFreeMs = 1000, HandsFreePausedMs = 2000, AnimationMs = 16,
                          AccountPollMs = 40, ConfigWatchMs = 1000;
}  // namespace panel_timer

enum class PanelPage : int { Answer = 0, Question = 1, Settings = 2 };

enum class FocusTarget { QuestionBox, GeneralSection, SettingsButton, AskButton };

// What switching from `current` to `target` involves.
struct PagePlan {
  bool leaveStealth = false;     // switching away from the answer page shows the panel first
  bool saveQuestion = false;     // the question page is being left: keep its text
  bool restoreQuestion = false;  // the question page opens: put the kept text back
  const wchar_t* askButtonText = nullptr;  // the Ask button's text on the new page
  FocusTarget focus = FocusTarget::AskButton;
};
PagePlan PlanPageSwitch(PanelPage current, PanelPage target, bool stealth);

// Pressing hotkey button `slot`: start capturing it, or cancel when it is already the one capturing.
int ToggleCaptureSlot(int capturing, int slot);

// Section headers: open `index` and close the others, or close it when it was the open one.
// Returns the open section, -1 for none.
int ToggleSection(int open, int index);

// One tick of the stealth strip's answer pulse.
struct PulseStep {
  enum Kind { Continue, Finished, Stopped } kind = Stopped;
  unsigned rearmMs = 0;  // Continue only
};
inline constexpr uint64_t kPulseDurationMs = 6000;
PulseStep NextPulseStep(uint64_t now, uint64_t pulseStart, bool stealth, bool visible);

// An animated selection pill of a segmented control (x and width over 210 ms, quartic ease-out).
struct AnimationSlot {
  float startX = 0, startWidth = 0, targetX = 0, targetWidth = 0;
  uint64_t startTime = 0;
  bool active = false;
};
inline constexpr uint64_t kAnimationMs = 210;
float AnimationProgress(const AnimationSlot& slot, uint64_t now);  // eased, 0..1
void CurrentPill(const AnimationSlot& slot, uint64_t now, float& x, float& width);
void StartSlot(AnimationSlot& slot, float fromX, float fromWidth, float toX, float toWidth,
               uint64_t now);
// Deactivates a slot whose animation is over; returns whether it is still running.
bool KeepSlotRunning(AnimationSlot& slot, uint64_t now);

// Scroll position after a wheel notch of `wheelDelta` (signed, 120 per notch).
float ScrollAfterWheel(float scroll, float scrollMax, int wheelDelta);

// What the query state reads as in the footer and the empty answer card.
std::wstring StatusWord(bool running, QueryKind kind, bool hasReply, TutorReply::Status status,
                        bool visionOnScan);
std::wstring BusyHeading(bool running, QueryKind kind);

// Whether a collected reply lights a section of the strip.
bool ReplyReadyToPulse(bool hasReply, bool running, const TutorReply& reply);

bool SendButtonEnabled(PanelPage page, bool running, bool boxHasText);

// A typed question without surrounding blanks, tabs, carriage returns and line feeds.
std::wstring TrimQuestion(const std::wstring& text);

// The kind a scan request really runs as.
QueryKind EffectiveKind(QueryKind requested, bool visionOnScan);

// The sign-in form's background jobs, and whether a finished one replaces the account on view: a
// verify that worked and a probe that ran do; a sign-out always does (it ends signed out whatever
// the service said); sending a code never does, since its result carries no account.
enum class AccountJobKind : int { Probe = 0, SendCode = 1, Verify = 2, SignOut = 3 };
bool AccountJobAppliesAccount(AccountJobKind kind, bool ok);
