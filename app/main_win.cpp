// The process entry: platform start-up, the panel's windows, the message loop and shutdown.
#include <windows.h>
#include <commctrl.h>

#include <memory>

#include "account/hosted_context.h"
#include "account/session_refresh.h"
#include "account/sign_in.h"
#include "app/core/config.h"
#include "app/core/log.h"
#include "app/core/unique_handle_win.h"
#include "app/startup_win.h"
#include "panel/panel_windows_win.h"
#include "tutor/tutor_services.h"
#include "panel/tutor_panel_win.h"
#include "tutor/solve_query.h"

#ifndef VYK_DEV_TOLERATE_CAPTURE_FAILURE
#define VYK_DEV_TOLERATE_CAPTURE_FAILURE 0
#endif

namespace {

// Development builds run where windows cannot be hidden from capture (Wine); they log the failure
// and go on. The shipped program refuses to show a panel that screen capture could record.
constexpr bool kTolerateCaptureFailure = VYK_DEV_TOLERATE_CAPTURE_FAILURE != 0;

TutorServices BuildServices(const TutorConfig& config) {
  TutorServices services;
  services.solve = [config](QueryKind kind, QueryQuality quality, const std::wstring& text) {
    return SolveQuery(config, kind, quality, text);
  };
  services.probeAccount = [config]() { return ProbeAccount(config, SystemHostedContext()); };
  services.sendCode = [config](const std::wstring& email) {
    return SendCode(config, SystemHostedContext(), email);
  };
  services.verifyCode = [config](const std::wstring& email, const std::wstring& code) {
    return VerifyCode(config, SystemHostedContext(), email, code);
  };
  services.signOut = [config]() { return SignOut(config, SystemHostedContext()); };
  services.hosted = config.hosted;
  return services;
}

void ReportCaptureFailure(DWORD error) {
  VykLog("[vyk] Window capture exclusion could not be set (error %lu).\n", error);
}

// Development builds say what the panel does with queries, so tests can follow it.
void ObserveForDevelopment(TutorPanel& panel) {
  if (!kTolerateCaptureFailure) return;
  PanelObservers observers;
  observers.queryStarted = [](QueryKind kind) {
    VykLog("[vyk] dev: query started (kind %d)\n", static_cast<int>(kind));
  };
  observers.replyCollected = [](const TutorReply& reply) {
    VykLog("[vyk] dev: reply collected (status %d, option %d)\n", static_cast<int>(reply.status),
           reply.option);
  };
  panel.SetObservers(std::move(observers));
}

// Development builds name the start-up step that failed; the shipped program stays silent.
int FailedStep(const char* step) {
  if (kTolerateCaptureFailure) {
    VykLog("[vyk] dev: start-up failed: %s (error %lu)\n", step, GetLastError());
  }
  return 1;
}

int FailAfterWindows(TutorPanel& panel) {
  if (HWND main = panel.mainWindow()) DestroyWindow(main);
  panel.DeleteEditGdiObjects();
  return 1;
}

int Run(HINSTANCE instance, TutorPanel& panel) {
  // Loads every preference and publishes the bindings to the hooks; nothing without a path.
  LoadUiSettingsFromFile(panel.settingsPath(), panel.settings());
  if (!RegisterWindowClasses(instance, &TutorPanel::WindowProc, nullptr)) {
    return FailedStep("window class");
  }
  CreatePanelWindow(instance, panel);
  HWND main = panel.mainWindow();
  if (!main || !IsWindow(main)) {
    if (kTolerateCaptureFailure && panel.failedControl() != 0) {
      VykLog("[vyk] dev: child control %d could not be created (error %lu)\n", panel.failedControl(),
             panel.failedControlError());
    }
    FailedStep("panel window");
    return FailAfterWindows(panel);
  }

  DWORD error = 0;
  HWND shadow = CreateShadowWindow(instance, main);
  if (shadow && !ExcludeFromCapture(shadow, error)) {
    DestroyWindow(shadow);
    shadow = nullptr;
  }
  panel.SetShadowWindow(shadow);
  HWND strip = CreateStripWindow(instance);
  panel.SetStripWindow(strip);

  panel.EvaluateBackdrop();
  panel.Place(true);

  bool excluded = ExcludeFromCapture(main, error) && ExcludeFromCapture(strip, error);
  if (!excluded) {
    ReportCaptureFailure(error);
    if (!kTolerateCaptureFailure) return FailAfterWindows(panel);
  }

  panel.SetHooks(InputHooks::Create(main));
  ObserveForDevelopment(panel);
  panel.SetVisible(true);
  panel.StartAccountProbe();
  int result = RunMessageLoop(panel);
  panel.DeleteEditGdiObjects();
  return result;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  AttachParentConsole();
  const TutorConfig config = LoadTutorConfig();
  const TutorServices services = BuildServices(config);

  SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = 8;
  controls.dwICC = 0xFF;
  InitCommonControlsEx(&controls);
  // Shut down in reverse order of start: the panel, then GDI+, then the runtime.
  const ScopedApartment runtime(ScopedApartment::Kind::RuntimeSingleThreaded);
  const ScopedGdiplus gdiplus;
  if (!gdiplus.started()) return FailedStep("GDI+");

  TutorPanel panel(instance, services);
  return Run(instance, panel);
}
