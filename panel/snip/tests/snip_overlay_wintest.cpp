// The snip overlay's window procedure: which messages drag, finish and cancel, with the selection
// it reports; nothing reaches the owner after it let go of the overlay.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <vector>

#include "core/unique_handle_win.h"
#include "hotkeys/hook_state.h"
#include "panel/controllers/snip_controller_win.h"
#include "panel/window/window_classes_win.h"
#include "panel/snip/snip_overlay_win.h"

namespace {

LPARAM At(int x, int y) { return MAKELPARAM(static_cast<WORD>(static_cast<SHORT>(x)), static_cast<WORD>(static_cast<SHORT>(y))); }

struct Message {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

struct Case {
  const char* name;
  std::vector<Message> messages;
  std::optional<bool> finished;  // the accept flag reported, or no finish at all
  const wchar_t* sent;           // the rectangle the owner would send, or none
};

// GDI+, the window classes and a hidden owner for the overlay.
struct SnipOverlayWindow : ::testing::Test {
  void SetUp() override {
    ASSERT_TRUE(gdiplus.started());
    ASSERT_TRUE(RegisterWindowClasses(instance));
    owner.reset(CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, instance, nullptr));
    ASSERT_TRUE(owner);
  }
  const ScopedGdiplus gdiplus;
  HINSTANCE instance = GetModuleHandleW(nullptr);
  UniqueWindow owner;
};

TEST_F(SnipOverlayWindow, MessagesDragFinishAndCancel) {
  const PixelRect desktop{-320, 0, 320, 240};  // a monitor left of the primary one
  const std::vector<Case> cases = {
      {"drag and release", {{WM_LBUTTONDOWN, MK_LBUTTON, At(100, 100)}, {WM_MOUSEMOVE, MK_LBUTTON, At(60, 50)},
                            {WM_MOUSEMOVE, MK_LBUTTON, At(50, 40)}, {WM_LBUTTONUP, 0, At(500, 500)}},
       true, L"-270,40,-220,100"},
      {"escape while dragging", {{WM_LBUTTONDOWN, MK_LBUTTON, At(10, 10)}, {WM_MOUSEMOVE, MK_LBUTTON, At(90, 90)},
                                 {WM_KEYDOWN, VK_ESCAPE, 0}}, false, nullptr},
      {"other keys do nothing", {{WM_KEYDOWN, VK_F9, 0}, {WM_KEYDOWN, 'A', 0}}, std::nullopt, nullptr},
      {"right button down", {{WM_RBUTTONDOWN, MK_RBUTTON, At(5, 5)}}, false, nullptr},
      {"right button up", {{WM_RBUTTONUP, 0, At(5, 5)}}, false, nullptr},
      {"capture lost while dragging", {{WM_LBUTTONDOWN, MK_LBUTTON, At(10, 10)}, {WM_MOUSEMOVE, MK_LBUTTON, At(90, 90)},
                                       {WM_CAPTURECHANGED, 0, 0}}, false, nullptr},
      {"capture lost before a drag", {{WM_CAPTURECHANGED, 0, 0}}, std::nullopt, nullptr},
      {"click without a drag", {{WM_LBUTTONDOWN, MK_LBUTTON, At(30, 30)}, {WM_LBUTTONUP, 0, At(30, 30)}}, true, nullptr},
      {"moves without a press", {{WM_MOUSEMOVE, 0, At(30, 30)}, {WM_MOUSEMOVE, 0, At(90, 90)}}, std::nullopt, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::unique_ptr<SnipOverlay> overlay = SnipOverlay::Create(instance, owner.get(), desktop, CapturePolicy::DevTolerated);
    ASSERT_NE(overlay, nullptr);
    HWND window = overlay->handle();
    std::vector<bool> finishes;
    std::optional<PixelRect> sent;
    // As the panel does: end the session, then let go of the overlay (its window goes with it).
    overlay->OnFinish([&](bool accept) {
      finishes.push_back(accept);
      sent = overlay->session().Finish(accept);
      overlay.reset();
    });
    EXPECT_TRUE(overlay->Render());
    for (const Message& m : c.messages) {
      if (!IsWindow(window)) break;
      SendMessageW(window, m.message, m.wParam, m.lParam);
    }
    EXPECT_EQ(finishes.size(), c.finished ? 1u : 0u);
    if (c.finished && !finishes.empty()) EXPECT_EQ(finishes[0], *c.finished);
    EXPECT_EQ(IsWindow(window) != FALSE, !c.finished.has_value());
    if (c.sent) {
      ASSERT_TRUE(sent);
      EXPECT_EQ(SnipRectText(*sent), c.sent);
    } else {
      EXPECT_FALSE(sent);
    }
    EXPECT_NE(GetCapture(), window);
  }
}

TEST_F(SnipOverlayWindow, AnOverlayThatCannotBeDrawnClosesAndTheHotkeysWorkAgain) {
  // A virtual screen far too large for the overlay's bitmap: no invisible overlay is left open with
  // the hotkeys paused, and the panel hears of the failure. A drawable one opens, and the input
  // hooks' Esc (the overlay may lack the focus) ends it.
  PixelRect desktop{0, 0, 60000, 60000};
  int failures = 0;
  std::vector<bool> shown;
  SnipPorts ports;
  ports.queryRunning = [] { return false; };
  ports.desktop = [&desktop] { return desktop; };
  ports.opening = [] {};
  ports.overlayShown = [&shown](bool open) { shown.push_back(open); };
  ports.snipped = [](const PixelRect&) { ADD_FAILURE() << "no snip was dragged"; };
  ports.failed = [&failures] { ++failures; };
  SnipController snip(ports);
  LiveHookState().Reset();

  snip.Open(instance, owner.get(), CapturePolicy::DevTolerated);
  EXPECT_FALSE(snip.open());
  EXPECT_FALSE(LiveHookState().paused());
  EXPECT_EQ(failures, 1);
  EXPECT_TRUE(shown.empty());

  desktop = {0, 0, 320, 240};
  snip.Open(instance, owner.get(), CapturePolicy::DevTolerated);
  EXPECT_TRUE(snip.open());
  EXPECT_TRUE(LiveHookState().paused());
  snip.Cancel();
  EXPECT_FALSE(snip.open());
  EXPECT_FALSE(LiveHookState().paused());
  EXPECT_EQ(failures, 1);
  EXPECT_EQ(shown, (std::vector<bool>{true, false}));
}

}  // namespace
