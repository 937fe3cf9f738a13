// The lens pass on Direct3D 11 (llvmpipe under Wine) against the CPU reference, and the desktop
// capture where desktop duplication is missing.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "glass/desktop_capture_win.h"
#include "glass/lens_pass_win.h"
#include "glass/lens_reference.h"
#include "glass/lens_shaders_win.h"
#include "glass/tests/lens_fixture_win.h"

namespace {

TEST(LensPass, EmbeddedShadersLoad) {
  ASSERT_GT(kLensVertexShaderSize, 4u);
  ASSERT_GT(kLensPixelShaderSize, 4u);
  EXPECT_EQ(std::memcmp(kLensVertexShader, "DXBC", 4), 0);
  EXPECT_EQ(std::memcmp(kLensPixelShader, "DXBC", 4), 0);
  LensDevice d3d = MakeLensDevice();
  ASSERT_EQ(d3d.result, S_OK) << "Direct3D 11 needs a display under Wine";
  LensPass pass;
  EXPECT_EQ(pass.Create(d3d.device.get()), S_OK);  // both shaders, the sampler and the constant buffer
}

struct LensScene {
  const char* what;
  PixelRect panel;
  float scale;
};

TEST(LensPass, RendersAsTheCpuReference) {
  LensDevice d3d = MakeLensDevice();
  ASSERT_EQ(d3d.result, S_OK) << "Direct3D 11 needs a display under Wine";
  const PixelRect monitor{0, 0, 1920, 1080};
  const BgraImage desktop = SyntheticDesktop(monitor.Width(), monitor.Height());
  UniqueCom<ID3D11Texture2D> desktopCopy = UploadDesktop(d3d.device.get(), desktop);
  ASSERT_TRUE(desktopCopy);
  LensPass pass;
  ASSERT_EQ(pass.Create(d3d.device.get()), S_OK);

  const LensScene scenes[] = {
      {"a 388 x 486 panel in the open", PixelRectAt(700, 300, 388, 486), 1.0f},
      {"the same panel whose crop is clipped by the monitor's corner", PixelRectAt(40, 30, 388, 486), 1.0f},
      {"the panel at scale 1.5, its crop of odd height", PixelRectAt(600, 200, 582, 729), 1.5f},
  };
  for (const LensScene& scene : scenes) {
    SCOPED_TRACE(scene.what);
    const float radius = 30.0f * scene.scale;
    OffscreenTarget target = MakeOffscreenTarget(d3d.device.get(), scene.panel.Width(), scene.panel.Height());
    ASSERT_TRUE(target.view);
    ASSERT_EQ(pass.Render(d3d.device.get(), d3d.context.get(), desktopCopy.get(), monitor, scene.panel, radius,
                          scene.scale, target.view.get()),
              S_OK);
    const BgraImage drawn = ReadBack(d3d.device.get(), d3d.context.get(), target.texture.get());
    ASSERT_EQ(drawn.width, scene.panel.Width());
    ASSERT_EQ(drawn.height, scene.panel.Height());

    const LensCrop crop = LensCropFor(monitor, scene.panel, scene.scale);
    const BgraImage expected = RenderLensReference(MakeLensConstants(monitor, scene.panel, crop, radius, scene.scale),
                                                   CutOut(desktop, crop.sourceBox));
    size_t close = 0, drawnPixels = 0;
    int largest = 0;
    for (size_t i = 0; i < drawn.bytes.size(); i += 4) {
      int worst = 0;
      for (size_t c = 0; c < 4; ++c) worst = std::max(worst, std::abs(drawn.bytes[i + c] - expected.bytes[i + c]));
      largest = std::max(largest, worst);
      if (worst <= 2) ++close;
      if (expected.bytes[i + 3] > 0) ++drawnPixels;
    }
    const size_t pixels = drawn.bytes.size() / 4;
    std::printf("lens pass vs reference (%s): %.4f %% of pixels within 2/255, largest difference %d/255, %zu drawn\n",
                scene.what, 100.0 * static_cast<double>(close) / static_cast<double>(pixels), largest, drawnPixels);
    EXPECT_GE(static_cast<double>(close), 0.999 * static_cast<double>(pixels));
    EXPECT_GT(drawnPixels, 5000u) << "the rim is really drawn";
  }
}

// The frames of a turned monitor as desktop duplication delivers them: frame texel (x, y) shows the
// desktop pixel that the turn puts there (the desktop rectangle of a frame rectangle, as the
// duplication documents it).
BgraImage UnrotatedFrame(const BgraImage& desktop, OutputRotation rotation) {
  const PixelRect size = UnrotatedBox({0, 0, desktop.width, desktop.height}, desktop.width, desktop.height, rotation);
  BgraImage frame = MakeBgraImage(size.Width(), size.Height());
  const int w = desktop.width, h = desktop.height;
  for (int y = 0; y < frame.height; ++y) {
    for (int x = 0; x < frame.width; ++x) {
      int dx = x, dy = y;
      if (rotation == OutputRotation::Rotate90) dx = w - 1 - y, dy = x;
      if (rotation == OutputRotation::Rotate180) dx = w - 1 - x, dy = h - 1 - y;
      if (rotation == OutputRotation::Rotate270) dx = y, dy = h - 1 - x;
      std::copy(desktop.At(dx, dy), desktop.At(dx, dy) + 4, frame.At(x, y));
    }
  }
  return frame;
}

// On a turned monitor the lens is drawn from the unrotated frames exactly as from the same desktop
// the right way up.
TEST(LensPass, TurnedMonitorDrawsAsItsDesktopTheRightWayUp) {
  LensDevice d3d = MakeLensDevice();
  ASSERT_EQ(d3d.result, S_OK) << "Direct3D 11 needs a display under Wine";
  ASSERT_GT(kTurnPixelShaderSize, 4u);
  const PixelRect monitor{-1080, 0, 0, 1920};  // a portrait monitor left of the primary one
  const BgraImage desktop = SyntheticDesktop(monitor.Width(), monitor.Height());
  const PixelRect panel = PixelRectAt(-900, 1300, 388, 486);
  LensPass pass;
  ASSERT_EQ(pass.Create(d3d.device.get()), S_OK);
  OffscreenTarget target = MakeOffscreenTarget(d3d.device.get(), panel.Width(), panel.Height());
  ASSERT_TRUE(target.view);
  UniqueCom<ID3D11Texture2D> upright = UploadDesktop(d3d.device.get(), desktop);
  ASSERT_EQ(pass.Render(d3d.device.get(), d3d.context.get(), upright.get(), monitor, panel, 30, 1, target.view.get()),
            S_OK);
  const BgraImage expected = ReadBack(d3d.device.get(), d3d.context.get(), target.texture.get());
  ASSERT_EQ(expected.width, panel.Width());

  for (OutputRotation rotation : {OutputRotation::Rotate90, OutputRotation::Rotate180, OutputRotation::Rotate270}) {
    SCOPED_TRACE(static_cast<int>(rotation));
    UniqueCom<ID3D11Texture2D> frames = UploadDesktop(d3d.device.get(), UnrotatedFrame(desktop, rotation));
    ASSERT_EQ(pass.Render(d3d.device.get(), d3d.context.get(), frames.get(), monitor, panel, 30, 1, target.view.get(),
                          rotation),
              S_OK);
    const BgraImage drawn = ReadBack(d3d.device.get(), d3d.context.get(), target.texture.get());
    ASSERT_EQ(drawn.bytes.size(), expected.bytes.size());
    size_t differing = 0;
    for (size_t i = 0; i < drawn.bytes.size(); ++i) differing += drawn.bytes[i] != expected.bytes[i] ? 1 : 0;
    EXPECT_EQ(differing, 0u);
  }
}

TEST(DesktopCapture, DuplicationFailureIsReportedWithItsCode) {
  LensDevice d3d = MakeLensDevice();
  ASSERT_EQ(d3d.result, S_OK) << "Direct3D 11 needs a display under Wine";
  // A plain window whose client area stands for the panel.
  UniqueWindow panel(CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP, 300, 200, 388, 486, nullptr, nullptr,
                                     GetModuleHandleW(nullptr), nullptr));
  ASSERT_TRUE(panel);
  PanelPlacement placement = PlacementOf(panel.get());
  ASSERT_TRUE(placement.panel.has_value());
  EXPECT_EQ(*placement.panel, PixelRectAt(300, 200, 388, 486));
  EXPECT_NE(placement.monitor, 0u);

