// Screen copies of windows painted in known colours, on the test's own X screen (1920 x 1080).
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <functional>

#include "screen/capture.h"

namespace {

constexpr int kScreenWidth = 1920;
constexpr int kScreenHeight = 1080;

struct Quadrants {
  COLORREF topLeft, topRight, bottomLeft, bottomRight;
};

constexpr COLORREF kRed = RGB(230, 20, 10);
constexpr COLORREF kGreen = RGB(15, 200, 40);
constexpr COLORREF kBlue = RGB(5, 30, 220);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr Quadrants kColours = {kRed, kGreen, kBlue, kWhite};

// A borderless top-most window that fills its client area with four solid quadrants.
class ColourWindow {
 public:
  ColourWindow(int left, int top, int width, int height, Quadrants colours) : colours_(colours) {
    static const ATOM windowClass = Register();
    window_ = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, MAKEINTATOM(windowClass), L"", WS_POPUP, left, top,
                              width, height, nullptr, nullptr, GetModuleHandleW(nullptr), this);
    if (window_) {
      ShowWindow(window_, SW_SHOWNOACTIVATE);
      UpdateWindow(window_);
    }
  }
  ~ColourWindow() {
    if (window_) DestroyWindow(window_);
  }
  ColourWindow(const ColourWindow&) = delete;
  ColourWindow& operator=(const ColourWindow&) = delete;
  HWND Get() const { return window_; }

 private:
  static ATOM Register() {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"VykTutorScreenTestColours";
    return RegisterClassExW(&windowClass);
  }

  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
      const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
      SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    const auto* self = reinterpret_cast<const ColourWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_ERASEBKGND) return 1;
    if (message == WM_PAINT && self) {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      RECT client;
      GetClientRect(window, &client);
      self->Paint(dc, client);
      EndPaint(window, &paint);
      return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
  }

  void Paint(HDC dc, const RECT& client) const {
    const LONG midX = client.right / 2;
    const LONG midY = client.bottom / 2;
    Fill(dc, {0, 0, midX, midY}, colours_.topLeft);
    Fill(dc, {midX, 0, client.right, midY}, colours_.topRight);
    Fill(dc, {0, midY, midX, client.bottom}, colours_.bottomLeft);
    Fill(dc, {midX, midY, client.right, client.bottom}, colours_.bottomRight);
  }

  static void Fill(HDC dc, RECT area, COLORREF colour) {
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &area, brush);
    DeleteObject(brush);
  }

  Quadrants colours_;
  HWND window_ = nullptr;
};

// Pumps this thread's messages and re-checks `condition` until it holds or the time-out passes.
bool PumpUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout = std::chrono::seconds(20)) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    if (condition()) return true;
    if (std::chrono::steady_clock::now() > deadline) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
  }
}

struct Bgr {
  int blue, green, red;
};

Bgr PixelAt(const ScreenImage& image, int x, int y) {
  const std::uint8_t* p = &image.pixels[(static_cast<std::size_t>(y) * image.width + x) * 4];
  return {p[0], p[1], p[2]};
}

bool IsColour(Bgr pixel, COLORREF colour, int tolerance = 0) {
  return std::abs(pixel.red - GetRValue(colour)) <= tolerance && std::abs(pixel.green - GetGValue(colour)) <= tolerance &&
         std::abs(pixel.blue - GetBValue(colour)) <= tolerance;
}

// Whether every pixel of the rectangle x0..x1 (exclusive) by y0..y1 has the colour.
bool AreaIs(const ScreenImage& image, int x0, int y0, int x1, int y1, COLORREF colour, int tolerance = 0) {
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) {
      if (!IsColour(PixelAt(image, x, y), colour, tolerance)) return false;
    }
  }
  return true;
}

// Waits until the window's four quadrants show on the screen.
bool WaitUntilShown(int left, int top, int width, int height) {
  return PumpUntil([&] {
    const ScreenImage image = CaptureScreenRect(left, top, width, height, 0);
    return IsUsable(image) && IsColour(PixelAt(image, width / 4, height / 4), kRed) &&
           IsColour(PixelAt(image, width * 3 / 4, height * 3 / 4), kWhite);
  });
}

class ScreenCapture : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(GetSystemMetrics(SM_CXSCREEN), kScreenWidth);
    ASSERT_EQ(GetSystemMetrics(SM_CYSCREEN), kScreenHeight);
  }
};

