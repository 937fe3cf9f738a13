// The panel and its glass backdrop under Wine: with a scripted glass object, how the panel follows
// its answers (a refused presentation turns glass off, a frame render without a tree stops the
// frame timer, activation ends a back-off, stealth hides the tree); with the real one, that Wine's
// missing compositor leaves the panel on its plain look, and that a hundred switches of the
// "Liquid glass" setting neither crash nor leak.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

#include "settings/tests/temp_settings_file_win.h"
#include "hotkeys/hook_state.h"
#include "panel/window/panel_controls.h"
#include "panel/window/window_classes_win.h"
#include "panel/tests/message_pump_win.h"
#include "panel/window/tutor_panel_win.h"

namespace {

constexpr LONG_PTR kNoRedirectionBitmap = 0x00200000L;
constexpr UINT_PTR kGlassTimer = 3;

// What the panel asked of the scripted glass, and what it answers.
struct GlassScript {
  HRESULT initialise = S_OK;
  bool present = true;
  bool render = true;
  int initialised = 0, presented = 0, rendered = 0, hidden = 0, released = 0, cleared = 0;
  std::vector<bool> darkness;
};

class ScriptedGlass final : public GlassBackdrop {
 public:
  explicit ScriptedGlass(std::shared_ptr<GlassScript> script) : s_(std::move(script)) {}
  HRESULT Initialise(HWND) override {
    ++s_->initialised;
    return s_->initialise;
  }
  void SetDark(bool dark) override { s_->darkness.push_back(dark); }
  bool RenderFrame(HWND, float, float) override {
    ++s_->rendered;
    return s_->render;
  }
  bool Present(const void*, const void*, int, int, float) override {
    ++s_->presented;
    return s_->present;
  }
  void ReleaseFrameResources() override { ++s_->released; }
  void Hide() override { ++s_->hidden; }
  void ClearStatus() override { ++s_->cleared; }
  std::wstring StatusText() const override { return L"Glass: waiting for desktop frames"; }
  bool lensShown() const override { return false; }
  bool dark() const override { return s_->darkness.empty() ? false : s_->darkness.back(); }

 private:
  std::shared_ptr<GlassScript> s_;
};

struct Evaluation {
  bool active;
  HRESULT initialised;
};

class GlassWiringTest : public ::testing::Test {
 protected:
  void Start(std::unique_ptr<GlassBackdrop> glass) {
    ASSERT_FALSE(file_.path().empty());
    file_.Write("[Panel]\r\nLiquidGlass=1\r\nGlassStyle=Light\r\n");
    HINSTANCE instance = GetModuleHandleW(nullptr);
    ASSERT_TRUE(RegisterWindowClasses(instance));
    PanelOptions options;
    options.settingsPath = file_.path();
    options.observers.backdropEvaluated = [this](bool active, HRESULT initialised) {
      evaluations_.push_back({active, initialised});
    };
    std::shared_ptr<std::unique_ptr<GlassBackdrop>> given =
        std::make_shared<std::unique_ptr<GlassBackdrop>>(std::move(glass));
    options.makeGlass = [given] { return std::move(*given); };
    ControlCreationFailure failure;
    panel_ = TutorPanel::Create(instance, TutorServices{}, std::move(options), &failure);
    ASSERT_TRUE(panel_) << "child " << failure.id;
    main_ = panel_->mainWindow();
    panel_->Start(nullptr);
  }

  void TearDown() override {
    if (panel_ && panel_->mainWindow()) DestroyWindow(panel_->mainWindow());
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {}
    panel_.reset();
    LiveHookState().SetTable(DefaultHotkeyTable());
  }

  bool Redirected() const { return !(GetWindowLongPtrW(main_, GWL_EXSTYLE) & kNoRedirectionBitmap); }
  void Command(int id) {
    SendMessageW(main_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(main_, id)));
  }

  TempSettingsFile file_;
  std::unique_ptr<TutorPanel> panel_;
  HWND main_ = nullptr;
  std::vector<Evaluation> evaluations_;
};

TEST_F(GlassWiringTest, ARefusedPresentationTurnsGlassOffAndThePanelPaintsItself) {
  auto script = std::make_shared<GlassScript>();
  script->present = false;
  Start(std::make_unique<ScriptedGlass>(script));
  ASSERT_FALSE(evaluations_.empty());
  if (!evaluations_.back().active) GTEST_SKIP() << "this Wine refuses the host backdrop attribute";
  EXPECT_EQ(script->initialised, 1);
  EXPECT_EQ(script->darkness, std::vector<bool>{false});

  UpdateWindow(main_);
  ASSERT_TRUE(PumpUntil([&] { return script->presented > 0 && Redirected(); }));
  EXPECT_GE(script->hidden, 1);
  EXPECT_GE(script->released, 1);
  EXPECT_FALSE(KillTimer(main_, kGlassTimer)) << "the frame timer outlived glass";
  // The next paint is the plain one: nothing more is handed to the glass.
  const int presented = script->presented;
  InvalidateRect(main_, nullptr, FALSE);
  UpdateWindow(main_);
  EXPECT_EQ(script->presented, presented);
}

TEST_F(GlassWiringTest, FrameTimerRunsUntilAFrameReportsNoTree) {
  auto script = std::make_shared<GlassScript>();
  Start(std::make_unique<ScriptedGlass>(script));
  if (!evaluations_.back().active) GTEST_SKIP() << "this Wine refuses the host backdrop attribute";
  ASSERT_TRUE(PumpUntil([&] { return script->rendered >= 3; }));
  script->render = false;
  const int rendered = script->rendered;
  ASSERT_TRUE(PumpUntil([&] { return script->rendered > rendered; }));
  EXPECT_FALSE(KillTimer(main_, kGlassTimer)) << "frames go on without a tree";
  EXPECT_EQ(script->rendered, rendered + 1);
}

