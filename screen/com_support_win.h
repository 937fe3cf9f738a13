#pragma once
// Small helpers shared by the platform adapters of screen reading: failures as exceptions that
// carry the platform's error code, and the runtime strings and event handles they own.
#include <windows.h>
#include <winstring.h>
#include <wrl/client.h>

#include <cstdio>
#include <stdexcept>
#include <string>
#include <string_view>

#include "core/unique_handle_win.h"

using Microsoft::WRL::ComPtr;

// A failed platform call, with its HRESULT in the message: "<what> failed (0x80040154)".
class PlatformError : public std::runtime_error {
 public:
  PlatformError(const char* what, HRESULT code) : std::runtime_error(Describe(what, code)), code_(code) {}
  HRESULT code() const { return code_; }

 private:
  static std::string Describe(const char* what, HRESULT code) {
    char text[32];
    std::snprintf(text, sizeof text, " failed (0x%08lX)", static_cast<unsigned long>(code));
    return std::string(what) + text;
  }
  HRESULT code_;
};

inline void ThrowIfFailed(HRESULT result, const char* what) {
  if (FAILED(result)) throw PlatformError(what, result);
}

// An owned HSTRING, deleted on destruction.
inline void DeleteHString(HSTRING value) noexcept { WindowsDeleteString(value); }
using UniqueHString = UniqueHandle<HSTRING, &DeleteHString>;

inline UniqueHString MakeHString(std::wstring_view text) {
  UniqueHString value;
  ThrowIfFailed(WindowsCreateString(text.data(), static_cast<UINT32>(text.size()), value.put()), "WindowsCreateString");
  return value;
}

inline std::wstring HStringText(const UniqueHString& value) {
  UINT32 length = 0;
  const wchar_t* raw = WindowsGetStringRawBuffer(value.get(), &length);
  return std::wstring(raw, length);
}

// A new manual-reset event, not signalled.
inline UniqueKernelHandle MakeEvent() {
  UniqueKernelHandle event(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (!event) throw PlatformError("CreateEvent", HRESULT_FROM_WIN32(GetLastError()));
  return event;
}
