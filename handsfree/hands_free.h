#pragma once
// Hands-free auto-scan in stealth mode: a timer samples a grey thumbnail of the screen, waits for it
// to change and settle, and scans it by itself at most once per interval. After several automatic
// scans in a row find no question it pauses, and then only runs a cheap question check (capture,
// OCR, question detection, no tutor request) on screens that look new, resuming when one finds a
// question.
//
// The controller is a state machine on the UI thread over injected ports (clock, thumbnail source,
// timer, query starter, question-check starter), so every rule runs natively over fakes; the panel
// supplies the real ones.
#include <cstdint>
#include <functional>
#include <memory>

#include "core/worker_job.h"
#include "screen/screen_image.h"
#include "tutor/query_job.h"
#include "tutor/tutor_types.h"

inline constexpr unsigned kHandsFreeActiveMs = 1000;
inline constexpr unsigned kHandsFreePausedMs = 2000;

// Only the top 65 of the thumbnail's 72 rows are compared (the bottom rows often hold a clock or a
// task bar that changes on its own).
inline constexpr int kComparedThumbnailBytes = kThumbnailWidth * 65;  // 8,320
// A pixel counts as changed when its luma moved by more than this.
inline constexpr int kLumaTolerance = 5;

// The share (0..1) of compared pixel positions whose luma differs by more than kLumaTolerance.
float ScreenDifference(const ScreenThumbnail& a, const ScreenThumbnail& b);

inline constexpr float kStillChangingActive = 0.008f;   // above: the screen is still changing
inline constexpr float kStillChangingPaused = 0.01f;
inline constexpr float kSameAsAnswered = 0.012f;        // below: the answered screen is still shown
inline constexpr float kNothingNewSinceCheck = 0.035f;  // below: no new question check while paused
inline constexpr int kEmptyScansBeforePause = 3;        // one more empty automatic scan pauses
inline constexpr uint64_t kCheckHoldOffMs = 30000;      // after a check-started scan found nothing

// The question check's worker stores the status of a QuestionCheck query: Answer means the screen
// holds a question, anything else means none.
using ProbeJob = WorkerJob<TutorReply::Status>;

// Starts `solve` with kind QuestionCheck, quality Fast and no text on its own thread. Null when no
// thread could be started. Whatever the solve operation throws counts as no question.
std::shared_ptr<ProbeJob> StartQuestionCheck(SolveFn solve, const ThreadStarter& startThread = StartDetachedThread);

// What the controller needs to know about the panel at each step.
struct HandsFreeSituation {
  bool stealth = false;
  bool visible = false;     // the panel (here: its strip) is shown
  int intervalSeconds = 0;  // 0 (off), 5, 10 or 30
  // A query runs, the snip overlay is open, a hotkey is being recorded or the strip is displaying
  // an answer: ticks do nothing meanwhile.
  bool busy = false;
  bool replyOnDisplay = false;  // a reply has arrived and no query runs since
  int replyOption = -1;         // the displayed reply's option 0..3 when it is an answer naming one
};

// Whether the hands-free timer runs, and at what period.
struct HandsFreeTimer {
  bool running = false;
  unsigned periodMs = 0;
  bool operator==(const HandsFreeTimer&) const = default;
};

// Everything the controller reaches outside itself. Every member must be set.
struct HandsFreePorts {
  std::function<HandsFreeSituation()> situation;
  std::function<uint64_t()> now;                             // tick count in milliseconds
  std::function<bool(ScreenThumbnail&)> takeThumbnail;       // false when the capture failed
  std::function<void(const HandsFreeTimer&)> runTimer;       // (re)start or stop the timer
  std::function<void()> startScan;                           // an ordinary scan, as the hotkey does
  std::function<void()> reshowOption;                        // light the reply's option on the strip again
  std::function<std::shared_ptr<ProbeJob>()> startCheck;     // null when the worker could not start
};

// The context-menu entry for hands-free.
struct HandsFreeMenuEntry {
  const wchar_t* text = nullptr;
  bool checked = false;
  bool resumes = false;  // choosing it resumes (a reset) rather than switching the interval
};
HandsFreeMenuEntry DescribeHandsFreeMenuEntry(bool paused, int intervalSeconds);

class HandsFreeController {
 public:
  explicit HandsFreeController(HandsFreePorts ports) : ports_(std::move(ports)) {}

  // With `reset`, forgets everything seen so far (and, in stealth mode with a reply on display,
  // takes the current screen as the answered one). Then runs the timer at the period of the current
  // state when hands-free applies (stealth mode, shown, an interval), else drops a running question
  // check and stops the timer.
  void ResetHandsFree(bool reset);
  // The timer's handler.
  void HandsFreeTick();

  // Hooks of the query pipeline. QueryRefused: a query was asked for while another ran.
  // QueryStarting: any query is about to start. QueryFinished: its reply has been collected.
  void QueryRefused();
  void QueryStarting();
  void QueryFinished(TutorReply::Status status);
  // The stealth strip's answer display ended at `when` (tick milliseconds).
  void StripDisplayEnded(uint64_t when) { stripDisplayEnd_ = when; }

  bool paused() const { return paused_; }
  int emptyScans() const { return emptyScans_; }
  bool checkRunning() const { return checkJob_ != nullptr; }
  HandsFreeMenuEntry MenuEntry() const;

 private:
  struct Sample {
    ScreenThumbnail thumbnail;
    bool valid = false;
  };

  HandsFreeTimer TimerFor(const HandsFreeSituation& situation) const;
  void ActiveTick(const HandsFreeSituation& situation, uint64_t now);
  void PausedTick(const HandsFreeSituation& situation, uint64_t now);
  void FinishCheck(const HandsFreeSituation& situation);
  // Takes a thumbnail and keeps it as the last sample; true when it is settled (it differs from the
  // previous sample by at most `stillChanging`).
  bool TakeSettled(float stillChanging, ScreenThumbnail& thumbnail);
  void StartAutoScan(const ScreenThumbnail& baseline, bool byCheck);

  HandsFreePorts ports_;
  Sample last_;
  Sample baseline_;
  Sample answered_;
  Sample probed_;
  ScreenThumbnail pendingCheck_;
  bool paused_ = false;
  int emptyScans_ = 0;
  bool autoStarted_ = false;
  bool startedByCheck_ = false;
  uint64_t lastQueryDone_ = 0;
  uint64_t stripDisplayEnd_ = 0;
  uint64_t nextCheckAt_ = 0;
  std::shared_ptr<ProbeJob> checkJob_;
};
