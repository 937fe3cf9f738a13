// The panel window's procedure: one handler per message, none of which lets an exception out.
#include <windowsx.h>

#include "panel/panel_layout.h"
#include "panel/tutor_panel_win.h"

LRESULT CALLBACK TutorPanel::WindowProc(HWND window, UINT message, WPARAM wParam,
                                        LPARAM lParam) noexcept {
  TutorPanel* panel = nullptr;
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    panel = static_cast<TutorPanel*>(create->lpCreateParams);
    if (!panel) return FALSE;
    panel->main_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(panel));
  } else {
    panel = reinterpret_cast<TutorPanel*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  }
  if (!panel) return DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    panel->main_ = nullptr;
    return DefWindowProcW(window, message, wParam, lParam);
  }
  return panel->HandleMessage(message, wParam, lParam);
}

LRESULT TutorPanel::Default(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  return DefWindowProcW(main_, message, wParam, lParam);
}

LRESULT TutorPanel::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  switch (message) {
    case WM_CREATE: return OnCreate();
    case WM_DESTROY: return OnDestroy();
    case WM_SIZE: return OnSize(wParam);
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE && glassActive_) {
        if (glass_) glass_->ClearCachedStatus();
        UpdateGlassTimer();
      }
      return Default(message, wParam, lParam);
    case WM_PAINT: Paint(); return 0;
    case WM_SETTINGCHANGE:
    case WM_THEMECHANGED:
    case WM_DWMCOMPOSITIONCHANGED:
      EvaluateBackdrop();
      return Default(message, wParam, lParam);
    case WM_WINDOWPOSCHANGED:
      UpdateShadow();
      return Default(message, wParam, lParam);
    case WM_CONTEXTMENU:
      if (lParam == -1) OpenContextMenu(-1, -1);
      return 0;
    case WM_DISPLAYCHANGE:
      if (glass_) glass_->ReleaseFrameResources();
      Place(false);
      if (stealth_) {
        PositionStrip();
        RedrawStrip(pulseStart_ != 0);
      }
      return Default(message, wParam, lParam);
    case WM_NCHITTEST: return OnHitTest(lParam);
    case WM_ERASEBKGND:
    case WM_DRAWITEM: return 1;
    case WM_NCACTIVATE:
      if (glassActive_) return Default(message, TRUE, -1);
      return Default(message, wParam, lParam);
    case WM_NCLBUTTONDBLCLK:
      if (wParam == HTCAPTION) return 0;
      return Default(message, wParam, lParam);
    case WM_KEYDOWN:
      if (wParam == VK_ESCAPE) {
        DestroyWindow(main_);
        return 0;
      }
      return Default(message, wParam, lParam);
    case WM_COMMAND: return OnCommand(LOWORD(wParam), HIWORD(wParam));
    case WM_CLOSE:
    case WM_NCCALCSIZE:
    case WM_NCRBUTTONUP:
    case WM_RBUTTONUP: return 0;
    case WM_TIMER: return OnTimer(wParam);
    case WM_CTLCOLOREDIT: return OnCtlColorEdit(reinterpret_cast<HDC>(wParam));
    case WM_MOUSEMOVE: return OnMouseMove(wParam, lParam);
    case WM_MOUSEWHEEL: return OnMouseWheel(wParam, lParam);
    case WM_MOUSELEAVE: return OnMouseLeave(wParam, lParam);
    case WM_DPICHANGED: return OnDpiChanged(wParam, lParam);
    case MsgHotkeyAction: return OnHotkeyAction(wParam);
    case MsgHotkeyCaptured: HandleHotkeyCaptured(wParam, lParam); return 0;
    default: return Default(message, wParam, lParam);
  }
}

LRESULT TutorPanel::OnCreate() noexcept {
  UINT dpi = GetDpiForWindow(main_);
  dpiScale_ = dpi > 0 ? static_cast<float>(dpi) / 96.0f : 1.0f;
  uiScale_ = dpiScale_;
  try {
    return CreateControls() ? 0 : -1;
  } catch (...) {
    return -1;
  }
}