TEST_F(ScreenCapture, FullResolutionCopyHasTheWindowsPixelsTopDown) {
  const int left = 300, top = 200, width = 400, height = 300;
  ColourWindow window(left, top, width, height, kColours);
  ASSERT_TRUE(window.Get());
  ASSERT_TRUE(WaitUntilShown(left, top, width, height));

  // A rectangle that starts inside the window, so every edge of the copy is checked.
  const ScreenImage image = CaptureScreenRect(left + 10, top + 20, 380, 260, 0);
  ASSERT_EQ(image.width, 380);
  ASSERT_EQ(image.height, 260);
  ASSERT_EQ(image.pixels.size(), 380u * 260u * 4u);
  EXPECT_TRUE(AreaIs(image, 0, 0, 190, 130, kRed));
  EXPECT_TRUE(AreaIs(image, 190, 0, 380, 130, kGreen));
  EXPECT_TRUE(AreaIs(image, 0, 130, 190, 260, kBlue));
  EXPECT_TRUE(AreaIs(image, 190, 130, 380, 260, kWhite));
}

TEST_F(ScreenCapture, ScaledCopyKeepsTheAspectAndTheColours) {
  const int left = 100, top = 100, width = 800, height = 400;
  ColourWindow window(left, top, width, height, kColours);
  ASSERT_TRUE(window.Get());
  ASSERT_TRUE(WaitUntilShown(left, top, width, height));

  const ScreenImage image = CaptureScreenRect(left, top, width, height, 200);
  ASSERT_EQ(image.width, 200);
  ASSERT_EQ(image.height, 100);
  ASSERT_EQ(image.pixels.size(), 200u * 100u * 4u);
  // Away from the seams between quadrants, where the halftone filter mixes neighbours.
  EXPECT_TRUE(AreaIs(image, 2, 2, 98, 48, kRed, 2));
  EXPECT_TRUE(AreaIs(image, 102, 2, 198, 48, kGreen, 2));
  EXPECT_TRUE(AreaIs(image, 2, 52, 98, 98, kBlue, 2));
  EXPECT_TRUE(AreaIs(image, 102, 52, 198, 98, kWhite, 2));
}

TEST_F(ScreenCapture, ThumbnailIsTheGreyPrimaryScreen) {
  ColourWindow window(0, 0, kScreenWidth, kScreenHeight, kColours);
  ASSERT_TRUE(window.Get());
  ASSERT_TRUE(WaitUntilShown(0, 0, kScreenWidth, kScreenHeight));

  ScreenThumbnail thumbnail;
  ASSERT_TRUE(CapturePrimaryThumbnail(thumbnail));
  auto lumaAt = [&](int x, int y) { return static_cast<int>(thumbnail.luma[y * kThumbnailWidth + x]); };
  auto expected = [](COLORREF c) { return static_cast<int>(Luma(GetBValue(c), GetGValue(c), GetRValue(c))); };
  for (int y = 0; y < kThumbnailHeight; ++y) {
    for (int x = 0; x < kThumbnailWidth; ++x) {
      if (x == 63 || x == 64 || y == 35 || y == 36) continue;  // the seams
      const COLORREF colour = y < 36 ? (x < 64 ? kRed : kGreen) : (x < 64 ? kBlue : kWhite);
      ASSERT_NEAR(lumaAt(x, y), expected(colour), 2) << x << "," << y;
    }
  }
}

TEST_F(ScreenCapture, FullScreenAreaAndScaledFullScreenCapture) {
  const PixelRect primary = FullScreenArea(false);
  EXPECT_EQ(primary.left, 0);
  EXPECT_EQ(primary.Width(), kScreenWidth);
  EXPECT_EQ(primary.Height(), kScreenHeight);
  const PixelRect desktop = FullScreenArea(true);  // one monitor: the same area
  EXPECT_EQ(desktop.left, GetSystemMetrics(SM_XVIRTUALSCREEN));
  EXPECT_EQ(desktop.Width(), GetSystemMetrics(SM_CXVIRTUALSCREEN));

  const ScreenImage vision = CaptureFullScreen(false, kVisionMaxSide);
  EXPECT_EQ(vision.width, 1440);
  EXPECT_EQ(vision.height, 810);
  EXPECT_EQ(vision.pixels.size(), 1440u * 810u * 4u);
}

TEST_F(ScreenCapture, ImpossibleRectanglesGiveAnEmptyImage) {
  struct Area {
    int left, top, width, height;
  };
  for (const Area& bad : {Area{0, 0, 0, 10}, Area{0, 0, 10, -5}, Area{0, 0, 32768, 10}}) {
    const ScreenImage image = CaptureScreenRect(bad.left, bad.top, bad.width, bad.height, 0);
    EXPECT_FALSE(IsUsable(image));
    EXPECT_TRUE(image.pixels.empty());
  }
}

}  // namespace
