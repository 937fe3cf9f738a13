#pragma once
// The panel window's timers as its controllers see them. Each timer ID belongs to one controller,
// which alone starts and stops it (through an OwnedTimer); the window only routes WM_TIMER to the
// owner. Tests hand the controllers a fake port.
#include <cstdint>
#include <functional>

class TimerPort {
 public:
  // (Re)starts timer `id` with a period of `periodMs`.
  virtual void StartTimer(unsigned id, unsigned periodMs) = 0;
  virtual void StopTimer(unsigned id) = 0;

 protected:
  ~TimerPort() = default;
};

// Milliseconds of a monotonic tick clock (GetTickCount64 in the program).
using TickClock = std::function<uint64_t()>;

// One timer of the panel window, held by the controller that owns it.
class OwnedTimer {
 public:
  OwnedTimer(TimerPort& port, unsigned id) : port_(&port), id_(id) {}

  void Start(unsigned periodMs) {
    port_->StartTimer(id_, periodMs);
    running_ = true;
  }
  void Stop() {
    port_->StopTimer(id_);
    running_ = false;
  }
  unsigned id() const { return id_; }
  bool running() const { return running_; }

 private:
  TimerPort* port_;
  unsigned id_;
  bool running_ = false;
};
