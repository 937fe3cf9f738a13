// The panel as it paints itself on screen, at the nominal 388 x 486 size: pixels of the chrome in
// both plain looks, an answer with math (the model's text read by the program's own reply parser),
// the wheel inside the cards, and screenshots of every state for a person to look at.
#include <windows.h>

#include <gdiplus.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <future>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/dib_section_win.h"
#include "settings/tests/temp_settings_file_win.h"
#include "draw/tests/screenshot_win.h"
#include "panel/window/window_classes_win.h"
#include "panel/tests/message_pump_win.h"
#include "panel/window/tutor_panel_win.h"
#include "math/math_parser.h"
#include "tutor/reply_parse.h"

namespace {

// The model's text for a typed question: an answer with inline and display math, option C.
const std::string kMathAnswer =
    R"({"answer":"One half is $\\frac{1}{2}$ of the whole, and $$\\sum_{k=1}^{n} k = \\frac{n(n+1)}{2}$$ sums the rest.",)"
    R"("explanation":"Split the whole into two equal parts: each is $\\frac{1}{2}$. The sum pairs the first and last terms.",)"
    R"("option":3})";

// The client area's pixels as 0xRRGGBB.
struct Pixels {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> rgb;

  uint32_t At(int x, int y) const { return rgb[size_t(y) * width + x] & 0xFFFFFF; }
  // Pixels of the rectangle that differ from `other` by more than a trace of anti-aliasing.
  int CountDiffering(const Pixels& other, int left, int top, int w, int h) const {
    int count = 0;
    for (int y = top; y < top + h; ++y) {
      for (int x = left; x < left + w; ++x) count += !Near(At(x, y), other.At(x, y), 24);
    }
    return count;
  }
  int CountNot(uint32_t colour, int left, int top, int w, int h) const {
    int count = 0;
    for (int y = top; y < top + h; ++y) {
      for (int x = left; x < left + w; ++x) count += !Near(At(x, y), colour, 24);
    }
    return count;
  }
  static bool Near(uint32_t a, uint32_t b, int tolerance) {
    for (int shift = 0; shift < 24; shift += 8) {
      if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > tolerance) return false;
    }
    return true;
  }
};

// `background` with `argb` drawn over it.
uint32_t Blend(uint32_t background, uint32_t argb) {
  const int alpha = int(argb >> 24);
  uint32_t out = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    int b = int((background >> shift) & 0xFF), f = int((argb >> shift) & 0xFF);
    out |= uint32_t((f * alpha + b * (255 - alpha) + 127) / 255) << shift;
  }
  return out;
}

std::string Hex(uint32_t rgb) {
  char text[16];
  snprintf(text, sizeof text, "%06X", unsigned(rgb));
  return text;
}

class PanelPaintTest : public ::testing::TestWithParam<bool> {
 protected:
  static void SetUpTestSuite() { gdiplus_ = std::make_unique<ScopedGdiplus>(); }
  static void TearDownTestSuite() { gdiplus_.reset(); }

  bool Light() const { return GetParam(); }
  std::string Shot(const char* state) const { return std::string("panel_") + state + (Light() ? "_light" : "_dark"); }

  void SetUp() override {
    ASSERT_TRUE(gdiplus_->started());
    ASSERT_FALSE(settings_.path().empty());
    settings_.Write(Light() ? "[Panel]\r\nGlassStyle=Light\r\nLiquidGlass=0\r\n"
                            : "[Panel]\r\nGlassStyle=Dark\r\nLiquidGlass=0\r\n");
    HINSTANCE instance = GetModuleHandleW(nullptr);
    ASSERT_TRUE(RegisterWindowClasses(instance));

    TutorServices services;
    std::shared_future<void> gate = gate_.get_future().share();
    services.solve = [this, gate](QueryKind kind, QueryQuality, const std::wstring&) {
      gate.wait_for(std::chrono::seconds(60));
      return reply_ ? *reply_ : ParseTutorReply(modelText_, kind);
    };
    services.hosted = false;
    for (int attempt = 0; attempt < 2 && !main_; ++attempt) {
      // Wine's desktop can refuse the first child window of a process that starts while it comes up.
      PanelOptions options;
      options.settingsPath = settings_.path();
      options.observers.replyCollected = [this](const TutorReply& reply) { replies_.push_back(reply); };
      panel_ = TutorPanel::Create(instance, services, std::move(options));
      if (panel_) main_ = panel_->mainWindow();
    }
    ASSERT_TRUE(main_);
    panel_->Start(nullptr);
    RECT client{};
    GetClientRect(main_, &client);
    ASSERT_EQ(client.right, 388);
    ASSERT_EQ(client.bottom, 486);
  }

