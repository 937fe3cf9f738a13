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
    panel->view_.SetWindow(window);
    panel->timers_.SetWindow(window);
    panel->glass_.SetWindow(window);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(panel));
  } else {
    panel = reinterpret_cast<TutorPanel*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  }
  if (!panel) return DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    panel->view_.SetWindow(nullptr);
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
  return DefWindowProcW(view_.window(), message, wParam, lParam);
}

LRESULT TutorPanel::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: return OnCreate();
    case WM_DESTROY: return OnDestroy();
    case WM_SIZE:
      view_.Sized(wParam == SIZE_MINIMIZED);
      return 0;
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
      view_.UpdateShadow();
      return Default(message, wParam, lParam);
    case WM_CONTEXTMENU:
      if (lParam == -1) ShowContextMenu({-1, -1});
      return 0;
    case WM_DISPLAYCHANGE:
      glass_.ReleaseFrames();
      view_.Place(false);
      stealth_.ReshowStrip();
      return Default(message, wParam, lParam);
    case WM_NCHITTEST: return HitTest(view_.window(), lParam, view_.state().uiScale, view_.state().page);
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
        DestroyWindow(view_.window());
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
    case WM_DPICHANGED:
      view_.DpiChanged(HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
      return 0;
    case MsgHotkeyAction: return OnHotkeyAction(wParam);
    case MsgStealthMenu: return OnStealthMenu();
    case MsgEndSnip: snip_.Cancel(); return 0;
    case MsgHotkeyCaptured:
      settings_.HotkeyCaptured(static_cast<uint32_t>(wParam), static_cast<uint32_t>(lParam));
      return 0;
    default: return Default(message, wParam, lParam);
  }
}

// The menu key or Shift+F10 while only the strip shows: the menu opens beside the strip.
LRESULT TutorPanel::OnStealthMenu() {
  const PanelState& state = view_.state();
  if (!state.stealth || !state.visible) return 0;
  const PixelRect strip = stealth_.stripRect();
  const bool right = settings_.settings().stripRight;
  // The menu takes the keyboard, and closes on a click elsewhere, only when its thread owns the
  // foreground; the panel may take it from another program, as the hook saw the last input.
  HWND main = view_.window();
  HWND foreground = GetForegroundWindow();
  if (foreground && GetWindowThreadProcessId(foreground, nullptr) != GetCurrentThreadId()) {
    SetForegroundWindow(main);
  }
  ShowContextMenu({right ? strip.left : strip.right, (strip.top + strip.bottom) / 2});
  PostMessageW(main, WM_NULL, 0, 0);  // lets the menu's loop end cleanly after a switch of task
  return 0;
}

LRESULT TutorPanel::OnCreate() {
  HWND main = view_.window();
  view_.Created(GetDpiForWindow(main));
  if (!controls_.Create(main, instance_, PanelWiring::Controls(view_))) return -1;
  tooltip_ = TooltipWindow::Create(instance_, main, capturePolicy_);
  PanelWiring::UpdateTooltips(tooltip_.get(), controls_, settings_.settings().hotkeys);
  PanelWiring::LockRowsForMode(services_, settings_, controls_);
  view_.SetRelaidOut([this] { PanelWiring::PlaceLockedRowTip(tooltip_.get(), services_, settings_, view_); });
  painter_.SetSettingsPainter(PanelWiring::SettingsPainter(settings_, account_, glass_, controls_, caret_, config_));
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
  view_.Destroyed();
  LiveHookState().SetPaused(false);
  settings_.Shutdown();
  PostQuitMessage(0);
  return 0;
}

LRESULT TutorPanel::OnPaint() {
  const PanelState& state = view_.state();
  PanelView view = MakePanelView(state, settings_.settings(), glass_.active(), query_.onView(), query_.scrolls());
  view.firstRun = !services_.configured;
  const PaintOutcome outcome =
      painter_.Paint(view_.window(), view, state.uiScale, caret_.visible(), controls_, glass_.backdrop());
  if (outcome.scrolls) query_.StoreScrolls(*outcome.scrolls);
  if (view.live && query_.TakeFirstLivePaint() && observers_.livePainted) observers_.livePainted(*view.live);
  if (outcome.glassRefused) glass_.Drop();
  return 0;
}

