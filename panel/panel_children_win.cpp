// The panel's child controls: creation, fonts and brushes, placement per page, button states and
// the shared subclass procedure.
#include "panel/tutor_panel_win.h"

#include <commctrl.h>

#include <cmath>

#include "panel/panel_layout.h"

namespace {
constexpr UINT_PTR kSubclassId = 1;

bool ShiftDown() { return (GetKeyState(VK_SHIFT) & 0x8000) != 0; }

LRESULT CALLBACK ControlSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                     UINT_PTR, DWORD_PTR) noexcept;
}  // namespace

// The subclass procedure shared by every child control, with the panel as its reference data.
struct PanelControlHooks {
  static bool IsButton(int id) {
    return id != control_id::QuestionBox && id != control_id::SignInField;
  }

  // Enter never reaches a control: it sends, signs in or clicks.
  static LRESULT OnEnter(TutorPanel& panel, HWND window, int id) {
    if (id == control_id::QuestionBox) {
      if (ShiftDown()) {
        if (panel.page_ == PanelPage::Question) {
          SendMessageW(window, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"\r\n"));
        }
      } else {
        SendMessageW(panel.main_, WM_COMMAND, MAKEWPARAM(control_id::Send, BN_CLICKED),
                     reinterpret_cast<LPARAM>(panel.control(control_id::Send)));
      }
    } else if (id == control_id::SignInField) {
      SendMessageW(panel.main_, WM_COMMAND, MAKEWPARAM(control_id::SendCode, BN_CLICKED),
                   reinterpret_cast<LPARAM>(panel.control(control_id::SendCode)));
    } else {
      SendMessageW(window, BM_CLICK, 0, 0);
    }
    return 0;
  }

  static LRESULT Handle(TutorPanel& panel, HWND window, UINT message, WPARAM wParam,
                        LPARAM lParam) noexcept {
    int id = GetDlgCtrlID(window);
    switch (message) {
      case WM_SETFOCUS:
      case WM_KILLFOCUS: {
        LRESULT result = DefSubclassProc(window, message, wParam, lParam);
        if (!IsButton(id)) panel.UpdateCaretTimer();
        InvalidateRect(panel.main_, nullptr, FALSE);
        return result;
      }
      case WM_SETTEXT: {
        LRESULT result = DefSubclassProc(window, message, wParam, lParam);
        if (id == control_id::QuestionBox && result) {
          SendMessageW(panel.main_, WM_COMMAND, MAKEWPARAM(id, EN_CHANGE),
                       reinterpret_cast<LPARAM>(window));
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
        if (checked && checked->message == WM_KEYDOWN && checked->wParam == VK_RETURN) {
          return DLGC_WANTALLKEYS;
        }
        break;
      }
      case WM_KEYDOWN:
        if (wParam == VK_RETURN) {
          try {
            return OnEnter(panel, window, id);
          } catch (...) {
            return 0;
          }
        }
        break;
      case WM_CHAR:
        if (wParam == L'\r') return 0;
        break;
      case WM_MOUSEMOVE:
        if (IsButton(id) && panel.hotControl_ != id) {
          panel.hotControl_ = id;
          TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, window, 0};
          TrackMouseEvent(&track);
          InvalidateRect(panel.main_, nullptr, FALSE);
        }
        break;
      case WM_MOUSELEAVE:
        if (panel.hotControl_ == id) {
          panel.hotControl_ = 0;
          InvalidateRect(panel.main_, nullptr, FALSE);
        }
        break;
      case WM_NCDESTROY:
        RemoveWindowSubclass(window, ControlSubclassProc, kSubclassId);
        break;
    }
    return DefSubclassProc(window, message, wParam, lParam);
  }
};

namespace {
LRESULT CALLBACK ControlSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                     UINT_PTR, DWORD_PTR data) noexcept {
  auto* panel = reinterpret_cast<TutorPanel*>(data);
  return PanelControlHooks::Handle(*panel, window, message, wParam, lParam);
}
}  // namespace

HWND TutorPanel::CreateChild(const wchar_t* className, const ControlSpec& entry, DWORD style,
                             DWORD exStyle) {
  return CreateWindowExW(exStyle, className, entry.text, style, 0, 0, 0, 0, main_,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(entry.id)), instance_, nullptr);
}

