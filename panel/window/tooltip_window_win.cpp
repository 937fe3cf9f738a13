#include "panel/window/tooltip_window_win.h"

#include <commctrl.h>

#include <algorithm>
#include <new>

namespace {
constexpr int kMaxTipWidth = 260;

TTTOOLINFOW ToolFor(HWND owner, HWND control) {
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = owner;
  tool.uId = reinterpret_cast<UINT_PTR>(control);
  return tool;
}
}  // namespace

std::unique_ptr<TooltipWindow> TooltipWindow::Create(HINSTANCE instance, HWND panel, CapturePolicy policy) {
  UniqueWindow window(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX,
                                      CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, panel, nullptr,
                                      instance, nullptr));
  if (window) {
    // No drop shadow of the class: it would be a window of its own that capture could see.
    ULONG_PTR style = GetClassLongPtrW(window.get(), GCL_STYLE);
    if (style & CS_DROPSHADOW) SetClassLongPtrW(window.get(), GCL_STYLE, style & ~ULONG_PTR{CS_DROPSHADOW});
  }
  if (!KeepOnlyIfHidden(window, policy)) return nullptr;
  SendMessageW(window.get(), TTM_SETMAXTIPWIDTH, 0, kMaxTipWidth);
  return std::unique_ptr<TooltipWindow>(new (std::nothrow) TooltipWindow(std::move(window), panel));
}

void TooltipWindow::SetTips(const std::vector<ControlTip>& tips, const std::function<HWND(int id)>& control) {
  for (const ControlTip& tip : tips) {
    HWND child = control(tip.id);
    if (!child) continue;
    TTTOOLINFOW tool = ToolFor(owner_, child);
    tool.lpszText = const_cast<wchar_t*>(tip.text.c_str());  // copied by the tooltip window
    if (std::find(tools_.begin(), tools_.end(), child) != tools_.end()) {
      SendMessageW(window_.get(), TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    } else if (SendMessageW(window_.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool))) {
      tools_.push_back(child);
    }
  }
}

void TooltipWindow::SetAreaTip(UINT_PTR id, const RECT& area, const std::wstring& text) {
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.uFlags = TTF_SUBCLASS;
  tool.hwnd = owner_;
  tool.uId = id;
  tool.rect = area;
  tool.lpszText = const_cast<wchar_t*>(text.c_str());
  if (std::find(areaTools_.begin(), areaTools_.end(), id) == areaTools_.end()) {
    if (SendMessageW(window_.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool))) areaTools_.push_back(id);
    return;
  }
  SendMessageW(window_.get(), TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
  SendMessageW(window_.get(), TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

std::wstring TooltipWindow::AreaTipText(UINT_PTR id, RECT* area) const {
  if (std::find(areaTools_.begin(), areaTools_.end(), id) == areaTools_.end()) return {};
  wchar_t buffer[512] = {};
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.hwnd = owner_;
  tool.uId = id;
  tool.lpszText = buffer;
  if (area && SendMessageW(window_.get(), TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&tool))) *area = tool.rect;
  tool.lpszText = buffer;
  SendMessageW(window_.get(), TTM_GETTEXTW, static_cast<WPARAM>(std::size(buffer)), reinterpret_cast<LPARAM>(&tool));
  return buffer;
}

std::wstring TooltipWindow::TipText(HWND control) const {
  if (std::find(tools_.begin(), tools_.end(), control) == tools_.end()) return {};
  wchar_t buffer[512] = {};
  TTTOOLINFOW tool = ToolFor(owner_, control);
  tool.lpszText = buffer;
  SendMessageW(window_.get(), TTM_GETTEXTW, static_cast<WPARAM>(std::size(buffer)), reinterpret_cast<LPARAM>(&tool));
  return buffer;
}