  DesktopCapture capture;
  EXPECT_STREQ(capture.Status(), L"Glass: waiting for desktop frames");
  const HRESULT lensResources = capture.CreateLensResources(d3d.device.get());
  std::printf("lens resources: 0x%08lX, swap chain for composition %s\n", static_cast<unsigned long>(lensResources),
              capture.LensSwapChain() ? "made" : "missing");
  EXPECT_EQ(SUCCEEDED(lensResources), capture.LensSwapChain() != nullptr);
  CaptureOutcome outcome = capture.CaptureAndRender(panel.get(), d3d.device.get(), d3d.context.get(), 1.0f, 30.0f);
  if (outcome.shown || (!outcome.Failed() && std::wcscmp(capture.Status(), kCaptureWaiting) == 0)) {
    GTEST_SKIP() << "this system duplicates the desktop";
  }
  // Wine implements no desktop duplication: DuplicateOutput answers E_NOTIMPL, which is no status
  // of the capture's own but a failure for the glass object to show with its code.
  EXPECT_FALSE(outcome.shown);
  EXPECT_EQ(static_cast<HRESULT>(outcome.failure), E_NOTIMPL) << std::hex << outcome.failure;
  EXPECT_STREQ(capture.Status(), L"Glass: waiting for desktop frames");
  // The next tick tries again and fails the same way, without anything left over.
  outcome = capture.CaptureAndRender(panel.get(), d3d.device.get(), d3d.context.get(), 1.0f, 30.0f);
  EXPECT_EQ(static_cast<HRESULT>(outcome.failure), E_NOTIMPL);
}

}  // namespace
