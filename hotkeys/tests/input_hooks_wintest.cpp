#include "hotkeys/input_hooks_win.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

constexpr DWORD kGenerousTimeoutMs = 30000;
constexpr uint32_t kF8 = VK_F8, kF9 = VK_F9;

// What reached the test window and an observing hook installed before the program's hooks (so
// it only sees what the program's hooks let through).
struct Observed {
  std::vector<uint32_t> actions;
  std::vector<KBDLLHOOKSTRUCT> keys;  // flags has LLKHF_UP for releases
  std::vector<WPARAM> mouseMessages;
};
Observed g_observed;

LRESULT CALLBACK ObserverKeyboardProc(int code, WPARAM message, LPARAM data) {
  if (code == HC_ACTION) g_observed.keys.push_back(*reinterpret_cast<const KBDLLHOOKSTRUCT*>(data));
  return CallNextHookEx(nullptr, code, message, data);
}

LRESULT CALLBACK ObserverMouseProc(int code, WPARAM message, LPARAM data) {
  if (code == HC_ACTION && message != WM_MOUSEMOVE) g_observed.mouseMessages.push_back(message);
  return CallNextHookEx(nullptr, code, message, data);
}

LRESULT CALLBACK PanelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == MsgHotkeyAction) {
    g_observed.actions.push_back(static_cast<uint32_t>(wParam));
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

bool Saw(uint32_t key, bool release) {
  for (const KBDLLHOOKSTRUCT& event : g_observed.keys) {
    if (event.vkCode == key && ((event.flags & LLKHF_UP) != 0) == release) return true;
  }
  return false;
}

// Pumps messages (which is when low-level hooks run) until `done` or the time-out.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = kGenerousTimeoutMs) {
  ULONGLONG deadline = GetTickCount64() + timeoutMs;
  while (!done()) {
    ULONGLONG now = GetTickCount64();
    if (now >= deadline) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(std::min<ULONGLONG>(deadline - now, 50)),
                              QS_ALLINPUT);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  }
  return true;
}

// Sends input with xdotool on the test's X display; Wine starts the Linux program directly.
bool Xdotool(const std::wstring& arguments) {
  std::wstring command = L"Z:\\usr\\bin\\xdotool " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    return false;
  }
  if (process.hThread) CloseHandle(process.hThread);
  if (process.hProcess) CloseHandle(process.hProcess);
  return true;
}

// Until the new window is mapped on the X screen keys may go elsewhere: send F7 until one arrives.
// F7 is bound to nothing, so a late copy of it changes nothing the tests look at.
bool InputArrives() {
  ULONGLONG deadline = GetTickCount64() + kGenerousTimeoutMs;
  while (GetTickCount64() < deadline) {
    if (!Xdotool(L"key F7")) return false;
    if (PumpUntil([] { return Saw(VK_F7, true); }, 1000)) return true;
  }
  return false;
}

bool XServerAvailable() {
  return GetEnvironmentVariableW(L"DISPLAY", nullptr, 0) > 0 &&
         GetFileAttributesW(L"Z:\\usr\\bin\\xdotool") != INVALID_FILE_ATTRIBUTES;
}

struct WindowDeleter {
  void operator()(HWND window) const { DestroyWindow(window); }
};
using UniqueWindow = std::unique_ptr<std::remove_pointer_t<HWND>, WindowDeleter>;
struct HookDeleter {
  void operator()(HHOOK hook) const { UnhookWindowsHookEx(hook); }
};
using UniqueHook = std::unique_ptr<std::remove_pointer_t<HHOOK>, HookDeleter>;

// A screen-sized window under the pointer (so the X server sends it the keys) that receives the
// hooks' messages, with observing hooks behind the program's.
class HookedPanel : public ::testing::Test {
 protected:
  void SetUp() override {
    g_observed = {};
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = &PanelProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"VykTutorHookTest";
    RegisterClassW(&windowClass);
    window_.reset(CreateWindowExW(WS_EX_TOPMOST, L"VykTutorHookTest", L"hooks", WS_POPUP | WS_VISIBLE, 0, 0,
                                  GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr));
    // Fails when the process joined a Wine desktop that was started without a display.
    ASSERT_NE(window_.get(), nullptr) << "no top-level window, error " << GetLastError();
    SetForegroundWindow(window_.get());
    observerKeys_.reset(SetWindowsHookExW(WH_KEYBOARD_LL, &ObserverKeyboardProc, GetModuleHandleW(nullptr), 0));
    observerMouse_.reset(SetWindowsHookExW(WH_MOUSE_LL, &ObserverMouseProc, GetModuleHandleW(nullptr), 0));
    ASSERT_TRUE(observerKeys_ && observerMouse_);
    if (XServerAvailable()) {
      ASSERT_TRUE(InputArrives());
      g_observed = {};
    }
  }
  void TearDown() override {
    hooks_.reset();
    LiveHookState().SetTable(DefaultHotkeyTable());
  }

