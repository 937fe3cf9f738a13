// The panel window's procedure: one handler per message. Nothing thrown gets out of it; what was
// caught is logged.
#include <windowsx.h>

#include "hotkeys/hook_state.h"
#include "panel/panel_layout.h"
#include "panel/window/procedure_guard.h"
#include "panel/window/panel_wiring_win.h"
#include "panel/window/tutor_panel_win.h"

namespace {
// The title strip drags the panel; everything else is client area.
LRESULT HitTest(HWND window, LPARAM lParam, float uiScale, PanelPage page) {
  POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  ScreenToClient(window, &point);
  RECT client{};
  GetClientRect(window, &client);
  PanelHit hit = HitTestPanel(point.x, point.y, client.right, uiScale, static_cast<int>(page));
  return hit == PanelHit::Caption ? HTCAPTION : HTCLIENT;
}
}  // namespace

LRESULT CALLBACK TutorPanel::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  TutorPanel* panel = nullptr;
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    panel = static_cast<TutorPanel*>(create->lpCreateParams);
    if (!panel) return FALSE;
    panel->main_ = window;
    panel->timers_.SetWindow(window);
    panel->glass_.SetWindow(window);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(panel));
  } else {
    panel = reinterpret_cast<TutorPanel*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  }
  if (!panel) return DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    panel->main_ = nullptr;
    panel->timers_.SetWindow(nullptr);
    panel->glass_.SetWindow(nullptr);
    return DefWindowProcW(window, message, wParam, lParam);
  }
  try {
    return panel->HandleMessage(message, wParam, lParam);
  } catch (...) {
    LogCaughtInWindowProcedure();
    // A window whose controls could not all be made is not created; anything else stays as it was.
    return message == WM_CREATE ? -1 : 0;
  }
}

LRESULT TutorPanel::Default(UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(main_, message, wParam, lParam);
}

LRESULT TutorPanel::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: return OnCreate();
    case WM_DESTROY: return OnDestroy();
    case WM_SIZE: return OnSize(wParam);
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE) glass_.Activated();
      return Default(message, wParam, lParam);
    case WM_PAINT: return OnPaint();
    case WM_SETTINGCHANGE:
    case WM_THEMECHANGED:
    case WM_DWMCOMPOSITIONCHANGED:
      glass_.EvaluateBackdrop();
      return Default(message, wParam, lParam);
    case WM_WINDOWPOSCHANGED:
      UpdateShadow();
      return Default(message, wParam, lParam);
    case WM_CONTEXTMENU:
      if (lParam == -1) ShowContextMenu({-1, -1});
      return 0;
    case WM_DISPLAYCHANGE:
      glass_.ReleaseFrames();
      Place(false);
      stealth_.ReshowStrip();
      return Default(message, wParam, lParam);
    case WM_NCHITTEST: return HitTest(main_, lParam, state_.uiScale, state_.page);
    case WM_ERASEBKGND:
    case WM_DRAWITEM: return 1;
    case WM_NCACTIVATE:
      if (glass_.active()) return Default(message, TRUE, -1);
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
    case WM_CTLCOLOREDIT: return controls_.EditColours(reinterpret_cast<HDC>(wParam), settings_.settings().lightTheme);
    case WM_MOUSEMOVE:
    case WM_MOUSELEAVE: return OnMouseMove(message, wParam, lParam);
    case WM_MOUSEWHEEL: return OnMouseWheel(wParam, lParam);
    case WM_DPICHANGED: return OnDpiChanged(wParam, lParam);
    case MsgHotkeyAction: return OnHotkeyAction(wParam);
    case MsgHotkeyCaptured:
      settings_.HotkeyCaptured(static_cast<uint32_t>(wParam), static_cast<uint32_t>(lParam));
      return 0;
    default: return Default(message, wParam, lParam);
  }
}

