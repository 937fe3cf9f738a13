#pragma once
// Waiting in the Windows tests of the panel: messages are pumped while a condition is polled.
#include <windows.h>

#include <chrono>
#include <functional>

// Waits (pumping messages) until `done` holds; false after a generous time-out. A quit message is
// dropped, so a window that ends the loop does not end the wait.
inline bool PumpUntil(const std::function<bool()>& done, std::chrono::seconds limit = std::chrono::seconds(60)) {
  auto deadline = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) continue;
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  return true;
}
