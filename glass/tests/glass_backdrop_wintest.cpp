// The composition glass where the system has no compositor (Wine): every operation answers as a
// value and the object stays usable, so the panel keeps its plain look and may ask again later.
#include <windows.h>
#include <roapi.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "core/unique_handle_win.h"
#include "glass/glass_backdrop_win.h"

namespace {

TEST(GlassBackdrop, WithoutACompositorEveryOperationFailsAsAValue) {
  ScopedApartment runtime(ScopedApartment::Kind::RuntimeSingleThreaded);
  UniqueWindow panel(CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP, 300, 200, 388, 486, nullptr, nullptr,
                                     GetModuleHandleW(nullptr), nullptr));
  ASSERT_TRUE(panel);
  std::unique_ptr<GlassBackdrop> glass = CreateGlassBackdrop();
  const HRESULT first = glass->Initialise(panel.get());
  std::printf("glass initialisation answered 0x%08lX\n", static_cast<unsigned long>(first));
  if (SUCCEEDED(first)) GTEST_SKIP() << "this system has a compositor";

  // No tree: the style is kept for the build, nothing is drawn or shown.
  glass->SetDark(true);
  EXPECT_TRUE(glass->dark());
  EXPECT_FALSE(glass->RenderFrame(panel.get(), 1.0f, 30.0f));
  const std::vector<unsigned char> pixels(388 * 486 * 4, 0);
  EXPECT_FALSE(glass->Present(pixels.data(), pixels.data(), 388, 486, 30.0f));
  EXPECT_FALSE(glass->lensShown());
  EXPECT_EQ(glass->StatusText(), L"Glass: waiting for desktop frames");
  glass->ReleaseFrameResources();
  glass->Hide();

  // Asked again (the next evaluation), it tries again and answers the same.
  for (int attempt = 0; attempt < 3; ++attempt) EXPECT_EQ(glass->Initialise(panel.get()), first);
}

}  // namespace