bool TutorPanel::CreateControls() {
  for (const ControlSpec& entry : PanelControlTable()) {
    if (entry.kind == ControlKind::None) continue;
    bool edit = entry.kind != ControlKind::Button;
    DWORD style = WS_CHILD | WS_TABSTOP;
    DWORD exStyle = 0;
    if (entry.kind == ControlKind::Button) style |= BS_OWNERDRAW;
    if (entry.kind == ControlKind::QuestionEdit) style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
    if (entry.kind == ControlKind::SignInEdit) style |= ES_AUTOHSCROLL;
    if (edit) exStyle |= WS_EX_LAYERED;
    HWND child = CreateChild(edit ? L"EDIT" : L"BUTTON", entry, style, exStyle);
    // Layered child windows need a program that declares itself for Windows 8 or later; without
    // that the edit is still made, only it cannot be faded out under the glass backdrop.
    if (!child && edit) child = CreateChild(L"EDIT", entry, style, 0);
    if (!child) {
      failedControlError_ = GetLastError();
      failedControl_ = entry.id;
      return false;
    }
    controls_[static_cast<size_t>(entry.id - kFirstControlId)] = child;
    SetWindowSubclass(child, ControlSubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
    if (!edit) continue;
    SetLayeredWindowAttributes(child, 0, 255, LWA_ALPHA);
    SendMessageW(child, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(3, 3));
    bool question = entry.kind == ControlKind::QuestionEdit;
    SendMessageW(child, EM_SETLIMITTEXT, question ? kQuestionMaxChars : kSignInMaxChars, 0);
    if (question) SendMessageW(child, EM_SETCUEBANNER, TRUE, reinterpret_cast<LPARAM>(kQuestionCue));
  }
  EnableWindow(control(control_id::Send), FALSE);
  return true;
}

void TutorPanel::RecreateEditFont() {
  int height = -static_cast<int>(std::lround(15.0f * uiScale_));
  UniqueFont font(CreateFontW(height, 0, 0, 0, 500, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                              OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                              DEFAULT_PITCH, L"Segoe UI"));
  if (!font) return;
  for (int id : {control_id::QuestionBox, control_id::SignInField}) {
    if (HWND edit = control(id)) SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
  }
  editFont_ = std::move(font);  // the previous font is deleted only now that no edit uses it
}

void TutorPanel::RemakeEditBrush() {
  editBrush_.reset(CreateSolidBrush(settings_.lightTheme ? RGB(249, 249, 249) : RGB(42, 42, 42)));
}

void TutorPanel::DeleteEditGdiObjects() {
  editFont_.reset();
  editBrush_.reset();
}

void TutorPanel::PlaceControl(int id, const LogicalRect& rect, bool shown) {
  HWND child = control(id);
  if (!child) return;
  int x = ScaledPixels(rect.x, uiScale_);
  int y = ScaledPixels(rect.y, uiScale_);
  int width = ScaledPixels(rect.width, uiScale_);
  int height = ScaledPixels(rect.height, uiScale_);
  SetWindowPos(child, nullptr, x, y, std::max(width, 0), std::max(height, 0),
               SWP_NOZORDER | SWP_NOACTIVATE | (shown ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

void TutorPanel::Relayout() {
  if (stealth_ || !main_ || !control(control_id::Close)) return;
  float w = LogicalWidth();
  float h = LogicalHeight();
  bool settingsPage = page_ == PanelPage::Settings;
  bool questionPage = page_ == PanelPage::Question;
  for (int i = 0; i < 3; ++i) PlaceControl(control_id::Close + i, WindowDotRect(i), true);
  PlaceControl(control_id::Settings, SettingsButtonRect(w), true);
  PlaceControl(control_id::Snip, SnipButtonRect(w), !settingsPage);
  PlaceControl(control_id::Scan, ScanButtonRect(w), !settingsPage);
  PlaceControl(control_id::Ask, AskButtonRect(w), !settingsPage);
  PlaceControl(control_id::QuestionBox, QuestionBoxRect(w, h), questionPage);
  PlaceControl(control_id::Send, SendButtonRect(w, h), questionPage);
  bool answerShown = page_ == PanelPage::Answer && hasReply_ && !job_ &&
                     lastReply_.status == TutorReply::Answer;
  PlaceControl(control_id::Explanation, AnswerPageCards(w, h, explanationShown_).explanationHeader,
               answerShown);
  PlaceControl(control_id::FooterStealth, FooterStealthRect(w, h), true);
  for (int i = 0; i < 5; ++i) {
    PlaceControl(control_id::FirstSection + i, SectionHeaderRect(w, i, openSection_), settingsPage);
  }
  LayoutSettingsPage(settingsPage);
}

bool TutorPanel::QuestionBoxHasText() const {
  HWND box = control(control_id::QuestionBox);
  return box && GetWindowTextLengthW(box) > 0;
}

std::wstring TutorPanel::QuestionBoxText() const {
  HWND box = control(control_id::QuestionBox);
  if (!box) return {};
  int length = GetWindowTextLengthW(box);
  if (length <= 0) return {};
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  int copied = GetWindowTextW(box, text.data(), length + 1);
  text.resize(static_cast<size_t>(std::max(copied, 0)));
  return text;
}

void TutorPanel::UpdateSendButton() {
  if (HWND send = control(control_id::Send)) {
    EnableWindow(send, SendButtonEnabled(page_, static_cast<bool>(job_), QuestionBoxHasText()));
  }
}

void TutorPanel::SetQueryButtonsEnabled(bool enabled) {
  for (int id : {control_id::Scan, control_id::Snip}) {
    if (HWND button = control(id)) EnableWindow(button, enabled);
  }
}

void TutorPanel::FocusControl(int id) {
  if (HWND child = control(id)) SetFocus(child);
}