LRESULT TutorPanel::OnCreate() {
  UINT dpi = GetDpiForWindow(main_);
  state_.dpiScale = dpi > 0 ? static_cast<float>(dpi) / 96.0f : 1.0f;
  state_.uiScale = state_.dpiScale;
  if (!controls_.Create(main_, instance_, PanelWiring::Controls(*this))) return -1;
  tooltip_ = TooltipWindow::Create(instance_, main_, capturePolicy_);
  PanelWiring::UpdateTooltips(*this);
  painter_.SetSettingsPainter(PanelWiring::SettingsPainter(*this));
  glass_.RefreshStyleStatus();
  return 0;
}

// Each controller stops its own timers; then the other windows and the hooks go.
LRESULT TutorPanel::OnDestroy() {
  glass_.Shutdown();
  caret_.Stop();
  account_.StopPolling();
  config_.Stop();
  snip_.Close();
  stealth_.Destroy();
  tooltip_.reset();
  hooks_.reset();  // removes both hooks and clears what they read
  state_.visible = false;
  LiveHookState().SetPanelVisible(false);
  LiveHookState().SetPaused(false);
  settings_.Shutdown();
  PostQuitMessage(0);
  return 0;
}

LRESULT TutorPanel::OnSize(WPARAM kind) {
  UpdateShadow();
  glass_.UpdateGlassTimer();
  if (kind != SIZE_MINIMIZED) {
    UpdateWindowRegion();
    Relayout();
  }
  return 0;
}

LRESULT TutorPanel::OnPaint() {
  PanelView view = MakePanelView(state_, settings_.settings(), glass_.active(), query_.onView(), query_.scrolls());
  view.firstRun = !services_.configured;
  const PaintOutcome outcome = painter_.Paint(main_, view, state_.uiScale, caret_.visible(), controls_, glass_.backdrop());
  if (outcome.scrolls) query_.StoreScrolls(*outcome.scrolls);
  if (outcome.glassRefused) glass_.Drop();
  return 0;
}

LRESULT TutorPanel::OnTimer(UINT_PTR id) {
  switch (id) {
    case panel_timer::QueryPoll: query_.CollectQueryResult(); break;
    case panel_timer::StripPulse: stealth_.PulseTick(); break;
    case panel_timer::GlassFrame: glass_.FrameTick(); break;
    case panel_timer::CaretBlink:
      caret_.Tick(CaretWanted());
      Repaint();
      break;
    case panel_timer::HandsFree: stealth_.HandsFreeTick(); break;
    case panel_timer::Animation: settings_.AnimationTick(); break;
    case panel_timer::AccountPoll: account_.PollAccountJob(); break;
    case panel_timer::ConfigWatch: config_.PollFile(); break;
    default: break;
  }
  return 0;
}

LRESULT TutorPanel::OnCommand(int id, int notification) {
  namespace cid = control_id;
  if (id == cid::QuestionBox || id == cid::SignInField) {
    if (notification != EN_CHANGE) return 0;
    if (id == cid::QuestionBox) UpdateSendButton();
    FadedEditTouched();
    return 0;
  }
  if (notification != BN_CLICKED) return 0;
  PanelPage page = state_.page;
  if (id == cid::Close) {
    DestroyWindow(main_);
  } else if (id == cid::Hide) {
    SetVisible(false);
  } else if (id == cid::SwitchToStealth || id == cid::FooterStealth) {
    SetStealth(true);
  } else if (id == cid::Scan) {
    StartQuery(QueryKind::Scan, {});
  } else if (id == cid::Ask) {
    SetPage(page == PanelPage::Question ? PanelPage::Answer : PanelPage::Question);
  } else if (id == cid::Send) {
    if (page == PanelPage::Question) StartQuery(QueryKind::Ask, {});
  } else if (id == cid::Explanation) {
    ToggleExplanation();
  } else if (id == cid::Settings) {
    SetPage(page == PanelPage::Settings ? PanelPage::Answer : PanelPage::Settings);
  } else if (id == cid::Snip) {
    snip_.Open(instance_, main_, capturePolicy_);
  } else if (id == cid::OpenConfigFile) {
    config_.OpenConfigFile();
  } else if (id == cid::ReloadConfig) {
    config_.Reload();
  } else if (id == cid::RefreshAccount) {
    account_.StartProbe();
  } else if (id == cid::SignOut) {
    account_.StartSignOut();
  } else if (id == cid::SendCode) {
    account_.Submit(controls_.Text(cid::SignInField));
  } else if (id == cid::SignInBack) {
    account_.BackToEmail();
  } else if (SettingsPage::Handles(id)) {
    settings_.Command(id, LogicalClient().width);
  }
  return 0;
}