TEST_F(GlassWiringTest, ActivationClearsTheBackOffAndStealthHidesTheTree) {
  auto script = std::make_shared<GlassScript>();
  Start(std::make_unique<ScriptedGlass>(script));
  if (!evaluations_.back().active) GTEST_SKIP() << "this Wine refuses the host backdrop attribute";
  const int cleared = script->cleared;
  SendMessageW(main_, WM_ACTIVATE, WA_ACTIVE, 0);
  EXPECT_EQ(script->cleared, cleared + 1);

  const int hidden = script->hidden;
  Command(control_id::FooterStealth);
  EXPECT_EQ(script->hidden, hidden + 1);
  EXPECT_FALSE(KillTimer(main_, kGlassTimer));
  // Back from stealth the tree is shown again and the frames start over.
  const int initialised = script->initialised;
  SendMessageW(main_, MsgHotkeyAction, static_cast<WPARAM>(HotkeyAction::ToggleMode), 0);
  EXPECT_EQ(script->initialised, initialised + 1);
  const int rendered = script->rendered;
  ASSERT_TRUE(PumpUntil([&] { return script->rendered > rendered; }));
}

// Under glass the panel draws the question box: a new selection in the faded edit (no text
// change, so no EN_CHANGE) must still make the panel draw it anew.
TEST_F(GlassWiringTest, AFadedEditsNewSelectionRepaintsThePanel) {
  auto script = std::make_shared<GlassScript>();
  Start(std::make_unique<ScriptedGlass>(script));
  if (!evaluations_.back().active) GTEST_SKIP() << "this Wine refuses the host backdrop attribute";
  HWND box = GetDlgItem(main_, control_id::QuestionBox);
  ASSERT_TRUE(box);
  SetWindowTextW(box, L"what is 2 + 2");
  UpdateWindow(main_);
  ASSERT_FALSE(GetUpdateRect(main_, nullptr, FALSE));
  SendMessageW(box, EM_SETSEL, 0, 4);
  EXPECT_TRUE(GetUpdateRect(main_, nullptr, FALSE));
}

// The process's committed private memory, region by region (Wine leaves the process memory
// counters' private usage at zero).
SIZE_T PrivateBytes() {
  SIZE_T total = 0;
  MEMORY_BASIC_INFORMATION region{};
  for (auto* address = static_cast<const char*>(nullptr);
       VirtualQuery(address, &region, sizeof(region)) == sizeof(region);
       address = static_cast<const char*>(region.BaseAddress) + region.RegionSize) {
    if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) total += region.RegionSize;
  }
  return total;
}

TEST_F(GlassWiringTest, WithoutACompositorThePanelKeepsItsPlainLookThroughAHundredSwitches) {
  std::unique_ptr<GlassBackdrop> owned = CreateGlassBackdrop();
  GlassBackdrop* glass = owned.get();
  Start(std::move(owned));
  ASSERT_FALSE(evaluations_.empty());
  EXPECT_FALSE(evaluations_.back().active);
  EXPECT_TRUE(Redirected());
  // The failure came back as a value (when the glass was asked at all), and nothing of a tree
  // was kept: no frames, no presentation, the capture's first status and no error.
  std::printf("glass initialisation answered 0x%08lX\n", static_cast<unsigned long>(evaluations_.back().initialised));
  EXPECT_FALSE(glass->RenderFrame(main_, 1.0f, 30.0f));
  const std::vector<uint32_t> pixels(388 * 486);
  EXPECT_FALSE(glass->Present(pixels.data(), pixels.data(), 388, 486, 30.0f));
  EXPECT_EQ(glass->StatusText(), L"Glass: waiting for desktop frames");
  EXPECT_FALSE(glass->lensShown());

  // The setting's segments: 125 "Off", 126 "On". A switch must reach the settings file.
  auto switchGlass = [&](bool on) {
    Command(on ? 126 : 125);
    UpdateWindow(main_);
  };
  for (int i = 0; i < 10; ++i) {
    switchGlass(false);
    switchGlass(true);
  }
  ASSERT_NE(file_.Text().find("LiquidGlass=1"), std::string::npos);
  const size_t before = evaluations_.size();
  const SIZE_T startBytes = PrivateBytes();
  for (int i = 0; i < 100; ++i) {
    switchGlass(false);
    switchGlass(true);
  }
  const SIZE_T endBytes = PrivateBytes();
  EXPECT_EQ(evaluations_.size(), before + 200) << "not every switch evaluated the backdrop";
  for (size_t i = before; i < evaluations_.size(); ++i) {
    ASSERT_FALSE(evaluations_[i].active) << i;
  }
  EXPECT_TRUE(Redirected());
  // What the style status says, in the Settings button's name.
  auto settingsName = [&] {
    wchar_t text[160] = {};
    GetWindowTextW(GetDlgItem(main_, control_id::Settings), text, 160);
    return std::wstring(text);
  };
  EXPECT_EQ(settingsName(), L"Settings: Glass off: Windows transparency unavailable");
  switchGlass(false);
  EXPECT_EQ(settingsName(), L"Settings: Light mode");
  switchGlass(true);
  const long long grown = static_cast<long long>(endBytes) - static_cast<long long>(startBytes);
  std::printf("private bytes: %llu before, %llu after a hundred switches (%+lld)\n",
              static_cast<unsigned long long>(startBytes), static_cast<unsigned long long>(endBytes), grown);
  EXPECT_LT(grown, 1 << 20) << "a hundred switches kept more than 1 MiB";
}

}  // namespace
