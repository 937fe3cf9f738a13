// The process entry: platform start-up, the panel's windows, the message loop and shutdown.
#include <windows.h>
#include <commctrl.h>

#include <cwchar>
#include <memory>

#include "account/hosted_context.h"
#include "account/session_refresh.h"
#include "account/sign_in.h"
#include "core/config.h"
#include "core/crash_handler_win.h"
#include "core/log.h"
#include "core/utf.h"
#include "core/unique_handle_win.h"
#include "app/program_command_win.h"
#include "app/startup_win.h"
#include "app/version.h"
#include "glass/glass_backdrop_win.h"
#include "panel/window/capture_exclusion_win.h"
#include "panel/window/window_classes_win.h"
#include "panel/stealth/shadow_window_win.h"
#include "panel/stealth/strip_window_win.h"
#include "tutor/tutor_services.h"
#include "panel/window/tutor_panel_win.h"
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
  services.solveLive = [config](QueryKind kind, QueryQuality quality, const std::wstring& text,
                                const LiveTextFn& live) { return SolveQuery(config, kind, quality, text, live); };
  services.probeAccount = [config]() { return ProbeAccount(config, SystemHostedContext()); };
  services.sendCode = [config](const std::wstring& email) {
    return SendCode(config, SystemHostedContext(), email);
  };
  services.verifyCode = [config](const std::wstring& email, const std::wstring& code) {
    return VerifyCode(config, SystemHostedContext(), email, code);
  };
  services.signOut = [config]() { return SignOut(config, SystemHostedContext()); };
  services.hosted = config.hosted;
  services.configured = TutorServiceConfigured(config);
  services.reload = [] { return BuildServices(LoadTutorConfig()); };
  return services;
}

double MillisecondsNow() {
  LARGE_INTEGER counter{}, frequency{};
  QueryPerformanceCounter(&counter);
  QueryPerformanceFrequency(&frequency);
  return frequency.QuadPart > 0 ? 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart)
                                : 0.0;
}

// Development builds say what the panel does with queries, so tests can follow it.
PanelObservers DevelopmentObservers() {
  PanelObservers observers;
  if (!kTolerateCaptureFailure) return observers;
  static double queryStartedMs = 0;
  observers.queryStarted = [](QueryKind kind) {
    queryStartedMs = MillisecondsNow();
    VykLog("[vyk] dev: query started (kind %d)\n", static_cast<int>(kind));
  };
  observers.livePainted = [](const LiveAnswer& live) {
    VykLog("[vyk] dev: live answer painted (%zu characters, %.1f ms after the query started)\n", live.answer.size(),
           MillisecondsNow() - queryStartedMs);
  };
  observers.replyCollected = [](const TutorReply& reply) {
    VykLog("[vyk] dev: reply collected (status %d, option %d)\n", static_cast<int>(reply.status),
           reply.option);
  };
  observers.snipOverlay = [](bool open) { VykLog("[vyk] dev: snip overlay %s\n", open ? "opened" : "closed"); };
  observers.accountForm = [](const std::wstring& status, bool error, bool codeStage, const AccountInfo& account) {
    VykLog("[vyk] dev: account form \"%s\" (error %d, code stage %d, signed in %d, email \"%s\")\n",
           WideToUtf8(status).c_str(), error ? 1 : 0, codeStage ? 1 : 0, account.signedIn ? 1 : 0,
           WideToUtf8(account.email).c_str());
  };
  observers.backdropEvaluated = [](bool glassActive, HRESULT initialised) {
    VykLog("[vyk] dev: glass %s (initialise 0x%08lX)\n", glassActive ? "on" : "off",
           static_cast<unsigned long>(initialised));
  };
  observers.configurationRead = [](bool configured, bool hosted) {
    VykLog("[vyk] dev: configuration read (configured %d, hosted %d)\n", configured ? 1 : 0, hosted ? 1 : 0);
  };
  return observers;
}

// Development builds can lose their input hooks on purpose, the way the system drops a hook that
// was too slow: VYK_DEV_REMOVE_HOOKS_AFTER_MS removes them that long after start-up, once, so tests
// can see the watchdog bring them back.
void RemoveHooksLaterForDevelopment() {
  if (!kTolerateCaptureFailure) return;
  wchar_t text[16] = {};
  DWORD length = GetEnvironmentVariableW(L"VYK_DEV_REMOVE_HOOKS_AFTER_MS", text, 16);
  if (length == 0 || length >= 16) return;
  const UINT delay = static_cast<UINT>(wcstoul(text, nullptr, 10));
  SetTimer(nullptr, 0, delay, [](HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    InputHooks::RemoveBehindOwnersBack();
    VykLog("[vyk] dev: input hooks removed\n");
  });
}

// Development builds name the start-up step that failed; the shipped program stays silent.
int FailedStep(const char* step) {
  if (kTolerateCaptureFailure) {
    VykLog("[vyk] dev: start-up failed: %s (error %lu)\n", step, GetLastError());
  }
  return 1;
}

// The panel with its windows, its capture exclusion checked, its hooks, and the message loop. The
// panel goes (with its windows) when this returns, on every path.
int Run(HINSTANCE instance, const TutorServices& services) {
  if (!RegisterWindowClasses(instance)) return FailedStep("window class");
  const CapturePolicy capture = kTolerateCaptureFailure ? CapturePolicy::DevTolerated : CapturePolicy::Required;
  bool haveStrip = false;
  DWORD stripError = ERROR_SUCCESS;
  PanelOptions options;
  options.capturePolicy = capture;
  options.observers = DevelopmentObservers();
  options.makeShadow = [instance, capture](HWND main) { return ShadowWindow::Create(instance, main, capture); };
  options.makeStrip = [&, instance, capture] {
    std::unique_ptr<StripWindow> strip = StripWindow::Create(instance, capture);
    stripError = strip ? ERROR_SUCCESS : GetLastError();
    haveStrip = strip != nullptr;
    return strip;
  };
  options.makeGlass = [] { return CreateGlassBackdrop(); };
  ControlCreationFailure failure;
  const std::unique_ptr<TutorPanel> panel = TutorPanel::Create(instance, services, std::move(options), &failure);
  if (!panel) {
    if (kTolerateCaptureFailure && failure.id != 0) {
      VykLog("[vyk] dev: child control %d could not be created (error %lu)\n", failure.id, failure.error);
    }
    return FailedStep("panel window");
  }
  HWND main = panel->mainWindow();

  if (!HideFromCapture(main, capture)) {
    ReportCaptureFailure(GetLastError());
    return 1;
  }
  if (!haveStrip) {
    ReportCaptureFailure(stripError);
    if (!kTolerateCaptureFailure) return 1;
  }

  RemoveHooksLaterForDevelopment();
  panel->Start(InputHooks::Create(main));
  return RunMessageLoop(*panel);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  // --version and --diagnose print and exit before anything of the tutor starts.
  const ProgramCommand command = ParseProgramCommand(CommandLineArguments());
  if (command != ProgramCommand::RunTutor) return RunProgramCommand(command, instance);

  AttachParentConsole();
  InstallCrashDumps(kTolerateCaptureFailure);
  if (kTolerateCaptureFailure) VykLog("[vyk] dev: Tavisk %s (development build)\n", kVykVersion);
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

  return Run(instance, services);
}