// Over the settings page a row may be hovered (its hint shows); anywhere else, or when the pointer
// leaves, no row is hovered any more.
LRESULT TutorPanel::OnMouseMove(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_MOUSEMOVE && state_.page == PanelPage::Settings && !state_.stealth) {
    const float x = static_cast<float>(GET_X_LPARAM(lParam)) / state_.uiScale;
    const float y = static_cast<float>(GET_Y_LPARAM(lParam)) / state_.uiScale;
    if (settings_.UpdateHover(LogicalClient().width, x, y)) {
      for (bool hovered : settings_.page().hover()) {
        if (!hovered) continue;
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, main_, 0};
        TrackMouseEvent(&track);
        break;
      }
      Repaint();
    }
  } else if (settings_.ClearHover()) {
    Repaint();
  }
  return Default(message, wParam, lParam);
}

LRESULT TutorPanel::OnMouseWheel(WPARAM wParam, LPARAM lParam) {
  if (state_.page != PanelPage::Answer || state_.stealth || !query_.hasReply() || query_.running()) {
    return Default(WM_MOUSEWHEEL, wParam, lParam);
  }
  POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  ScreenToClient(main_, &point);
  float x = static_cast<float>(point.x) / state_.uiScale;
  float y = static_cast<float>(point.y) / state_.uiScale;
  int delta = GET_WHEEL_DELTA_WPARAM(wParam);
  // Only an answer has an explanation card; other replies take the whole area (as painted).
  const bool explanation = state_.explanationShown && query_.reply().status == TutorReply::Answer;
  const RectF client = LogicalClient();
  AnswerCards cards = AnswerPageCards(client.width, client.height, explanation);
  if (cards.answerBody.Contains(x, y)) {
    query_.Scroll(true, delta);
  } else if (cards.explanationBody && cards.explanationBody->Contains(x, y)) {
    query_.Scroll(false, delta);
  }
  Repaint();
  return 0;
}

LRESULT TutorPanel::OnDpiChanged(WPARAM wParam, LPARAM lParam) {
  state_.dpiScale = static_cast<float>(HIWORD(wParam)) / 96.0f;
  if (!(state_.dpiScale > 0.0f)) state_.dpiScale = 1.0f;
  const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
  if (suggested) {
    SetWindowPos(main_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                 suggested->bottom - suggested->top, SWP_NOACTIVATE | SWP_NOZORDER);
  }
  Place(false);
  stealth_.ReshowStrip();
  return 0;
}

LRESULT TutorPanel::OnHotkeyAction(WPARAM action) {
  std::optional<HotkeyAction> posted = PostedHotkeyAction(action);
  if (!posted) return 0;
  switch (*posted) {
    case HotkeyAction::Scan: StartQuery(QueryKind::Scan, {}); break;
    case HotkeyAction::Snip: snip_.Open(instance_, main_, capturePolicy_); break;
    case HotkeyAction::ToggleVisible: SetVisible(!state_.visible); break;
    case HotkeyAction::ToggleMode:
      SetStealth(!state_.stealth);
      SetVisible(true);
      break;
    case HotkeyAction::Quit: DestroyWindow(main_); break;
  }
  return 0;
}

