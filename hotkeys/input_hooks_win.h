#pragma once
// The global low-level keyboard and mouse hooks. While installed they match input against the
// live hook state (hotkeys/hook_state.h) and post MsgHotkeyAction / MsgHotkeyCaptured to the panel.
#include <windows.h>

#include "core/unique_handle_win.h"

#include <memory>
#include <type_traits>

#include "hotkeys/hook_state.h"

static_assert(MsgHotkeyAction == WM_APP + 1 && MsgHotkeyCaptured == WM_APP + 3 && MsgStealthMenu == WM_APP + 4 &&
              MsgEndSnip == WM_APP + 5);

class InputHooks {
 public:
  // Installs both hooks for all threads, posting to `panelWindow`. Null when the window is null
  // or neither hook could be installed; a hook that fails alone is simply absent.
  static std::unique_ptr<InputHooks> Create(HWND panelWindow) noexcept;
  // Removes the hooks and clears the shared state: not paused, hidden, not recording, no window.
  ~InputHooks();
  InputHooks(const InputHooks&) = delete;
  InputHooks& operator=(const InputHooks&) = delete;

  bool hasKeyboardHook() const { return static_cast<bool>(keyboard_); }
  bool hasMouseHook() const { return static_cast<bool>(mouse_); }

  // Installs both hooks afresh. The watchdog does this by itself when the system has dropped them:
  // once a second it compares the last input the system saw with the last event the hooks saw.
  void Reinstall() noexcept;
  // For tests: removes the installed hooks as the system would, without this object knowing.
  static void RemoveBehindOwnersBack() noexcept;

 private:
  static void Unhook(HHOOK hook) noexcept { UnhookWindowsHookEx(hook); }
  using UniqueHook = UniqueHandle<HHOOK, &InputHooks::Unhook>;

  InputHooks(UniqueHook keyboard, UniqueHook mouse) : keyboard_(std::move(keyboard)), mouse_(std::move(mouse)) {}
  static void CALLBACK WatchdogTick(HWND, UINT, UINT_PTR, DWORD) noexcept;

  UniqueHook keyboard_;
  UniqueHook mouse_;
  UINT_PTR watchdogTimer_ = 0;
};

// Which sided modifier keys are down now (GetAsyncKeyState), as ModifierSide bits.
uint32_t ReadModifierSides() noexcept;
