// The panel's top-level windows other than the panel itself: each is made by its own type, of its
// own class, owned as it should be, and hidden from screen capture or not made at all, except in a
// development build, which keeps the window and says so in one log line.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/log.h"
#include "panel/window/window_classes_win.h"
#include "panel/stealth/shadow_window_win.h"
#include "panel/snip/snip_overlay_win.h"
#include "panel/stealth/strip_window_win.h"
#include "panel/window/tooltip_window_win.h"
#include "panel/window/top_level_styles_win.h"

namespace {

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

// Whether this system can hide a window from capture at all (Wine cannot).
bool CaptureExclusionWorks(HINSTANCE instance) {
  UniqueWindow probe(CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, instance, nullptr));
  return probe && SetWindowDisplayAffinity(probe.get(), 0x11);
}

struct Made {
  HWND window = nullptr;
  std::function<void()> destroy;  // lets go of the owning object
};

struct Case {
  const char* name;
  std::wstring className;
  DWORD exStyle;  // bits that must be set
  bool owned;
  std::function<Made(HINSTANCE, HWND owner, CapturePolicy)> create;
};

template <class Window>
Made Keep(std::unique_ptr<Window> made) {
  HWND window = made ? made->handle() : nullptr;
  auto held = std::make_shared<std::unique_ptr<Window>>(std::move(made));
  return {window, [held] { held->reset(); }};
}

TEST(TopLevelWindows, EachIsItsOwnClassAndIsKeptOnlyWhenHiddenFromCapture) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  ASSERT_TRUE(RegisterWindowClasses(instance));
  UniqueWindow owner(CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, instance, nullptr));
  ASSERT_TRUE(owner) << "no top-level window, error " << GetLastError();
  const bool excludable = CaptureExclusionWorks(instance);
  const PixelRect desktop{-20, 10, 300, 210};
  const std::vector<Case> cases = {
      {"shadow", kShadowClassName, kLayeredOverlayExStyle, true,
       [](HINSTANCE i, HWND o, CapturePolicy p) { return Keep(ShadowWindow::Create(i, o, p)); }},
      {"strip", kStealthClassName, kLayeredOverlayExStyle, false,
       [](HINSTANCE i, HWND, CapturePolicy p) { return Keep(StripWindow::Create(i, p)); }},
      {"snip", kSnipClassName, WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_TOPMOST, true,
       [desktop](HINSTANCE i, HWND o, CapturePolicy p) { return Keep(SnipOverlay::Create(i, o, desktop, p)); }},
      {"tooltip", TOOLTIPS_CLASSW, WS_EX_TOPMOST, true,
       [](HINSTANCE i, HWND o, CapturePolicy p) { return Keep(TooltipWindow::Create(i, o, p)); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::string> lines;
    SetLogSink([&](const std::string& line) { lines.push_back(line); });

    SetLastError(0);
    Made required = c.create(instance, owner.get(), CapturePolicy::Required);
    DWORD requiredError = GetLastError();
    EXPECT_EQ(required.window != nullptr, excludable);
    if (!excludable) {
      EXPECT_NE(requiredError, 0u);  // why, for whoever reports it
    }
    EXPECT_TRUE(lines.empty());  // refusing is silent here; start-up decides what to say
    required.destroy();

    Made tolerated = c.create(instance, owner.get(), CapturePolicy::DevTolerated);
    SetLogSink(nullptr);
    ASSERT_NE(tolerated.window, nullptr);
    EXPECT_EQ(lines.size(), excludable ? 0u : 1u);
    if (!lines.empty()) {
      EXPECT_EQ(lines[0].rfind("[vyk] Window capture exclusion could not be set (error ", 0), 0u);
    }
    EXPECT_EQ(ClassOf(tolerated.window), c.className);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongPtrW(tolerated.window, GWL_EXSTYLE)) & c.exStyle, c.exStyle);
    EXPECT_EQ(GetWindow(tolerated.window, GW_OWNER), c.owned ? owner.get() : nullptr);
    EXPECT_FALSE(IsWindowVisible(tolerated.window));
    HWND window = tolerated.window;
    tolerated.destroy();
    EXPECT_FALSE(IsWindow(window));  // the object owned its window
  }
}

TEST(TopLevelWindows, ShapesAndPlacesOfTheirOwn) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  ASSERT_TRUE(RegisterWindowClasses(instance));
  UniqueWindow panel(CreateWindowExW(0, L"STATIC", L"panel", WS_POPUP | WS_VISIBLE, 200, 100, 40, 30, nullptr, nullptr,
                                     instance, nullptr));
  ASSERT_TRUE(panel);
  auto rectOf = [](HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return PixelRect{r.left, r.top, r.right, r.bottom};
  };

  auto overlay = SnipOverlay::Create(instance, panel.get(), {-20, 10, 300, 210}, CapturePolicy::DevTolerated);
  ASSERT_NE(overlay, nullptr);
  EXPECT_EQ(rectOf(overlay->handle()), (PixelRect{-20, 10, 300, 210}));
  EXPECT_EQ(reinterpret_cast<HCURSOR>(GetClassLongPtrW(overlay->handle(), GCLP_HCURSOR)),
            LoadCursorW(nullptr, IDC_CROSS));

  auto strip = StripWindow::Create(instance, CapturePolicy::DevTolerated);
  ASSERT_NE(strip, nullptr);
  EXPECT_EQ(rectOf(strip->handle()), (PixelRect{0, 0, 1, 1}));
  strip->Place({1914, 0, 1920, 1040}, true);
  EXPECT_TRUE(strip->shown());
  EXPECT_EQ(rectOf(strip->handle()), (PixelRect{1914, 0, 1920, 1040}));
  strip->Place({0, 0, 4, 1040}, false);
  EXPECT_FALSE(strip->shown());

  auto shadow = ShadowWindow::Create(instance, panel.get(), CapturePolicy::DevTolerated);
  ASSERT_NE(shadow, nullptr);
  // Drawn for the panel's size with a margin of round(32 x scale) all round, at the panel's corner
  // less the margin; it follows the panel and is redrawn for a new scale.
  shadow->Update(panel.get(), true, 1.0f);
  EXPECT_TRUE(IsWindowVisible(shadow->handle()));
  EXPECT_EQ(rectOf(shadow->handle()), (PixelRect{168, 68, 272, 162}));
  SetWindowPos(panel.get(), nullptr, 300, 150, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  shadow->Update(panel.get(), true, 1.0f);
  EXPECT_EQ(rectOf(shadow->handle()), (PixelRect{268, 118, 372, 212}));
  shadow->Update(panel.get(), true, 1.5f);
  EXPECT_EQ(rectOf(shadow->handle()), (PixelRect{252, 102, 388, 228}));
  shadow->Update(panel.get(), false, 1.5f);
  EXPECT_FALSE(IsWindowVisible(shadow->handle()));
}

}  // namespace
