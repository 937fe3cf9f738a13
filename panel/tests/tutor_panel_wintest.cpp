// The panel window in this process, with scripted services: controls, placement, hit testing,
// queries and their replies, hotkey messages, stealth and visibility.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <vector>

#include "panel/panel_windows_win.h"
#include "hotkeys/hook_state.h"
#include "panel/tutor_panel_win.h"

namespace {

// Waits (pumping messages) until `done` holds; false after a generous time-out.
bool PumpUntil(const std::function<bool()>& done, std::chrono::seconds limit = std::chrono::seconds(60)) {
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

// A solve operation that records its calls and answers only when released.
struct ScriptedSolve {
  std::mutex lock;
  std::vector<std::pair<QueryKind, std::wstring>> calls;
  std::promise<void> gate;
  std::shared_future<void> opened = gate.get_future().share();
  TutorReply reply;

  size_t CallCount() {
    std::lock_guard<std::mutex> guard(lock);
    return calls.size();
  }
};

TutorServices ServicesFor(const std::shared_ptr<ScriptedSolve>& script, bool hosted,
                          std::shared_ptr<std::atomic<int>> probes = nullptr) {
  TutorServices services;
  services.solve = [script](QueryKind kind, QueryQuality, const std::wstring& text) {
    {
      std::lock_guard<std::mutex> guard(script->lock);
      script->calls.emplace_back(kind, text);
    }
    script->opened.wait_for(std::chrono::seconds(60));
    return script->reply;
  };
  services.probeAccount = [probes]() {
    if (probes) ++*probes;
    AccountInfo info;
    info.hosted = true;
    info.signedIn = true;
    info.email = L"student@example.com";
    return info;
  };
  services.hosted = hosted;
  return services;
}

class PanelWindowTest : public ::testing::Test {
 protected:
  void Start(bool hosted = false) {
    instance_ = GetModuleHandleW(nullptr);
    ASSERT_TRUE(RegisterWindowClasses(instance_, &TutorPanel::WindowProc, nullptr) ||
                GetLastError() == ERROR_CLASS_ALREADY_EXISTS);
    script_->reply.status = TutorReply::Answer;
    script_->reply.text = L"42";
    script_->reply.option = 1;
    panel_ = std::make_unique<TutorPanel>(instance_, ServicesFor(script_, hosted, probes_));
    if (!CreatePanelWindow(instance_, *panel_) && panel_->failedControl() == control_id::Close) {
      // Wine's desktop can refuse the first child window of a process that starts while the
      // desktop comes up; that start is tried once more.
      panel_ = std::make_unique<TutorPanel>(instance_, ServicesFor(script_, hosted, probes_));
      CreatePanelWindow(instance_, *panel_);
    }
    ASSERT_TRUE(panel_->mainWindow()) << "child " << panel_->failedControl() << " error "
                                      << panel_->failedControlError();
    panel_->SetStripWindow(CreateStripWindow(instance_));
    panel_->EvaluateBackdrop();
    panel_->Place(true);
    panel_->SetVisible(true);
  }

  void TearDown() override {
    Release();
    if (panel_ && panel_->mainWindow()) DestroyWindow(panel_->mainWindow());
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {}  // drops the quit message
    panel_.reset();
  }

  void Release() {
    if (!released_) script_->gate.set_value();
    released_ = true;
  }

  void Command(int id, int notification = BN_CLICKED) {
    SendMessageW(panel_->mainWindow(), WM_COMMAND, MAKEWPARAM(id, notification),
                 reinterpret_cast<LPARAM>(panel_->control(id)));
  }

  HINSTANCE instance_ = nullptr;
  std::shared_ptr<ScriptedSolve> script_ = std::make_shared<ScriptedSolve>();
  std::shared_ptr<std::atomic<int>> probes_ = std::make_shared<std::atomic<int>>(0);
  std::unique_ptr<TutorPanel> panel_;
  bool released_ = false;
};

TEST_F(PanelWindowTest, OneWindowOfTheRightClassWithEveryControl) {
  Start();
  HWND found = FindWindowW(L"VykTutorWindow", L"Tavisk");
  ASSERT_EQ(found, panel_->mainWindow());
  LONG_PTR exStyle = GetWindowLongPtrW(found, GWL_EXSTYLE);
  EXPECT_TRUE(exStyle & WS_EX_TOPMOST);
  EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);
  EXPECT_TRUE(IsWindowVisible(found));
  for (const ControlSpec& entry : PanelControlTable()) {
    HWND child = panel_->control(entry.id);
    if (entry.kind == ControlKind::None) {
      EXPECT_EQ(child, nullptr) << entry.id;
      continue;
    }
    ASSERT_NE(child, nullptr) << entry.id;
    EXPECT_EQ(GetDlgCtrlID(child), entry.id);
    EXPECT_EQ(GetParent(child), found);
    wchar_t text[64] = {};
    GetWindowTextW(child, text, 64);
    EXPECT_STREQ(text, entry.text) << entry.id;
  }
  EXPECT_FALSE(IsWindowEnabled(panel_->control(control_id::Send)));
  EXPECT_TRUE(IsWindowVisible(panel_->control(control_id::Scan)));
  EXPECT_FALSE(IsWindowVisible(panel_->control(control_id::QuestionBox)));
}

TEST_F(PanelWindowTest, PlacedInTheBottomRightCornerOfTheWorkArea) {
  Start();
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  GetMonitorInfoW(MonitorFromWindow(panel_->mainWindow(), MONITOR_DEFAULTTONEAREST), &info);
  RECT window{};
  GetWindowRect(panel_->mainWindow(), &window);
  Placement expected;
  ASSERT_TRUE(PlacePanel({info.rcWork.left, info.rcWork.top, info.rcWork.right, info.rcWork.bottom},
                         {}, 1.0f, true, expected));
  EXPECT_EQ(window.left, expected.window.left);
  EXPECT_EQ(window.top, expected.window.top);
  EXPECT_EQ(window.right - window.left, expected.window.Width());
  EXPECT_EQ(window.bottom - window.top, expected.window.Height());
  // The header drags the panel; the dots and the body do not.
  auto hit = [&](int x, int y) {
    return SendMessageW(panel_->mainWindow(), WM_NCHITTEST, 0, MAKELPARAM(window.left + x, window.top + y));
  };
  EXPECT_EQ(hit(200, 20), HTCAPTION);
  EXPECT_EQ(hit(20, 20), HTCLIENT);
  EXPECT_EQ(hit(200, 200), HTCLIENT);
  EXPECT_EQ(SendMessageW(panel_->mainWindow(), WM_NCLBUTTONDBLCLK, HTCAPTION, 0), 0);
}

TEST_F(PanelWindowTest, DpiChangeRescalesAroundTheSuggestedCornerWithinTheWorkArea) {
  Start();
  HWND main = panel_->mainWindow();
  HWND box = panel_->control(control_id::QuestionBox);
  HFONT fontBefore = reinterpret_cast<HFONT>(SendMessageW(box, WM_GETFONT, 0, 0));
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  GetMonitorInfoW(MonitorFromWindow(main, MONITOR_DEFAULTTONEAREST), &info);
  const RECT& work = info.rcWork;
  // The system suggests a rectangle hanging over the bottom-right edge of the work area.
  RECT suggested{work.right - 300, work.bottom - 200, work.right + 282, work.bottom + 529};
  SendMessageW(main, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
  Placement expected;
  ASSERT_TRUE(PlacePanel({work.left, work.top, work.right, work.bottom},
                         {suggested.left, suggested.top, suggested.right, suggested.bottom}, 1.5f, false,
                         expected));
  EXPECT_FLOAT_EQ(panel_->uiScale(), expected.uiScale);
  RECT window{};
  GetWindowRect(main, &window);
  EXPECT_EQ(window.right, work.right);
  EXPECT_EQ(window.bottom, work.bottom);
  EXPECT_EQ(window.right - window.left, expected.window.Width());
  EXPECT_EQ(window.bottom - window.top, expected.window.Height());
  EXPECT_NE(reinterpret_cast<HFONT>(SendMessageW(box, WM_GETFONT, 0, 0)), fontBefore);
  // The child controls follow the new scale.
  RECT scan{};
  GetWindowRect(panel_->control(control_id::Scan), &scan);
  EXPECT_EQ(scan.left - window.left, ScaledPixels(22, panel_->uiScale()));
  EXPECT_EQ(scan.bottom - scan.top, ScaledPixels(40, panel_->uiScale()));
}

TEST_F(PanelWindowTest, SecondScanWhileOneRunsIsIgnoredAndTheReplyIsCollected) {
  Start();
  HWND main = panel_->mainWindow();
  PostMessageW(main, MsgHotkeyAction, 0, 0);
  PostMessageW(main, MsgHotkeyAction, 0, 0);
  ASSERT_TRUE(PumpUntil([&] { return script_->CallCount() >= 1; }));
  ASSERT_TRUE(PumpUntil([&] {  // both messages handled
    MSG msg;
    return !PeekMessageW(&msg, main, MsgHotkeyAction, MsgHotkeyAction, PM_NOREMOVE);
  }));
  EXPECT_TRUE(panel_->queryRunning());
  EXPECT_FALSE(IsWindowEnabled(panel_->control(control_id::Scan)));
  EXPECT_FALSE(IsWindowEnabled(panel_->control(control_id::Snip)));
  Command(control_id::Scan);  // the button is ignored too
  Release();
  ASSERT_TRUE(PumpUntil([&] { return panel_->hasReply(); }));
  EXPECT_EQ(script_->CallCount(), 1u);
  EXPECT_EQ(panel_->lastKind(), QueryKind::Scan);
  EXPECT_EQ(panel_->lastReply().text, L"42");
  EXPECT_FALSE(panel_->queryRunning());
  EXPECT_TRUE(IsWindowEnabled(panel_->control(control_id::Scan)));
  EXPECT_TRUE(IsWindowVisible(panel_->control(control_id::Explanation)));
}

TEST_F(PanelWindowTest, VisionOnScanRunsAVisionScan) {
  Start();
  panel_->settings().visionOnScan = true;
  Release();
  Command(control_id::Scan);
  ASSERT_TRUE(PumpUntil([&] { return panel_->hasReply(); }));
  EXPECT_EQ(script_->calls.at(0).first, QueryKind::VisionScan);
}

TEST_F(PanelWindowTest, TypedQuestionIsTrimmedSentAndClearedFromTheBox) {
  Start();
  HWND box = panel_->control(control_id::QuestionBox);
  Command(control_id::Ask);
  EXPECT_EQ(panel_->page(), PanelPage::Question);
  EXPECT_TRUE(IsWindowVisible(box));
  EXPECT_EQ(GetFocus(), box);
  wchar_t label[32] = {};
  GetWindowTextW(panel_->control(control_id::Ask), label, 32);
  EXPECT_STREQ(label, L"Close question");

  // Blank text starts nothing; the Send button follows text set from code too.
  SetWindowTextW(box, L" \r\n\t");
  EXPECT_TRUE(IsWindowEnabled(panel_->control(control_id::Send)));
  Command(control_id::Send);
  EXPECT_FALSE(panel_->queryRunning());
  EXPECT_EQ(panel_->page(), PanelPage::Question);

  SetWindowTextW(box, L"  What is 2+2?\r\n");
  Release();
  SendMessageW(box, WM_KEYDOWN, VK_RETURN, 0);  // Enter sends
  EXPECT_EQ(panel_->page(), PanelPage::Answer);
  ASSERT_TRUE(PumpUntil([&] { return panel_->hasReply(); }));
  ASSERT_EQ(script_->calls.size(), 1u);
  EXPECT_EQ(script_->calls[0].first, QueryKind::Ask);
  EXPECT_EQ(script_->calls[0].second, L"What is 2+2?");
  // The sent question is gone when the page opens again.
  Command(control_id::Ask);
  EXPECT_EQ(GetWindowTextLengthW(box), 0);
}

TEST_F(PanelWindowTest, QuestionTextSurvivesClosingThePage) {
  Start();
  Command(control_id::Ask);
  SetWindowTextW(panel_->control(control_id::QuestionBox), L"half a question");
  Command(control_id::Ask);
  EXPECT_EQ(panel_->page(), PanelPage::Answer);
  EXPECT_EQ(GetFocus(), panel_->control(control_id::Ask));
  Command(control_id::Settings);
  EXPECT_EQ(panel_->page(), PanelPage::Settings);
  EXPECT_TRUE(IsWindowVisible(panel_->control(control_id::FirstSection)));
  Command(control_id::Ask);  // opening page 1 from settings works too
  wchar_t text[64] = {};
  GetWindowTextW(panel_->control(control_id::QuestionBox), text, 64);
  EXPECT_STREQ(text, L"half a question");
}

TEST_F(PanelWindowTest, HotkeyMessagesToggleVisibilityAndStealth) {
  Start();
  HWND main = panel_->mainWindow();
  HWND strip = panel_->stripWindow();
  SendMessageW(main, MsgHotkeyAction, 2, 0);
  EXPECT_FALSE(panel_->visible());
  EXPECT_FALSE(IsWindowVisible(main));
  EXPECT_FALSE(LiveHookState().panelVisible());
  SendMessageW(main, MsgHotkeyAction, 3, 0);  // stealth, and shown
  EXPECT_TRUE(panel_->stealth());
  EXPECT_TRUE(panel_->visible());
  EXPECT_FALSE(IsWindowVisible(main));
  EXPECT_TRUE(IsWindowVisible(strip));
  SendMessageW(main, MsgHotkeyAction, 2, 0);
  EXPECT_FALSE(IsWindowVisible(strip));
  SendMessageW(main, MsgHotkeyAction, 3, 0);  // back to the panel
  EXPECT_FALSE(panel_->stealth());
  EXPECT_TRUE(IsWindowVisible(main));
  EXPECT_FALSE(IsWindowVisible(strip));
  SendMessageW(main, MsgHotkeyAction, 99, 0);  // unknown actions change nothing
  EXPECT_TRUE(IsWindowVisible(main));
  // Opening the settings page from stealth shows the panel again.
  Command(control_id::FooterStealth);
  EXPECT_TRUE(panel_->stealth());
  panel_->SetPage(PanelPage::Settings);
  EXPECT_FALSE(panel_->stealth());
  EXPECT_TRUE(IsWindowVisible(main));
}

TEST_F(PanelWindowTest, HotkeyButtonsCaptureAndCancel) {
  Start();
  Command(control_id::FirstHotkey + 2);
  EXPECT_EQ(panel_->captureSlot(), 2);
  EXPECT_EQ(LiveHookState().captureSlot(), 2);
  Command(control_id::FirstHotkey + 7);
  EXPECT_EQ(panel_->captureSlot(), 7);
  Command(control_id::FirstHotkey + 7);
  EXPECT_EQ(panel_->captureSlot(), -1);
  EXPECT_EQ(LiveHookState().captureSlot(), -1);
  Command(control_id::FirstHotkey);
  SendMessageW(panel_->mainWindow(), MsgHotkeyCaptured, 0, 0);  // Esc while recording
  EXPECT_EQ(panel_->captureSlot(), -1);
}

TEST_F(PanelWindowTest, ExplanationToggleFlipsItsName) {
  Start();
  EXPECT_TRUE(panel_->explanationShown());
  Command(control_id::Explanation);
  wchar_t text[32] = {};
  GetWindowTextW(panel_->control(control_id::Explanation), text, 32);
  EXPECT_STREQ(text, L"Show explanation");
  EXPECT_FALSE(panel_->explanationShown());
  Command(control_id::Explanation);
  GetWindowTextW(panel_->control(control_id::Explanation), text, 32);
  EXPECT_STREQ(text, L"Hide explanation");
}

TEST_F(PanelWindowTest, AccountProbeRunsOnlyInHostedMode) {
  Start(false);
  panel_->StartAccountProbe();
  EXPECT_FALSE(panel_->accountJobRunning());
  TearDown();
  script_ = std::make_shared<ScriptedSolve>();
  released_ = false;
  Start(true);
  panel_->StartAccountProbe();
  panel_->StartAccountProbe();  // one job at a time
  ASSERT_TRUE(PumpUntil([&] { return !panel_->accountJobRunning(); }));
  EXPECT_EQ(probes_->load(), 1);
  EXPECT_TRUE(panel_->account().signedIn);
  EXPECT_EQ(panel_->account().email, L"student@example.com");
}

TEST_F(PanelWindowTest, DestroyingThePanelEndsTheLoopAndClearsTheHookState) {
  Start();
  HWND main = panel_->mainWindow();
  Command(control_id::FirstHotkey + 1);
  SendMessageW(main, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_FALSE(IsWindow(main));
  EXPECT_EQ(panel_->mainWindow(), nullptr);
  EXPECT_EQ(LiveHookState().captureSlot(), -1);
  EXPECT_FALSE(LiveHookState().panelVisible());
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 0u);
}

}  // namespace