LRESULT TutorPanel::OnDestroy() noexcept {
  for (UINT_PTR id : {panel_timer::GlassFrame, panel_timer::CaretBlink, panel_timer::HandsFree,
                      panel_timer::StripPulse, panel_timer::Animation, panel_timer::AccountPoll}) {
    KillTimer(main_, id);
  }
  if (glass_) glass_->ReleaseFrameResources();
  snip_.reset();
  strip_.reset();
  shadow_.reset();
  hooks_.reset();  // removes both hooks and clears what they read
  visible_ = false;
  SetVisibleMirror(false);
  LiveHookState().SetPaused(false);
  SetCaptureSlot(-1);
  PostQuitMessage(0);
  return 0;
}

LRESULT TutorPanel::OnSize(WPARAM kind) noexcept {
  UpdateShadow();
  UpdateGlassTimer();
  if (kind != SIZE_MINIMIZED) {
    UpdateWindowRegion();
    Relayout();
  }
  return 0;
}

LRESULT TutorPanel::OnTimer(UINT_PTR id) noexcept {
  switch (id) {
    case panel_timer::QueryPoll: CollectQueryResult(); break;
    case panel_timer::StripPulse: OnStripPulseTick(); break;
    case panel_timer::GlassFrame:
      if (!glass_ || !glass_->RenderFrame(uiScale_, 30.0f * uiScale_)) {
        KillTimer(main_, panel_timer::GlassFrame);
      }
      break;
    case panel_timer::CaretBlink: OnCaretTick(); break;
    case panel_timer::HandsFree: HandsFreeTick(); break;
    case panel_timer::Animation: OnAnimationTick(); break;
    case panel_timer::AccountPoll: PollAccountJob(); break;
    default: break;
  }
  return 0;
}

LRESULT TutorPanel::OnCommand(int id, int notification) noexcept {
  namespace cid = control_id;
  if (id == cid::QuestionBox || id == cid::SignInField) {
    if (notification != EN_CHANGE) return 0;
    if (id == cid::QuestionBox) UpdateSendButton();
    if (glassActive_) {
      caretVisible_ = true;
      UpdateCaretTimer();
      InvalidateRect(main_, nullptr, FALSE);
    }
    return 0;
  }
  if (notification != BN_CLICKED) return 0;
  try {
    if (id == cid::Close) {
      DestroyWindow(main_);
    } else if (id == cid::Hide) {
      SetVisible(false);
    } else if (id == cid::SwitchToStealth || id == cid::FooterStealth) {
      SetStealth(true);
    } else if (id == cid::Scan) {
      StartQuery(QueryKind::Scan, {});
    } else if (id == cid::Ask) {
      SetPage(page_ == PanelPage::Question ? PanelPage::Answer : PanelPage::Question);
    } else if (id == cid::Send) {
      if (page_ == PanelPage::Question) StartQuery(QueryKind::Ask, {});
    } else if (id == cid::Explanation) {
      ToggleExplanation();
    } else if (id == cid::Settings) {
      SetPage(page_ == PanelPage::Settings ? PanelPage::Answer : PanelPage::Settings);
    } else if (id == cid::Snip) {
      StartSnip();
    } else if (id >= cid::FirstSection && id < cid::FirstSection + 5) {
      int wasOpen = openSection_;
      openSection_ = ToggleSection(openSection_, id - cid::FirstSection);
      if (wasOpen == 4 && openSection_ != 4) SetCaptureSlot(-1);
      Relayout();
      InvalidateRect(main_, nullptr, FALSE);
    } else if (id == cid::RefreshAccount) {
      StartAccountProbe();
    } else if (id == cid::SignOut) {
      StartSignOut();
    } else if (id >= cid::FirstSegment && id <= cid::LastSegment) {
      ApplySettingCommand(id);
    } else if (id >= cid::FirstHotkey && id <= cid::LastHotkey) {
      ToggleCapture(id - cid::FirstHotkey);
    } else if (id == cid::ResetHotkeys) {
      ResetHotkeys();
    } else if (id == cid::SendCode || id == cid::SignInBack) {
      ApplySettingCommand(id);
    }
  } catch (...) {
    // A command that could not finish leaves the panel as it was.
  }
  return 0;
}

