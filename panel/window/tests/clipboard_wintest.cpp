// Copying the answer: the text reaches the clipboard as Unicode text, and a clipboard that cannot be
// opened is left exactly as it was.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "core/unique_handle_win.h"
#include "panel/window/context_menu_win.h"

namespace {
UniqueWindow MessageWindow() {
  return UniqueWindow(CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr));
}

std::wstring ClipboardText(HWND owner) {
  std::wstring text;
  if (!OpenClipboard(owner)) return L"(not opened)";
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
      text = chars;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}
}  // namespace

TEST(Clipboard, CopiesUnicodeTextAndLeavesABusyClipboardAlone) {
  UniqueWindow window = MessageWindow();
  ASSERT_TRUE(window);
  const std::wstring answer = L"x = \u00BD \u2192 \U0001D465\r\n\r\nHalve both sides.";
  ASSERT_TRUE(PutTextOnClipboard(window.get(), answer));
  EXPECT_EQ(ClipboardText(window.get()), answer);

  // Another thread holds the clipboard open: copying fails and nothing changes.
  HANDLE opened = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  UniqueKernelHandle openedEvent(opened), releaseEvent(release);
  std::thread holder([&] {
    UniqueWindow other = MessageWindow();
    bool held = other && OpenClipboard(other.get());
    SetEvent(opened);
    WaitForSingleObject(release, 30000);
    if (held) CloseClipboard();
  });
  WaitForSingleObject(opened, 30000);
  EXPECT_FALSE(PutTextOnClipboard(window.get(), L"lost"));
  SetEvent(release);
  holder.join();
  EXPECT_EQ(ClipboardText(window.get()), answer);
}