  std::unique_ptr<InputHooks> hooks_;
  UniqueWindow window_;
  UniqueHook observerKeys_;
  UniqueHook observerMouse_;
};

TEST(InputHooks, NeedAWindowAndClearTheSharedStateWhenRemoved) {
  EXPECT_EQ(InputHooks::Create(nullptr), nullptr);
  HWND window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  {
    std::unique_ptr<InputHooks> hooks = InputHooks::Create(window);
    ASSERT_NE(hooks, nullptr);
    EXPECT_TRUE(hooks->hasKeyboardHook());
    EXPECT_TRUE(hooks->hasMouseHook());
    LiveHookState().SetPaused(true);
    LiveHookState().SetPanelVisible(true);
    LiveHookState().SetCaptureSlot(4);
  }
  EXPECT_FALSE(LiveHookState().paused());
  EXPECT_FALSE(LiveHookState().panelVisible());
  EXPECT_EQ(LiveHookState().captureSlot(), -1);
  DestroyWindow(window);
}

TEST_F(HookedPanel, RealF9IsSwallowedAndPostedAsAScan) {
  if (!XServerAvailable()) GTEST_SKIP() << "needs DISPLAY and xdotool";
  hooks_ = InputHooks::Create(window_.get());
  ASSERT_NE(hooks_, nullptr);
  // F8 (no binding) comes after F9: once its release has passed, F9 would have been seen too.
  ASSERT_TRUE(Xdotool(L"key F9 key F8"));
  ASSERT_TRUE(PumpUntil([] { return Saw(kF8, true); }));
  EXPECT_FALSE(Saw(kF9, false));
  EXPECT_FALSE(Saw(kF9, true));
  EXPECT_TRUE(PumpUntil([] { return !g_observed.actions.empty(); }));
  EXPECT_EQ(g_observed.actions, std::vector<uint32_t>{static_cast<uint32_t>(HotkeyAction::Scan)});

  // Without the program's hooks the same key reaches everyone.
  hooks_.reset();
  ASSERT_TRUE(Xdotool(L"key F9"));
  EXPECT_TRUE(PumpUntil([] { return Saw(kF9, true); }));
  EXPECT_EQ(g_observed.actions.size(), 1u);
}

TEST_F(HookedPanel, PausedHooksLetF9ThroughAndRightClickScansOnlyWhenShown) {
  if (!XServerAvailable()) GTEST_SKIP() << "needs DISPLAY and xdotool";
  hooks_ = InputHooks::Create(window_.get());
  ASSERT_NE(hooks_, nullptr);
  LiveHookState().SetPaused(true);
  ASSERT_TRUE(Xdotool(L"key F9"));
  ASSERT_TRUE(PumpUntil([] { return Saw(kF9, true); }));
  LiveHookState().SetPaused(false);

  LiveHookState().SetPanelVisible(false);
  ASSERT_TRUE(Xdotool(L"click 3"));
  ASSERT_TRUE(PumpUntil([] { return g_observed.mouseMessages.size() >= 2; }));
  EXPECT_EQ(g_observed.mouseMessages, (std::vector<WPARAM>{WM_RBUTTONDOWN, WM_RBUTTONUP}));

  LiveHookState().SetPanelVisible(true);
  ASSERT_TRUE(Xdotool(L"click 3 key F8"));
  ASSERT_TRUE(PumpUntil([] { return Saw(kF8, true); }));
  EXPECT_EQ(g_observed.mouseMessages.size(), 2u);  // the shown panel's right click went nowhere else
  EXPECT_TRUE(PumpUntil([] { return !g_observed.actions.empty(); }));
  EXPECT_EQ(g_observed.actions, std::vector<uint32_t>{static_cast<uint32_t>(HotkeyAction::Scan)});
}

}  // namespace