LRESULT TutorPanel::OnHitTest(LPARAM lParam) noexcept {
  POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  ScreenToClient(main_, &point);
  RECT client{};
  GetClientRect(main_, &client);
  PanelHit hit = HitTestPanel(point.x, point.y, client.right, uiScale_, static_cast<int>(page_));
  return hit == PanelHit::Caption ? HTCAPTION : HTCLIENT;
}

LRESULT TutorPanel::OnMouseWheel(WPARAM wParam, LPARAM lParam) noexcept {
  if (page_ != PanelPage::Answer || stealth_ || !hasReply_ || job_) {
    return Default(WM_MOUSEWHEEL, wParam, lParam);
  }
  POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  ScreenToClient(main_, &point);
  float x = static_cast<float>(point.x) / uiScale_;
  float y = static_cast<float>(point.y) / uiScale_;
  int delta = GET_WHEEL_DELTA_WPARAM(wParam);
  AnswerCards cards = AnswerPageCards(LogicalWidth(), LogicalHeight(), explanationShown_);
  if (cards.answerBody.Contains(x, y)) {
    answerScroll_ = ScrollAfterWheel(answerScroll_, answerScrollMax_, delta);
  } else if (explanationShown_ && cards.explanationBody && cards.explanationBody->Contains(x, y)) {
    explanationScroll_ = ScrollAfterWheel(explanationScroll_, explanationScrollMax_, delta);
  }
  InvalidateRect(main_, nullptr, FALSE);
  return 0;
}

LRESULT TutorPanel::OnMouseMove(WPARAM wParam, LPARAM lParam) noexcept {
  bool anyHover = false;
  for (bool flag : rowHover_) anyHover = anyHover || flag;
  if ((page_ != PanelPage::Settings || stealth_) && anyHover) {
    rowHover_.fill(false);
    InvalidateRect(main_, nullptr, FALSE);
  }
  return Default(WM_MOUSEMOVE, wParam, lParam);
}

LRESULT TutorPanel::OnMouseLeave(WPARAM wParam, LPARAM lParam) noexcept {
  bool anyHover = false;
  for (bool flag : rowHover_) anyHover = anyHover || flag;
  if (anyHover) {
    rowHover_.fill(false);
    InvalidateRect(main_, nullptr, FALSE);
  }
  return Default(WM_MOUSELEAVE, wParam, lParam);
}

LRESULT TutorPanel::OnDpiChanged(WPARAM wParam, LPARAM lParam) noexcept {
  dpiScale_ = static_cast<float>(HIWORD(wParam)) / 96.0f;
  if (!(dpiScale_ > 0.0f)) dpiScale_ = 1.0f;
  const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
  if (suggested) {
    SetWindowPos(main_, nullptr, suggested->left, suggested->top,
                 suggested->right - suggested->left, suggested->bottom - suggested->top,
                 SWP_NOACTIVATE | SWP_NOZORDER);
  }
  Place(false);
  if (stealth_) {
    PositionStrip();
    RedrawStrip(pulseStart_ != 0);
  }
  return 0;
}

LRESULT TutorPanel::OnHotkeyAction(WPARAM action) noexcept {
  std::optional<HotkeyAction> posted = PostedHotkeyAction(action);
  if (!posted) return 0;
  try {
    switch (*posted) {
      case HotkeyAction::Scan: StartQuery(QueryKind::Scan, {}); break;
      case HotkeyAction::Snip: StartSnip(); break;
      case HotkeyAction::ToggleVisible: SetVisible(!visible_); break;
      case HotkeyAction::ToggleMode:
        SetStealth(!stealth_);
        SetVisible(true);
        break;
      case HotkeyAction::Quit: DestroyWindow(main_); break;
    }
  } catch (...) {
    // The panel stays as it was.
  }
  return 0;
}

LRESULT TutorPanel::OnCtlColorEdit(HDC dc) noexcept {
  bool light = settings_.lightTheme;
  SetTextColor(dc, light ? RGB(28, 28, 28) : RGB(245, 245, 245));
  SetBkColor(dc, light ? RGB(249, 249, 249) : RGB(42, 42, 42));
  if (!editBrush_) RemakeEditBrush();
  return reinterpret_cast<LRESULT>(editBrush_.get());
}
