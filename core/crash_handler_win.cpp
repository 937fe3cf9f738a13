#include "core/crash_handler_win.h"

#include <windows.h>
#include <dbghelp.h>
#include <shlobj.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <exception>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/crash_dumps.h"
#include "core/log.h"
#include "core/unique_handle_win.h"
#include "core/utf.h"

namespace {

// The dump is written by a thread of its own, so that a crash on a broken stack (an overflow) or
// under a lock it needs cannot stop it, and the crashing thread shows where it crashed. The crash
// ends the program after this long even when the writer has not finished (it takes well under a
// second on Windows; under Wine, reading every module can take many seconds).
constexpr DWORD kWriteTimeoutMs = 60000;

// Made at installation and never freed: a crash must not depend on static destruction order.
const std::wstring* g_folder = nullptr;
std::atomic<bool> g_crashing{false};
LPTOP_LEVEL_EXCEPTION_FILTER g_previousFilter = nullptr;
std::terminate_handler g_previousTerminate = nullptr;

void CloseFind(HANDLE find) noexcept { FindClose(find); }
using UniqueFind = UniqueHandle<HANDLE, &CloseFind>;

HANDLE ValidOrNull(HANDLE handle) { return handle == INVALID_HANDLE_VALUE ? nullptr : handle; }

std::wstring LocalAppDataFolder() {
  wchar_t value[MAX_PATH];
  const DWORD length = GetEnvironmentVariableW(L"LOCALAPPDATA", value, MAX_PATH);
  if (length > 0 && length < MAX_PATH) return value;
  PWSTR known = nullptr;
  std::wstring folder;
  if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &known))) folder = known;
  CoTaskMemFree(known);
  return folder;
}

struct CrashReport {
  EXCEPTION_POINTERS* exception = nullptr;  // null for std::terminate
  DWORD threadId = 0;                       // the crashing thread
  char cause[32] = {};                      // "exception 0xC0000005" or "std::terminate"
};

std::wstring NewDumpPath(const std::wstring& folder) {
  SYSTEMTIME now;
  GetSystemTime(&now);
  const CrashTime time{now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
  return folder + L"\\" + CrashDumpFileName(time, GetCurrentProcessId());
}

// Writes the dump; the system error code on failure, 0 on success.
DWORD WriteDump(const std::wstring& path, const CrashReport& report) {
  UniqueKernelHandle file(
      ValidOrNull(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr)));
  if (!file) return GetLastError();
  // A dump needs no symbols: without this, Wine's dbghelp reads the debug information of every
  // module first, which can take longer than the wait for the writer.
  SymSetOptions(SymGetOptions() | SYMOPT_DEFERRED_LOADS);
  MINIDUMP_EXCEPTION_INFORMATION exception{report.threadId, report.exception, FALSE};
  const BOOL written = MiniDumpWriteDump(GetCurrentProcess(), GetCurrentProcessId(), file.get(), MiniDumpNormal,
                                         report.exception ? &exception : nullptr, nullptr, nullptr);
  const DWORD error = written ? 0 : GetLastError();
  file.reset();
  if (!written) DeleteFileW(path.c_str());
  return written ? 0 : (error != 0 ? error : ERROR_WRITE_FAULT);
}

void PruneDumps(const std::wstring& folder) {
  WIN32_FIND_DATAW found;
  UniqueFind find(ValidOrNull(FindFirstFileW((folder + L"\\vyk-*.dmp").c_str(), &found)));
  if (!find) return;
  std::vector<std::wstring> names;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
  } while (FindNextFileW(find.get(), &found));
  for (const std::wstring& name : CrashDumpsToPrune(names)) DeleteFileW((folder + L"\\" + name).c_str());
}

DWORD WINAPI WriteCrashDump(void* parameter) noexcept {
  const CrashReport& report = *static_cast<const CrashReport*>(parameter);
  const std::wstring& appData = *g_folder;
  if (appData.empty()) {
    VykLog("[vyk] Crashed (%s); no crash dump: the local application data folder is unknown.\n", report.cause);
    return 0;
  }
  const std::wstring folder = appData + L"\\Tavisk\\crashes";
  CreateDirectoryW((appData + L"\\Tavisk").c_str(), nullptr);
  CreateDirectoryW(folder.c_str(), nullptr);
  const std::wstring path = NewDumpPath(folder);
  if (const DWORD error = WriteDump(path, report)) {
    VykLog("[vyk] Crashed (%s); the crash dump could not be written (error %lu).\n", report.cause, error);
    return 0;
  }
  VykLog("[vyk] Crashed (%s); crash dump written to %s\n", report.cause, WideToUtf8(path).c_str());
  PruneDumps(folder);
  return 0;
}

// Writes the dump from a thread of its own and waits for it; only the first crash of the process.
void ReportCrash(EXCEPTION_POINTERS* exception) noexcept {
  if (g_crashing.exchange(true)) return;
  // Static: the writer may still read it when the wait gives up and the crash goes on.
  static CrashReport report;
  report.exception = exception;
  report.threadId = GetCurrentThreadId();
  if (exception) {
    std::snprintf(report.cause, sizeof(report.cause), "exception 0x%08lX",
                  static_cast<unsigned long>(exception->ExceptionRecord->ExceptionCode));
  } else {
    std::snprintf(report.cause, sizeof(report.cause), "std::terminate");
  }
  UniqueKernelHandle writer(CreateThread(nullptr, 0, &WriteCrashDump, &report, 0, nullptr));
  if (writer) {
    WaitForSingleObject(writer.get(), kWriteTimeoutMs);
  } else {
    WriteCrashDump(&report);
  }
}

LONG WINAPI OnUnhandledException(EXCEPTION_POINTERS* exception) noexcept {
  ReportCrash(exception);
  return g_previousFilter ? g_previousFilter(exception) : EXCEPTION_CONTINUE_SEARCH;
}

[[noreturn]] void OnTerminate() noexcept {
  ReportCrash(nullptr);
  if (g_previousTerminate) g_previousTerminate();
  std::abort();
}

// Development builds only: the crashes VYK_DEV_CRASH names, for the tests of the dumps.
void ThrowForDevelopment() { throw std::runtime_error("development crash"); }
void (*volatile g_developmentThrow)() = &ThrowForDevelopment;  // called where the compiler cannot see it
void CallWithoutExceptions() noexcept { g_developmentThrow(); }

void CrashForDevelopment() {
  wchar_t kind[16] = {};
  const DWORD length = GetEnvironmentVariableW(L"VYK_DEV_CRASH", kind, 16);
  if (length == 0 || length >= 16) return;
  if (std::wcscmp(kind, L"access") == 0) {
    volatile uintptr_t address = 0;
    *reinterpret_cast<volatile int*>(address) = 1;
  } else if (std::wcscmp(kind, L"noexcept") == 0) {
    CallWithoutExceptions();
  }
}

}  // namespace

void InstallCrashDumps(bool development) noexcept {
  if (g_folder) return;
  try {
    g_folder = new std::wstring(LocalAppDataFolder());
  } catch (const std::bad_alloc&) {
    return;  // no dumps then; the program runs as before
  }
  g_previousFilter = SetUnhandledExceptionFilter(&OnUnhandledException);
  g_previousTerminate = std::set_terminate(&OnTerminate);
  if (development) CrashForDevelopment();
}