LRESULT TutorPanel::OnTimer(UINT_PTR id) {
  switch (id) {
    case panel_timer::QueryPoll: query_.CollectQueryResult(); break;
    case panel_timer::StripPulse: stealth_.PulseTick(); break;
    case panel_timer::GlassFrame: glass_.FrameTick(); break;
    case panel_timer::CaretBlink:
      caret_.Tick(view_.CaretWanted());
      view_.Repaint();
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
    if (id == cid::QuestionBox) view_.UpdateSendButton();
    view_.FadedEditTouched();
    return 0;
  }
  if (notification != BN_CLICKED) return 0;
  PanelPage page = view_.state().page;
  if (id == cid::Close) {
    DestroyWindow(view_.window());
  } else if (id == cid::Hide) {
    view_.SetVisible(false);
  } else if (id == cid::SwitchToStealth || id == cid::FooterStealth) {
    view_.SetStealth(true);
  } else if (id == cid::Scan) {
    view_.StartQuery(QueryKind::Scan, {});
  } else if (id == cid::Ask) {
    view_.SetPage(page == PanelPage::Question ? PanelPage::Answer : PanelPage::Question);
  } else if (id == cid::Send) {
    if (page == PanelPage::Question) view_.StartQuery(QueryKind::Ask, {});
  } else if (id == cid::Explanation) {
    view_.ToggleExplanation();
  } else if (id == cid::Settings) {
    view_.SetPage(page == PanelPage::Settings ? PanelPage::Answer : PanelPage::Settings);
  } else if (id == cid::Snip) {
    snip_.Open(instance_, view_.window(), capturePolicy_);
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
    settings_.Command(id, view_.LogicalClient().width);
  }
  return 0;
}

// Over the settings page a row may be hovered (its hint shows); anywhere else, or when the pointer
// leaves, no row is hovered any more.
LRESULT TutorPanel::OnMouseMove(UINT message, WPARAM wParam, LPARAM lParam) {
  const PanelState& state = view_.state();
  if (message == WM_MOUSEMOVE && state.page == PanelPage::Settings && !state.stealth) {
    const float x = static_cast<float>(GET_X_LPARAM(lParam)) / state.uiScale;
    const float y = static_cast<float>(GET_Y_LPARAM(lParam)) / state.uiScale;
    if (settings_.UpdateHover(view_.LogicalClient().width, x, y)) {
      for (bool hovered : settings_.page().hover()) {
        if (!hovered) continue;
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, view_.window(), 0};
        TrackMouseEvent(&track);
        break;
      }
      view_.Repaint();
    }
  } else if (settings_.ClearHover()) {
    view_.Repaint();
  }
  return Default(message, wParam, lParam);
}

LRESULT TutorPanel::OnMouseWheel(WPARAM wParam, LPARAM lParam) {
  const PanelState& state = view_.state();
  if (state.page != PanelPage::Answer || state.stealth || !query_.cardsOnView()) {
    return Default(WM_MOUSEWHEEL, wParam, lParam);
  }
  POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  ScreenToClient(view_.window(), &point);
  float x = static_cast<float>(point.x) / state.uiScale;
  float y = static_cast<float>(point.y) / state.uiScale;
  int delta = GET_WHEEL_DELTA_WPARAM(wParam);
  // Only an answer has an explanation card; other replies take the whole area (as painted).
  const bool explanation = state.explanationShown && query_.explanationOnView();
  const RectF client = view_.LogicalClient();
  AnswerCards cards = AnswerPageCards(client.width, client.height, explanation);
  if (cards.answerBody.Contains(x, y)) {
    query_.Scroll(true, delta);
  } else if (cards.explanationBody && cards.explanationBody->Contains(x, y)) {
    query_.Scroll(false, delta);
  }
  view_.Repaint();
  return 0;
}

LRESULT TutorPanel::OnHotkeyAction(WPARAM action) {
  std::optional<HotkeyAction> posted = PostedHotkeyAction(action);
  if (!posted) return 0;
  switch (*posted) {
    case HotkeyAction::Scan: view_.StartQuery(QueryKind::Scan, {}); break;
    case HotkeyAction::Snip: snip_.Open(instance_, view_.window(), capturePolicy_); break;
    case HotkeyAction::ToggleVisible: view_.SetVisible(!view_.state().visible); break;
    case HotkeyAction::ToggleMode:
      view_.SetStealth(!view_.state().stealth);
      view_.SetVisible(true);
      break;
    case HotkeyAction::Quit: DestroyWindow(view_.window()); break;
  }
  return 0;
}

