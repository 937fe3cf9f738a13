#include "panel/window/panel_controls_win.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>

#include "panel/panel_texts.h"
#include "panel/window/procedure_guard.h"

namespace {
constexpr UINT_PTR kSubclassId = 1;

bool IsButton(int id) { return id != control_id::QuestionBox && id != control_id::SignInField; }
bool ShiftDown() { return (GetKeyState(VK_SHIFT) & 0x8000) != 0; }

// Sends the parent a click of button `id`, as the button itself would.
void ClickCommand(HWND parent, int id, HWND button) {
  SendMessageW(parent, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}
}  // namespace

HWND PanelControls::CreateChild(HWND parent, HINSTANCE instance, const wchar_t* className,
                                const ControlSpec& entry, DWORD style, DWORD exStyle) {
  return CreateWindowExW(exStyle, className, entry.text, style, 0, 0, 0, 0, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(entry.id)), instance, nullptr);
}

bool PanelControls::Create(HWND parent, HINSTANCE instance, ControlEvents events) {
  events_ = std::move(events);
  for (const ControlSpec& entry : PanelControlTable()) {
    if (entry.kind == ControlKind::None) continue;
    bool edit = entry.kind != ControlKind::Button;
    DWORD style = WS_CHILD | WS_TABSTOP;
    DWORD exStyle = 0;
    if (entry.kind == ControlKind::Button) style |= BS_OWNERDRAW;
    if (entry.kind == ControlKind::QuestionEdit) style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
    if (entry.kind == ControlKind::SignInEdit) style |= ES_AUTOHSCROLL;
    if (edit) exStyle |= WS_EX_LAYERED;
    HWND child = CreateChild(parent, instance, edit ? L"EDIT" : L"BUTTON", entry, style, exStyle);
    // Layered child windows need a program that declares itself for Windows 8 or later; without
    // that the edit is still made, only it cannot be faded out under the glass backdrop.
    if (!child && edit) child = CreateChild(parent, instance, L"EDIT", entry, style, 0);
    if (!child) {
      failure_ = {entry.id, GetLastError()};
      return false;
    }
    handles_[static_cast<size_t>(entry.id - kFirstControlId)] = child;
    SetWindowSubclass(child, &SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
    if (!edit) continue;
    SetLayeredWindowAttributes(child, 0, 255, LWA_ALPHA);
    SendMessageW(child, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(3, 3));
    bool question = entry.kind == ControlKind::QuestionEdit;
    SendMessageW(child, EM_SETLIMITTEXT, question ? kQuestionMaxChars : kSignInMaxChars, 0);
    const wchar_t* cue = question ? panel_text::QuestionCue : panel_text::EmailPrompt;
    SendMessageW(child, EM_SETCUEBANNER, TRUE, reinterpret_cast<LPARAM>(cue));
  }
  Enable(control_id::Send, false);
  return true;
}

HWND PanelControls::Get(int id) const {
  if (id < kFirstControlId || id > kLastControlId) return nullptr;
  return handles_[static_cast<size_t>(id - kFirstControlId)];
}

void PanelControls::Place(const std::vector<ControlPlacement>& placements, float uiScale) {
  for (const ControlPlacement& placement : placements) {
    HWND child = Get(placement.id);
    if (!child) continue;
    const RectF& rect = placement.rect;
    SetWindowPos(child, nullptr, ScaledPixels(rect.x, uiScale), ScaledPixels(rect.y, uiScale),
                 std::max(ScaledPixels(rect.width, uiScale), 0), std::max(ScaledPixels(rect.height, uiScale), 0),
                 SWP_NOZORDER | SWP_NOACTIVATE | (placement.shown ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
  }
}

void PanelControls::RecreateEditFont(float uiScale) {
  int height = -static_cast<int>(std::lround(15.0f * uiScale));
  UniqueFont font(CreateFontW(height, 0, 0, 0, 500, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                              CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH, L"Segoe UI"));
  if (!font) return;
  for (int id : {control_id::QuestionBox, control_id::SignInField}) {
    if (HWND edit = Get(id)) SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
  }
  editFont_ = std::move(font);  // the previous font is deleted only now that no edit uses it
}

void PanelControls::RemakeEditBrush(bool lightTheme) {
  editBrush_.reset(CreateSolidBrush(lightTheme ? RGB(249, 249, 249) : RGB(42, 42, 42)));
}

HBRUSH PanelControls::editBrush(bool lightTheme) {
  if (!editBrush_) RemakeEditBrush(lightTheme);
  return editBrush_.get();
}

void PanelControls::DeleteEditGdiObjects() {
  editFont_.reset();
  editBrush_.reset();
}

void PanelControls::SetEditsFaded(bool faded) {
  editsFaded_ = faded;
  for (int id : {control_id::QuestionBox, control_id::SignInField}) {
    HWND edit = Get(id);
    if (!edit) continue;
    SetLayeredWindowAttributes(edit, 0, faded ? 1 : 255, LWA_ALPHA);
    if (IsWindowVisible(edit)) InvalidateRect(edit, nullptr, TRUE);
  }
}

std::wstring PanelControls::Text(int id) const {
  HWND control = Get(id);
  if (!control) return {};
  int length = GetWindowTextLengthW(control);
  if (length <= 0) return {};
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  int copied = GetWindowTextW(control, text.data(), length + 1);
  text.resize(static_cast<size_t>(std::max(copied, 0)));
  return text;
}

bool PanelControls::HasText(int id) const {
  HWND control = Get(id);
  return control && GetWindowTextLengthW(control) > 0;
}

void PanelControls::SetText(int id, const wchar_t* text) {
  if (HWND control = Get(id)) SetWindowTextW(control, text);
}

void PanelControls::Enable(int id, bool enabled) {
  if (HWND control = Get(id)) EnableWindow(control, enabled ? TRUE : FALSE);
}

void PanelControls::Focus(int id) {
  if (HWND control = Get(id)) SetFocus(control);
}

LRESULT PanelControls::EditColours(HDC dc, bool lightTheme) {
  SetTextColor(dc, lightTheme ? RGB(28, 28, 28) : RGB(245, 245, 245));
  SetBkColor(dc, lightTheme ? RGB(249, 249, 249) : RGB(42, 42, 42));
  return reinterpret_cast<LRESULT>(editBrush(lightTheme));
}

bool PanelControls::Focused(int id) const {
  HWND control = Get(id);
  return control && GetFocus() == control;
}

LRESULT CALLBACK PanelControls::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                             DWORD_PTR data) noexcept {
  auto* controls = reinterpret_cast<PanelControls*>(data);
  if (message == WM_NCDESTROY) RemoveWindowSubclass(window, &SubclassProc, kSubclassId);
  try {
    return controls->HandleMessage(window, message, wParam, lParam);
  } catch (...) {
    LogCaughtInWindowProcedure();
    return 0;
  }
}

namespace {

// Messages after which a faded edit may show other text, another caret position, selection or
// scroll: typing, clicks, drags, scrolling, the clipboard, undo and the selection messages.
bool MayChangeWhatAnEditShows(UINT message, WPARAM wParam) {
  switch (message) {
    case WM_KEYDOWN: case WM_KEYUP: case WM_CHAR: case WM_SYSKEYDOWN: case WM_SYSKEYUP:
    case WM_LBUTTONDOWN: case WM_LBUTTONUP: case WM_LBUTTONDBLCLK: case WM_RBUTTONDOWN:
    case WM_RBUTTONUP: case WM_MBUTTONDOWN: case WM_MBUTTONUP:
    case WM_VSCROLL: case WM_MOUSEWHEEL:
    case WM_CUT: case WM_PASTE: case WM_UNDO: case WM_CLEAR:
    case EM_UNDO: case EM_SETSEL: case EM_REPLACESEL: case EM_SCROLL: case EM_LINESCROLL: case EM_SCROLLCARET:
      return true;
    case WM_MOUSEMOVE: return (wParam & MK_LBUTTON) != 0;
    default: return false;
  }
}

}  // namespace

// Enter never reaches a control: it sends, signs in or clicks.
LRESULT PanelControls::OnEnter(HWND window, int id) {
  HWND parent = GetParent(window);
  if (id == control_id::QuestionBox) {
    if (!ShiftDown()) {
      ClickCommand(parent, control_id::Send, Get(control_id::Send));
    } else if ((events_.questionPageOpen && events_.questionPageOpen())) {
      SendMessageW(window, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"\r\n"));
    }
  } else if (id == control_id::SignInField) {
    ClickCommand(parent, control_id::SendCode, Get(control_id::SendCode));
  } else {
    SendMessageW(window, BM_CLICK, 0, 0);
  }
  return 0;
}

LRESULT PanelControls::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  int id = GetDlgCtrlID(window);
  HWND parent = GetParent(window);
  switch (message) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
      LRESULT result = DefSubclassProc(window, message, wParam, lParam);
      if (!IsButton(id) && events_.editFocusChanged) events_.editFocusChanged();
      InvalidateRect(parent, nullptr, FALSE);
      return result;
    }
    case WM_SETTEXT: {
      // A visible button clears its old label with the parent's control-colour brush before it
      // takes a new one, which would flash a box over the panel's own drawing of that button. Its
      // text is only its accessible name, so it is stored without the button's painting.
      if (IsButton(id)) return DefWindowProcW(window, message, wParam, lParam);
      LRESULT result = DefSubclassProc(window, message, wParam, lParam);
      if (id == control_id::QuestionBox && result) {
        SendMessageW(parent, WM_COMMAND, MAKEWPARAM(id, EN_CHANGE), reinterpret_cast<LPARAM>(window));
      }
      return result;
    }
    case WM_PAINT:
      if (!IsButton(id)) break;
      ValidateRect(window, nullptr);  // the panel paints its buttons itself
      return 0;
    case WM_ERASEBKGND:
      if (IsButton(id)) return 1;
      break;
    case WM_GETDLGCODE: {
      const MSG* checked = reinterpret_cast<const MSG*>(lParam);
      if (checked && checked->message == WM_KEYDOWN && checked->wParam == VK_RETURN) return DLGC_WANTALLKEYS;
      break;
    }
    case WM_KEYDOWN:
      if (wParam == VK_RETURN) return OnEnter(window, id);
      break;
    case WM_CHAR:
      if (wParam == L'\r') return 0;
      break;
    case WM_MOUSEMOVE:
      if (IsButton(id) && hotControl_ != id) {
        hotControl_ = id;
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, window, 0};
        TrackMouseEvent(&track);
        InvalidateRect(parent, nullptr, FALSE);
      }
      break;
    case WM_MOUSELEAVE:
      if (hotControl_ == id) {
        hotControl_ = 0;
        InvalidateRect(parent, nullptr, FALSE);
      }
      break;
  }
  if (editsFaded_ && !IsButton(id) && MayChangeWhatAnEditShows(message, wParam)) {
    LRESULT result = DefSubclassProc(window, message, wParam, lParam);
    if (events_.fadedEditTouched) events_.fadedEditTouched();
    return result;
  }
  return DefSubclassProc(window, message, wParam, lParam);
}
