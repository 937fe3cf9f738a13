#pragma once
// Small helpers shared by the platform adapters of screen reading: failures as exceptions that
// carry the platform's error code, and owning wrappers for runtime strings and event handles.
#include <windows.h>
#include <winstring.h>
#include <wrl/client.h>

#include <cstdio>
#include <stdexcept>
#include <string>
#include <string_view>

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
class OwnedHString {
 public:
  OwnedHString() = default;
  explicit OwnedHString(std::wstring_view text) {
    ThrowIfFailed(WindowsCreateString(text.data(), static_cast<UINT32>(text.size()), &value_), "WindowsCreateString");
  }
  ~OwnedHString() {
    if (value_) WindowsDeleteString(value_);
  }
  OwnedHString(const OwnedHString&) = delete;
  OwnedHString& operator=(const OwnedHString&) = delete;
  HSTRING Get() const { return value_; }
  // For out-parameters; the string must be empty.
  HSTRING* Put() { return &value_; }
  std::wstring ToWide() const {
    UINT32 length = 0;
    const wchar_t* raw = WindowsGetStringRawBuffer(value_, &length);
    return std::wstring(raw, length);
  }

 private:
  HSTRING value_ = nullptr;
};

// An owned Win32 event, closed on destruction.
class OwnedEvent {
 public:
  OwnedEvent() : handle_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    if (!handle_) throw PlatformError("CreateEvent", HRESULT_FROM_WIN32(GetLastError()));
  }
  ~OwnedEvent() { CloseHandle(handle_); }
  OwnedEvent(const OwnedEvent&) = delete;
  OwnedEvent& operator=(const OwnedEvent&) = delete;
  HANDLE Get() const { return handle_; }

 private:
  HANDLE handle_;
};
