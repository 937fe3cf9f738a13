// Reading a real multi-line edit for the panel to draw under glass: the text, the selection and the
// visible lines with their rows, in logical pixels, following the box's scrolling.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "core/unique_handle_win.h"
#include "panel/window/question_box_win.h"

namespace {

const std::wstring kText = L"first line\r\nsecond\r\nthird\r\nfourth\r\nfifth\r\nsixth";

TEST(QuestionBoxReading, TextSelectionAndTheVisibleLinesInLogicalPixels) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  UniqueWindow panel(CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 100, 100, 400, 300, nullptr, nullptr,
                                     instance, nullptr));
  ASSERT_TRUE(panel);
  HWND box = CreateWindowExW(0, L"EDIT", kText.c_str(), WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL, 20, 30,
                             200, 60, panel.get(), nullptr, instance, nullptr);
  ASSERT_TRUE(box);
  SendMessageW(box, EM_SETSEL, 3, 8);

  const QuestionBoxView at1 = ReadEditBox(panel.get(), box, 1);
  EXPECT_EQ(at1.text, kText);
  EXPECT_EQ(at1.selectionStart, 3u);
  EXPECT_EQ(at1.selectionEnd, 8u);
  ASSERT_GE(at1.lines.size(), 2u);
  EXPECT_LT(at1.lines.size(), 6u);  // only the rows the 60 pixels show
  EXPECT_EQ(at1.lines[0], (QuestionBoxLine{0, 10, at1.lines[0].top}));
  EXPECT_EQ(at1.lines[1], (QuestionBoxLine{12, 6, at1.lines[0].top + at1.lineHeight}));
  EXPECT_GT(at1.lineHeight, 8);
  EXPECT_GE(at1.lines[0].top, 30);
  EXPECT_LT(at1.lines[0].top, 40);
  EXPECT_GE(at1.left, 20);
  EXPECT_LT(at1.left, 30);
  for (const QuestionBoxLine& line : at1.lines) EXPECT_LT(line.top, 90);

  // At a scale of 2 the same rows come out at half the pixels.
  const QuestionBoxView at2 = ReadEditBox(panel.get(), box, 2);
  ASSERT_EQ(at2.lines.size(), at1.lines.size());
  EXPECT_FLOAT_EQ(at2.lines[1].top, at1.lines[1].top / 2);
  EXPECT_FLOAT_EQ(at2.left, at1.left / 2);

  // Scrolled down two lines, the first row shows the third line.
  SendMessageW(box, EM_LINESCROLL, 0, 2);
  const QuestionBoxView scrolled = ReadEditBox(panel.get(), box, 1);
  ASSERT_FALSE(scrolled.lines.empty());
  EXPECT_EQ(scrolled.lines[0], (QuestionBoxLine{20, 5, at1.lines[0].top}));

  ShowWindow(box, SW_HIDE);
  EXPECT_EQ(ReadEditBox(panel.get(), box, 1), QuestionBoxView{});
}

TEST(QuestionBoxReading, ASingleLineFieldScrolledSidewaysStartsLeftOfItsControl) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  UniqueWindow panel(CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 100, 100, 400, 300, nullptr, nullptr,
                                     instance, nullptr));
  ASSERT_TRUE(panel);
  const std::wstring address = L"a.very.long.address.for.a.narrow.field@example.org";
  HWND field = CreateWindowExW(0, L"EDIT", address.c_str(), WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 20, 30, 80, 20,
                               panel.get(), nullptr, instance, nullptr);
  ASSERT_TRUE(field);
  const QuestionBoxView start = ReadEditBox(panel.get(), field, 1);
  ASSERT_EQ(start.lines.size(), 1u);
  EXPECT_EQ(start.lines[0].first, 0u);
  EXPECT_EQ(start.lines[0].length, address.size());
  EXPECT_GE(start.left, 20);
  EXPECT_LT(start.left, 30);

  // The caret at the end scrolls the text: its start lies left of the control, by the same amount
  // at any scale.
  SetFocus(field);
  SendMessageW(field, EM_SETSEL, address.size(), address.size());
  SendMessageW(field, EM_SCROLLCARET, 0, 0);
  const QuestionBoxView end = ReadEditBox(panel.get(), field, 1);
  ASSERT_EQ(end.lines.size(), 1u);
  EXPECT_EQ(end.lines[0], (QuestionBoxLine{0, address.size(), start.lines[0].top}));
  EXPECT_EQ(end.selectionEnd, address.size());
  EXPECT_LT(end.left, 0);
  EXPECT_FLOAT_EQ(ReadEditBox(panel.get(), field, 2).left, end.left / 2);
}

}  // namespace
