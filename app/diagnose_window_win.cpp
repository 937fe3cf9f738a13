// Diagnostic report: what the panel's top-level window needs, tried on a hidden test window of the
// probe's own: capture exclusion, the composition backdrop and the two input hooks.
#include <windows.h>

#include <memory>

#include "app/diagnose_probes_win.h"
#include "core/unique_handle_win.h"
#include "glass/glass_backdrop_win.h"
#include "hotkeys/input_hooks_win.h"
#include "panel/window/capture_exclusion_win.h"

namespace {

constexpr wchar_t kTestWindowClass[] = L"VykTutorDiagnose";
constexpr DWORD kExcludeFromCapture = 0x00000011;  // WDA_EXCLUDEFROMCAPTURE

UniqueWindow CreateTestWindow(HINSTANCE instance) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = DefWindowProcW;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = kTestWindowClass;
  RegisterClassExW(&windowClass);  // a failure shows as the window's
  return UniqueWindow(CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kTestWindowClass, L"Tavisk diagnose",
                                      WS_POPUP, 0, 0, 64, 64, nullptr, nullptr, instance, nullptr));
}

DiagnosticLine CaptureExclusionLine(HWND window) {
  const char* check = "Capture exclusion";
  if (!HideFromCapture(window, CapturePolicy::Required)) {
    return Failed(check, "a window could not be hidden from screen capture (vyk.exe refuses to start)",
                  FormatWin32Error(GetLastError()));
  }
  DWORD affinity = 0;
  if (!GetWindowDisplayAffinity(window, &affinity) || affinity != kExcludeFromCapture) {
    return Failed(check, "the window's display affinity did not stay set", FormatWin32Error(GetLastError()));
  }
  return Passed(check, "a test window was hidden from screen capture");
}

DiagnosticLine GlassLine(HWND window) {
  const std::unique_ptr<GlassBackdrop> glass = CreateGlassBackdrop();
  const HRESULT result = glass ? glass->Initialise(window) : E_OUTOFMEMORY;
  if (FAILED(result)) {
    return Failed("Glass backdrop", "composition unavailable; the panel keeps its plain look", FormatHresult(result));
  }
  glass->Hide();
  return Passed("Glass backdrop", "the composition tree was built");
}

std::vector<DiagnosticLine> HookLines(HWND window) {
  SetLastError(ERROR_SUCCESS);
  const std::unique_ptr<InputHooks> hooks = InputHooks::Create(window);
  const DWORD error = GetLastError();
  auto line = [&](const char* check, bool installed) {
    return installed ? Passed(check, "installed") : Failed(check, "could not be installed", FormatWin32Error(error));
  };
  return {line("Keyboard hook", hooks && hooks->hasKeyboardHook()), line("Mouse hook", hooks && hooks->hasMouseHook())};
}

}  // namespace

std::vector<DiagnosticLine> ProbeTestWindow(HINSTANCE instance) {
  const UniqueWindow window = CreateTestWindow(instance);
  if (!window) {
    return {Failed("Test window", "could not be created; capture exclusion, glass and hooks unchecked",
                   FormatWin32Error(GetLastError()))};
  }
  std::vector<DiagnosticLine> lines{CaptureExclusionLine(window.get()), GlassLine(window.get())};
  for (DiagnosticLine& line : HookLines(window.get())) lines.push_back(std::move(line));
  return lines;
}
