#pragma once
// Stealth mode around the panel: the edge strip with its working mark and answer pulse (timer 2,
// run by the strip controller), the panel's drop shadow, and hands-free auto-scan (timer 5).
#include <windows.h>

#include <functional>
#include <memory>

#include "handsfree/hands_free.h"
#include "panel/controllers/timer_port.h"
#include "panel/stealth/shadow_window_win.h"
#include "panel/stealth/strip_controller_win.h"

// What stealth mode reads of the panel: the strip's part (its glow option is filled in here, from
// the reply), the reply, the hands-free interval and whether other work holds hands-free back.
struct StealthSituation {
  StripSituation strip;
  bool hasReply = false;
  const TutorReply* reply = nullptr;  // the last reply, when there is one
  int handsFreeSeconds = 0;
  bool otherWork = false;  // a snip is open or a binding is being recorded
};

struct StealthPorts {
  std::function<StealthSituation()> situation;
  std::function<void()> startScan;                        // an ordinary scan, as the hotkey does
  std::function<std::shared_ptr<ProbeJob>()> startCheck;  // the hands-free question check
  TickClock now;
};

class StealthController {
 public:
  StealthController(TimerPort& timers, StealthPorts ports);

  void AttachStrip(std::unique_ptr<StripWindow> strip) { strip_.Attach(std::move(strip)); }
  void AttachShadow(std::unique_ptr<ShadowWindow> shadow) { shadow_ = std::move(shadow); }
  // The panel is going away: timers stopped, strip and shadow destroyed.
  void Destroy();

  // The shadow follows the panel window, shown only with it.
  void UpdateShadow(bool panelShown, float uiScale);
  // The strip shows at its edge (stealth mode, panel visible) or hides, its pulse cleared.
  void ShowStrip() { strip_.Show(); }
  void HideStrip() { strip_.Hide(); }
  // The strip's rectangle in screen pixels as last placed.
  const PixelRect& stripRect() const { return strip_.rect(); }
  // Stealth mode begins: the strip lights the reply's option or shows plainly, when visible.
  void Enter();
  // The strip's edge, width or monitor may have changed.
  void ReshowStrip();

  // The query's course.
  void QueryRefused() { handsFree_.QueryRefused(); }
  void QueryStarting() { handsFree_.QueryStarting(); }
  void QueryShown();
  void QueryStartFailed() { handsFree_.QueryFinished(TutorReply::Error); }
  void ReplyArrived(const TutorReply& reply);

  // Timers 2 and 5.
  void PulseTick();
  void HandsFreeTick() { handsFree_.HandsFreeTick(); }
  // Hands-free starts over (with `reset`, forgetting what it saw) or stops, as the situation says.
  void ResetHandsFree(bool reset) { handsFree_.ResetHandsFree(reset); }
  bool handsFreePaused() const { return handsFree_.paused(); }

 private:
  HandsFreePorts MakeHandsFreePorts();
  StripSituation StripNow() const;
  int GlowOption(const StealthSituation& situation) const;

  StealthPorts ports_;
  OwnedTimer handsFreeTimer_;
  StripController strip_;
  std::unique_ptr<ShadowWindow> shadow_;
  HandsFreeController handsFree_{MakeHandsFreePorts()};
};
