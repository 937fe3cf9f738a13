// The message loop's own shortcuts, with a real panel window in this process.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>

#include "app/startup_win.h"
#include "panel/window/window_classes_win.h"
#include "panel/window/tutor_panel_win.h"

namespace {

class MessageLoopTest : public ::testing::Test {
 protected:
  void SetUp() override {
    instance_ = GetModuleHandleW(nullptr);
    ASSERT_TRUE(RegisterWindowClasses(instance_));
    PanelOptions options;
    options.settingsPath = L"";
    ControlCreationFailure failure;
    panel_ = TutorPanel::Create(instance_, TutorServices{}, options, &failure);
    if (!panel_ && failure.id == control_id::Close) {
      panel_ = TutorPanel::Create(instance_, TutorServices{}, options);  // Wine desktop start-up race
    }
    ASSERT_TRUE(panel_);
    panel_->Start(nullptr);
  }

  void TearDown() override {
    if (panel_ && panel_->mainWindow()) DestroyWindow(panel_->mainWindow());
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {}
    panel_.reset();
  }

  HWND Control(int id) const { return GetDlgItem(panel_->mainWindow(), id); }

  HINSTANCE instance_ = nullptr;
  std::unique_ptr<TutorPanel> panel_;
};

BOOL WINAPI FailingGetMessage(LPMSG, HWND, UINT, UINT) {
  SetLastError(ERROR_INVALID_WINDOW_HANDLE);
  return -1;
}

TEST_F(MessageLoopTest, AFailedGetMessageEndsTheLoopWithThePanelWindowAlreadyGone) {
  HWND main = panel_->mainWindow();
  EXPECT_EQ(RunMessageLoop(*panel_, &FailingGetMessage), 1);
  // Before the caller frees the panel, nothing is left that could send a message to it.
  EXPECT_FALSE(IsWindow(main));
  EXPECT_EQ(panel_->mainWindow(), nullptr);
  bool stillThere = IsWindow(main) != FALSE;
  if (stillThere) SetWindowLongPtrW(main, GWLP_USERDATA, 0);  // keep the freed panel out of reach
  panel_.reset();
  if (stillThere) DestroyWindow(main);
}

TEST_F(MessageLoopTest, EscapeInAChildControlEndsTheProgram) {
  HWND main = panel_->mainWindow();
  PostMessageW(Control(control_id::Scan), WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_EQ(RunMessageLoop(*panel_), 0);
  EXPECT_FALSE(IsWindow(main));
}

TEST_F(MessageLoopTest, EscapeElsewhereLeavesThePanelAlone) {
  HWND other = CreateWindowExW(0, L"STATIC", L"another window", WS_POPUP, 0, 0, 10, 10, nullptr,
                               nullptr, instance_, nullptr);
  ASSERT_TRUE(other);
  PostMessageW(other, WM_KEYDOWN, VK_ESCAPE, 0);
  PostQuitMessage(7);
  EXPECT_EQ(RunMessageLoop(*panel_), 0);
  EXPECT_TRUE(IsWindow(panel_->mainWindow()));
  DestroyWindow(other);
}

TEST_F(MessageLoopTest, TheCloseButtonEndsTheLoop) {
  HWND main = panel_->mainWindow();
  HWND close = Control(control_id::Close);
  PostMessageW(main, WM_COMMAND, MAKEWPARAM(control_id::Close, BN_CLICKED),
               reinterpret_cast<LPARAM>(close));
  EXPECT_EQ(RunMessageLoop(*panel_), 0);
  EXPECT_FALSE(IsWindow(main));
  // The system close and the caption double-click never close the panel.
  SetUp();
  main = panel_->mainWindow();
  SendMessageW(main, WM_CLOSE, 0, 0);
  SendMessageW(main, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_TRUE(IsWindow(main));
}

}  // namespace