  void TearDown() override {
    Open();
    if (panel_ && panel_->mainWindow()) DestroyWindow(panel_->mainWindow());
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {}
    panel_.reset();
  }

  void Open() {
    if (!opened_) gate_.set_value();
    opened_ = true;
  }
  HWND Control(int id) const { return GetDlgItem(main_, id); }
  void Command(int id) {
    SendMessageW(main_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(Control(id)));
  }
  void Ask(const wchar_t* question) {
    Command(control_id::Ask);
    SetWindowTextW(Control(control_id::QuestionBox), question);
    SendMessageW(Control(control_id::QuestionBox), WM_KEYDOWN, VK_RETURN, 0);
  }
  void WaitForReply() { ASSERT_TRUE(PumpUntil([&] { return !replies_.empty(); })); }

  // Paints the whole client area now and reads it back from the window.
  Pixels Capture(const char* screenshot = nullptr) {
    InvalidateRect(main_, nullptr, FALSE);
    UpdateWindow(main_);
    GdiFlush();
    Pixels pixels;
    RECT client{};
    GetClientRect(main_, &client);
    WindowDc window(main_);
    UniqueMemoryDc memory(CreateCompatibleDC(window.get()));
    void* bits = nullptr;
    UniqueBitmap copy = CreateTopDownDib(window.get(), client.right, client.bottom, bits);
    if (!memory || !copy) return pixels;
    {
      GdiSelection selected(memory.get(), copy.get());
      BitBlt(memory.get(), 0, 0, client.right, client.bottom, window.get(), 0, 0, SRCCOPY);
    }
    GdiFlush();
    pixels.width = client.right;
    pixels.height = client.bottom;
    const auto* source = static_cast<const uint32_t*>(bits);
    pixels.rgb.assign(source, source + size_t(client.right) * client.bottom);
    if (screenshot) {
      Gdiplus::Bitmap bitmap(client.right, client.bottom, client.right * 4, PixelFormat32bppRGB,
                             static_cast<BYTE*>(bits));
      EXPECT_TRUE(SaveScreenshot(bitmap, screenshot)) << screenshot;
    }
    return pixels;
  }

  static inline std::unique_ptr<ScopedGdiplus> gdiplus_;
  TempSettingsFile settings_;
  std::promise<void> gate_;
  bool opened_ = false;
  std::unique_ptr<TutorPanel> panel_;
  HWND main_ = nullptr;
  std::vector<TutorReply> replies_;
  std::string modelText_;              // what the model answers (set before the query starts)
  std::optional<TutorReply> reply_;    // or a reply of the service's own, such as an error
};

TEST_P(PanelPaintTest, ChromeOfThePlainLook) {
  const Pixels empty = Capture(Shot("empty").c_str());
  ASSERT_EQ(empty.width, 388);
  const uint32_t dots[3] = {0xE16C5D, 0xE8B347, 0x6ABE5D};
  for (int i = 0; i < 3; ++i) {
    EXPECT_TRUE(Pixels::Near(empty.At(21 + 18 * i, 21), dots[i], 6)) << i << ": " << Hex(empty.At(21 + 18 * i, 21));
  }
  const uint32_t background = Light() ? 0xF6F6F9 : 0x1E1E22;
  for (POINT p : {POINT{8, 240}, POINT{379, 300}, POINT{200, 170}, POINT{8, 60}}) {
    EXPECT_TRUE(Pixels::Near(empty.At(p.x, p.y), background, 3)) << p.x << "," << p.y << ": " << Hex(empty.At(p.x, p.y));
  }
  // The rim: one line along the edge, half a pixel in. Wine's GDI+ sets lines drawn with half-pixel
  // offsets half a pixel further right and down than Windows, so the line lands on the first or the
  // second pixel of the left and top edges (and its right and bottom sides fall outside the client).
  const uint32_t rim = Blend(background, Light() ? 0x1C000000 : 0x24FFFFFF);
  for (POINT p : {POINT{0, 243}, POINT{194, 0}, POINT{0, 120}, POINT{300, 0}}) {
    const POINT q{p.x ? p.x : 1, p.y ? p.y : 1};
    EXPECT_TRUE(Pixels::Near(empty.At(p.x, p.y), rim, 6) || Pixels::Near(empty.At(q.x, q.y), rim, 6))
        << p.x << "," << p.y << ": " << Hex(empty.At(p.x, p.y)) << " " << Hex(empty.At(q.x, q.y)) << " wanted "
        << Hex(rim);
    EXPECT_TRUE(Pixels::Near(empty.At(p.x ? p.x : 3, p.y ? p.y : 3), background, 3));  // and only there
  }
  // "Tavisk" is drawn in its rectangle (84, 0, W - 168, 41), and nothing else is there.
  EXPECT_GT(empty.CountNot(background, 84, 0, 388 - 168, 41), 30);
  EXPECT_EQ(empty.CountNot(background, 84, 34, 388 - 168, 7), 0);
}

