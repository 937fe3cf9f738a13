// Diagnostic report: the system's version, the process's DPI awareness and the monitors.
#include <windows.h>
#include <shellscalingapi.h>

#include <string>

#include "app/diagnose_probes_win.h"
#include "core/utf.h"

namespace {

struct OsVersion {
  DWORD major = 0, minor = 0, build = 0;
};

// The true version (GetVersionEx answers by the manifest), from ntdll.
OsVersion ReadOsVersion() {
  using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);
  OsVersion version;
  const auto get = reinterpret_cast<RtlGetVersionFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion")));
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof info;
  if (get && get(&info) == 0) version = {info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber};
  return version;
}

std::wstring RegistryText(const wchar_t* name) {
  wchar_t text[128] = {};
  DWORD size = sizeof text;
  if (RegGetValueW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", name,
                   RRF_RT_REG_SZ | RRF_SUBKEY_WOW6464KEY, nullptr, text, &size) != ERROR_SUCCESS) {
    return {};
  }
  return text;
}

DWORD RegistryNumber(const wchar_t* name) {
  DWORD value = 0;
  DWORD size = sizeof value;
  if (RegGetValueW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", name,
                   RRF_RT_REG_DWORD | RRF_SUBKEY_WOW6464KEY, nullptr, &value, &size) != ERROR_SUCCESS) {
    return 0;
  }
  return value;
}

// The Wine version when the program runs under Wine, else empty.
std::string WineVersion() {
  using WineGetVersionFn = const char*(CDECL*)();
  const auto get = reinterpret_cast<WineGetVersionFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version")));
  return get ? std::string(get()) : std::string();
}

DiagnosticLine WindowsLine() {
  const OsVersion version = ReadOsVersion();
  if (version.major == 0) return Failed("Windows", "the version could not be read", FormatWin32Error(GetLastError()));
  std::string detail = std::to_string(version.major) + "." + std::to_string(version.minor) + "." +
                       std::to_string(version.build);
  if (const DWORD update = RegistryNumber(L"UBR")) detail += "." + std::to_string(update);
  if (version.major == 10) detail += version.build >= 22000 ? " (Windows 11" : " (Windows 10";
  const std::wstring release = RegistryText(L"DisplayVersion");
  if (version.major == 10) detail += release.empty() ? ")" : " " + WideToUtf8(release) + ")";
  const std::string wine = WineVersion();
  if (!wine.empty()) detail += ", under Wine " + wine;
  return Passed("Windows", detail);
}

const char* AwarenessName(DPI_AWARENESS awareness) {
  switch (awareness) {
    case DPI_AWARENESS_UNAWARE: return "DPI unaware";
    case DPI_AWARENESS_SYSTEM_AWARE: return "system DPI aware";
    case DPI_AWARENESS_PER_MONITOR_AWARE: return "per-monitor DPI aware";
    default: return "unknown";
  }
}

// Declares the awareness start-up declares, and says what the process runs with.
DiagnosticLine DpiAwarenessLine() {
  const bool set = SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2) != FALSE;
  const DWORD error = GetLastError();
  const DPI_AWARENESS_CONTEXT context = GetThreadDpiAwarenessContext();
  const bool perMonitorV2 = AreDpiAwarenessContextsEqual(context, DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
  std::string now = perMonitorV2 ? std::string("per-monitor v2")
                                 : AwarenessName(GetAwarenessFromDpiAwarenessContext(context));
  now += ", system DPI " + std::to_string(GetDpiForSystem());
  if (set || perMonitorV2) return Passed("DPI awareness", now);
  return Failed("DPI awareness", "per-monitor v2 could not be declared; running " + now, FormatWin32Error(error));
}

BOOL CALLBACK CollectMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM list) {
  reinterpret_cast<std::vector<HMONITOR>*>(list)->push_back(monitor);
  return TRUE;
}

DiagnosticLine MonitorLine(int number, HMONITOR monitor) {
  MONITORINFOEXW info{};
  info.cbSize = sizeof info;
  std::string check = "Monitor " + std::to_string(number);
  if (!GetMonitorInfoW(monitor, &info)) return Failed(check, "no monitor information", FormatWin32Error(GetLastError()));
  check += " " + WideToUtf8(info.szDevice);
  const RECT& r = info.rcMonitor;
  std::string detail = std::to_string(r.right - r.left) + " x " + std::to_string(r.bottom - r.top) + " at (" +
                       std::to_string(r.left) + ", " + std::to_string(r.top) + ")";
  if (info.dwFlags & MONITORINFOF_PRIMARY) detail += ", primary";
  UINT dpiX = 0, dpiY = 0;
  const HRESULT dpi = GetDpiForMonitor(monitor, MDT_EFFECTIVE_DPI, &dpiX, &dpiY);
  if (FAILED(dpi)) return Failed(check, detail + ", DPI unreadable", FormatHresult(dpi));
  detail += ", " + std::to_string(dpiX) + " DPI (" + std::to_string(dpiX * 100 / 96) + "%)";
  DEVMODEW mode{};
  mode.dmSize = sizeof mode;
  if (!EnumDisplaySettingsExW(info.szDevice, ENUM_CURRENT_SETTINGS, &mode, 0)) {
    return Failed(check, detail + ", rotation unreadable", FormatWin32Error(GetLastError()));
  }
  const bool hasOrientation = (mode.dmFields & DM_DISPLAYORIENTATION) != 0;
  detail += ", rotation " + std::to_string(hasOrientation ? mode.dmDisplayOrientation * 90 : 0) + " degrees";
  return Passed(check, detail);
}

}  // namespace

std::vector<DiagnosticLine> ProbeSystem() {
  std::vector<DiagnosticLine> lines{WindowsLine(), DpiAwarenessLine()};
  std::vector<HMONITOR> monitors;
  if (!EnumDisplayMonitors(nullptr, nullptr, CollectMonitor, reinterpret_cast<LPARAM>(&monitors)) || monitors.empty()) {
    lines.push_back(Failed("Monitors", "none found", FormatWin32Error(GetLastError())));
  }
  for (size_t i = 0; i < monitors.size(); ++i) lines.push_back(MonitorLine(static_cast<int>(i) + 1, monitors[i]));
  return lines;
}
