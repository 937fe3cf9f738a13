#include "hotkeys/input_hooks_win.h"

#include <new>
#include <optional>

#include "core/log.h"
#include "hotkeys/hook_watchdog.h"
#include "hotkeys/key_names_win.h"

namespace {

// The target of every posted message; null when no hooks are installed.
HWND g_panelWindow = nullptr;
// The one installed set of hooks (the procedures serve one panel), and its watchdog.
InputHooks* g_installed = nullptr;
HookWatchdog g_watchdog;

std::optional<KeyTransition> KeyTransitionOf(WPARAM message) {
  switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: return KeyTransition::Down;
    case WM_KEYUP:
    case WM_SYSKEYUP: return KeyTransition::Up;
    default: return std::nullopt;
  }
}

struct ButtonEvent {
  KeyTransition transition;
  uint32_t button;
};

std::optional<ButtonEvent> ButtonEventOf(WPARAM message, const MSLLHOOKSTRUCT& event) {
  uint32_t sideButton = HIWORD(event.mouseData) == XBUTTON1 ? kKeySideButton1 : kKeySideButton2;
  switch (message) {
    case WM_RBUTTONDOWN: return ButtonEvent{KeyTransition::Down, kKeyRightButton};
    case WM_RBUTTONUP: return ButtonEvent{KeyTransition::Up, kKeyRightButton};
    case WM_MBUTTONDOWN: return ButtonEvent{KeyTransition::Down, kKeyMiddleButton};
    case WM_MBUTTONUP: return ButtonEvent{KeyTransition::Up, kKeyMiddleButton};
    case WM_XBUTTONDOWN: return ButtonEvent{KeyTransition::Down, sideButton};
    case WM_XBUTTONUP: return ButtonEvent{KeyTransition::Up, sideButton};
    default: return std::nullopt;
  }
}

// Posts what the verdict asks for; says whether to swallow the event.
bool CarryOut(const HookVerdict& verdict) noexcept {
  if (verdict.post) {
    PostMessageW(g_panelWindow, verdict.post->message, verdict.post->wParam, verdict.post->lParam);
  }
  return verdict.swallow;
}

LRESULT CALLBACK KeyboardProc(int code, WPARAM message, LPARAM data) noexcept {
  if (code == HC_ACTION) g_watchdog.HookSaw(GetTickCount());
  if (code == HC_ACTION && g_panelWindow != nullptr) {
    const auto& event = *reinterpret_cast<const KBDLLHOOKSTRUCT*>(data);
    if (auto transition = KeyTransitionOf(message)) {
      if (CarryOut(LiveHookState().OnKey(*transition, event.vkCode, ReadModifierSides()))) return 1;
    }
  }
  return CallNextHookEx(nullptr, code, message, data);
}

LRESULT CALLBACK MouseProc(int code, WPARAM message, LPARAM data) noexcept {
  if (code == HC_ACTION) g_watchdog.HookSaw(GetTickCount());
  if (code == HC_ACTION && g_panelWindow != nullptr) {
    const auto& event = *reinterpret_cast<const MSLLHOOKSTRUCT*>(data);
    if (auto button = ButtonEventOf(message, event)) {
      if (CarryOut(LiveHookState().OnButton(button->transition, button->button, ReadModifierSides()))) return 1;
    }
  }
  return CallNextHookEx(nullptr, code, message, data);
}

}  // namespace

uint32_t ReadModifierSides() noexcept {
  static constexpr int kSidedKeys[] = {VK_LSHIFT, VK_RSHIFT, VK_LCONTROL, VK_RCONTROL,
                                       VK_LMENU,  VK_RMENU,  VK_LWIN,     VK_RWIN};
  uint32_t sides = 0;
  for (int key : kSidedKeys) {
    if (GetAsyncKeyState(key) & 0x8000) sides |= ModifierSideOf(static_cast<uint32_t>(key));
  }
  return sides;
}

std::unique_ptr<InputHooks> InputHooks::Create(HWND panelWindow) noexcept {
  if (panelWindow == nullptr) return nullptr;
  UseKeyboardLayoutNames();
  HINSTANCE module = GetModuleHandleW(nullptr);
  g_panelWindow = panelWindow;
  UniqueHook keyboard(SetWindowsHookExW(WH_KEYBOARD_LL, &KeyboardProc, module, 0));
  UniqueHook mouse(SetWindowsHookExW(WH_MOUSE_LL, &MouseProc, module, 0));
  std::unique_ptr<InputHooks> hooks;
  if (keyboard || mouse) hooks.reset(new (std::nothrow) InputHooks(std::move(keyboard), std::move(mouse)));
  if (!hooks) {
    g_panelWindow = nullptr;  // whatever was installed is removed on the way out
    return hooks;
  }
  g_installed = hooks.get();
  g_watchdog.Installed(GetTickCount());
  hooks->watchdogTimer_ = SetTimer(nullptr, 0, kHookWatchdogPeriodMs, &InputHooks::WatchdogTick);
  return hooks;
}

void InputHooks::Reinstall() noexcept {
  keyboard_.reset();  // the system may have removed them already; removing again does no harm
  mouse_.reset();
  HINSTANCE module = GetModuleHandleW(nullptr);
  keyboard_.reset(SetWindowsHookExW(WH_KEYBOARD_LL, &KeyboardProc, module, 0));
  mouse_.reset(SetWindowsHookExW(WH_MOUSE_LL, &MouseProc, module, 0));
  g_watchdog.Installed(GetTickCount());
}

void InputHooks::RemoveBehindOwnersBack() noexcept {
  if (!g_installed) return;
  if (g_installed->keyboard_) UnhookWindowsHookEx(g_installed->keyboard_.get());
  if (g_installed->mouse_) UnhookWindowsHookEx(g_installed->mouse_.get());
}

void CALLBACK InputHooks::WatchdogTick(HWND, UINT, UINT_PTR, DWORD) noexcept {
  LASTINPUTINFO input{};
  input.cbSize = sizeof(input);
  if (!g_installed || !GetLastInputInfo(&input)) return;
  const HookRepair repair = g_watchdog.Check(GetTickCount(), input.dwTime);
  if (repair == HookRepair::None) return;
  g_installed->Reinstall();
  const int keyboard = g_installed->hasKeyboardHook() ? 1 : 0;
  const int mouse = g_installed->hasMouseHook() ? 1 : 0;
  if (repair == HookRepair::Reinstall) {
    VykLog("[vyk] Input hooks had stopped receiving input; installed them again (keyboard %d, mouse %d).\n", keyboard,
           mouse);
  } else if (repair == HookRepair::ReinstallAndBackOff) {
    VykLog("[vyk] Input hooks still see no input after being installed again (keyboard %d, mouse %d): it may go to "
           "an elevated window, the secure desktop or a touch screen; trying again ever less often, up to once a "
           "minute, until they see input.\n",
           keyboard, mouse);
  }
}

InputHooks::~InputHooks() {
  if (watchdogTimer_) KillTimer(nullptr, watchdogTimer_);
  if (g_installed == this) g_installed = nullptr;
  keyboard_.reset();
  mouse_.reset();
  LiveHookState().Reset();
  g_panelWindow = nullptr;
}