TEST_P(PanelPaintTest, AnswerWithMathAndOptionIsPaintedAndScrollsWithTheWheel) {
  const Pixels empty = Capture();
  modelText_ = kMathAnswer;
  Ask(L"What is half of the whole?");
  const Pixels busy = Capture(Shot("busy").c_str());
  Open();
  WaitForReply();
  ASSERT_EQ(replies_.at(0).status, TutorReply::Answer) << std::string(replies_[0].text.begin(), replies_[0].text.end());
  ASSERT_EQ(replies_[0].option, 2);
  const Pixels answer = Capture(Shot("answer_math").c_str());

  // The badge "Option C" at (W - 22 - 74, 186, 62, 20), and the answer card's body.
  EXPECT_GT(answer.CountDiffering(empty, 292, 186, 62, 20), 150);
  EXPECT_GT(answer.CountDiffering(empty, 34, 212, 320, 77), 300);
  EXPECT_GT(answer.CountDiffering(busy, 34, 212, 320, 77), 300);
  // The explanation is open: its body (34, 344, 320, 79) holds text.
  EXPECT_GT(answer.CountDiffering(empty, 34, 344, 320, 79), 200);

  // The wheel scrolls the answer only when the pointer is over its body.
  RECT window{};
  GetWindowRect(main_, &window);
  auto wheel = [&](int x, int y) {
    SendMessageW(main_, WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(-WHEEL_DELTA)), MAKELPARAM(window.left + x, window.top + y));
  };
  wheel(200, 60);
  EXPECT_EQ(Capture().CountDiffering(answer, 0, 0, 388, 486), 0);
  wheel(200, 250);
  const Pixels scrolled = Capture();
  EXPECT_GT(scrolled.CountDiffering(answer, 34, 212, 320, 77), 100);
  EXPECT_EQ(scrolled.CountDiffering(answer, 0, 0, 388, 200), 0);
  EXPECT_EQ(scrolled.CountDiffering(answer, 0, 300, 388, 186), 0);
}

TEST_P(PanelPaintTest, FailedRequestShowsTheScanResultCardWithoutExplanation) {
  reply_ = TutorReply::MakeError(L"The tutor service is busy (HTTP 503). Try again in a moment.");
  Open();
  Ask(L"Will this fail?");
  WaitForReply();
  ASSERT_EQ(replies_.at(0).status, TutorReply::Error);
  const Pixels error = Capture(Shot("error").c_str());
  const uint32_t background = Light() ? 0xF6F6F9 : 0x1E1E22;
  // The card's own fill beside its label; no badge where an answer's would be, the message in the body.
  const uint32_t card = error.At(250, 196);
  EXPECT_FALSE(Pixels::Near(card, background, 2)) << Hex(card);
  EXPECT_EQ(error.CountNot(card, 292, 186, 62, 20), 0);
  EXPECT_GT(error.CountNot(card, 34, 212, 320, 40), 100);
  // No explanation header below the card (it would start at y 389).
  EXPECT_EQ(error.CountNot(background, 22, 392, 344, 36), 0);
}

