#include "panel/window/context_menu_win.h"

#include <cstring>

#include "core/unique_handle_win.h"

MenuCommand TrackContextMenu(HWND owner, POINT at, const std::vector<MenuItem>& items) {
  UniqueMenu menu(CreatePopupMenu());
  if (!menu) return MenuCommand::None;
  for (const MenuItem& item : items) {
    if (item.command == MenuCommand::None) {
      AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
      continue;
    }
    UINT flags = MF_STRING | (item.greyed ? MF_GRAYED : 0u) | (item.checked ? MF_CHECKED : 0u);
    AppendMenuW(menu.get(), flags, static_cast<UINT_PTR>(item.command), item.text.c_str());
  }
  int chosen = TrackPopupMenu(menu.get(), TPM_RIGHTBUTTON | TPM_NONOTIFY | TPM_RETURNCMD, at.x, at.y, 0, owner,
                              nullptr);
  return static_cast<MenuCommand>(chosen);
}

namespace {
// The clipboard, open for the scope's length.
class OpenedClipboard {
 public:
  explicit OpenedClipboard(HWND owner) noexcept : open_(OpenClipboard(owner) != FALSE) {}
  OpenedClipboard(const OpenedClipboard&) = delete;
  OpenedClipboard& operator=(const OpenedClipboard&) = delete;
  ~OpenedClipboard() {
    if (open_) CloseClipboard();
  }
  bool open() const noexcept { return open_; }

 private:
  bool open_;
};

// Movable global memory holding `text` and its terminating null; null when it cannot be had.
UniqueGlobalMemory CopyToGlobalMemory(std::wstring_view text) {
  const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  UniqueGlobalMemory memory(GlobalAlloc(GMEM_MOVEABLE, bytes));
  if (!memory) return {};
  void* bits = GlobalLock(memory.get());
  if (!bits) return {};
  std::memcpy(bits, text.data(), text.size() * sizeof(wchar_t));
  static_cast<wchar_t*>(bits)[text.size()] = L'\0';
  GlobalUnlock(memory.get());
  return memory;
}
}  // namespace

bool PutTextOnClipboard(HWND owner, std::wstring_view text) {
  OpenedClipboard clipboard(owner);
  if (!clipboard.open()) return false;
  UniqueGlobalMemory memory = CopyToGlobalMemory(text);
  if (!memory) return false;  // before EmptyClipboard: what was there stays
  EmptyClipboard();
  if (!SetClipboardData(CF_UNICODETEXT, memory.get())) return false;
  memory.release();  // the clipboard owns it now
  return true;
}