TEST_P(PanelPaintTest, QuestionPageLeavesTheQuestionBoxToItsControl) {
  Command(control_id::Ask);
  SetWindowTextW(Control(control_id::QuestionBox), L"What is the derivative of x squared?");
  const Pixels question = Capture(Shot("question").c_str());
  const uint32_t background = Light() ? 0xF6F6F9 : 0x1E1E22;
  // The label "Your question" at (22, 176, W - 44, 24) and the Send pill at (W - 104, 176 + Q - 35).
  EXPECT_GT(question.CountNot(background, 22, 176, 150, 24), 30);
  const int sendTop = 176 + (486 - 45 - 193) - 35;
  EXPECT_GT(question.CountNot(background, 388 - 104 + 20, sendTop + 4, 50, 1), 40);
}

std::wstring Repeat(std::wstring_view piece, size_t times) {
  std::wstring out;
  for (size_t i = 0; i < times; ++i) out += piece;
  return out;
}

// Hostile answers paint without a crash and scroll to their true end in both cards. The time of
// each paint is printed for people to read (the figures to keep are the paint timing program's).
TEST_P(PanelPaintTest, HostileAnswersPaintAndScrollToTheirEnd) {
  std::wstring huge;
  while (huge.size() < 100000) huge += L"word \xD800 lone \xDC00 halves " + std::to_wstring(huge.size()) + L" ";
  const std::wstring lone{wchar_t(0xD800), L' ', wchar_t(0xDFFF), L' ', L'$', L'x', L'^', wchar_t(0xDC00), L'$',
                          L' ', L'\\', L'(', wchar_t(0xDBFF), L'\\', L')', L' ', L'w', L'o', L'r', L'd', L'\n'};
  const struct {
    const char* name;
    const char* screenshot;
    std::wstring text;
  } cases[] = {
      {"100,000 characters with lone surrogates", "huge_end", huge},
      {"math nested to the parser's bound", "nested_end",
       L"$$" + Repeat(L"\\frac{1}{", kMaxMathNesting) + L"x" + Repeat(L"}", kMaxMathNesting) + L"$$ then $" +
           Repeat(L"\\sqrt{x^{", kMaxMathNesting / 2) + L"y" + Repeat(L"}}", kMaxMathNesting / 2) + L"$ the end"},
      {"a matrix of 1,000 cells", "matrix_end",
       L"$$\\begin{pmatrix}" + Repeat(Repeat(L"a_1 & ", 9) + L"\\frac{1}{2} \\\\", 100) + L"\\end{pmatrix}$$ end"},
      {"lone surrogates in words and math", "surrogates_end", Repeat(lone, 300)},
  };
  Open();
  RECT window{};
  GetWindowRect(main_, &window);
  auto wheelToEnd = [&](int x, int y) {
    for (int i = 0; i < 40; ++i) {
      SendMessageW(main_, WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(-32760)), MAKELPARAM(window.left + x, window.top + y));
    }
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TutorReply reply;
    reply.status = TutorReply::Answer;
    reply.text = c.text;
    reply.explanation = c.text;
    reply.option = 1;
    reply_ = reply;
    const size_t before = replies_.size();
    Ask(L"Say a lot.");
    ASSERT_TRUE(PumpUntil([&] { return replies_.size() > before; }));
    ASSERT_EQ(replies_.back().status, TutorReply::Answer);
    auto started = std::chrono::steady_clock::now();
    const Pixels top = Capture();
    const double firstMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started).count();
    ASSERT_EQ(top.width, 388);

    wheelToEnd(200, 250);  // the answer's body
    wheelToEnd(200, 380);  // the explanation's body
    const Pixels end = Capture(Shot(c.screenshot).c_str());
    EXPECT_GT(end.CountDiffering(top, 34, 212, 320, 77), 100);
    EXPECT_GT(end.CountDiffering(top, 34, 344, 320, 79), 100);
    // At the end already: another notch changes nothing.
    wheelToEnd(200, 250);
    wheelToEnd(200, 380);
    started = std::chrono::steady_clock::now();
    EXPECT_EQ(Capture().CountDiffering(end, 0, 0, 388, 486), 0);
    const double againMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started).count();
    std::printf("[  paint   ] %s: first paint and capture %.1f ms, at the end %.1f ms\n", c.name, firstMs, againMs);
  }
}

INSTANTIATE_TEST_SUITE_P(Themes, PanelPaintTest, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) { return info.param ? "Light" : "Dark"; });

}  // namespace
