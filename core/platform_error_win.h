#pragma once
// The program's one way from a failed platform call (an HRESULT) to an error: an exception that
// carries the code, thrown inside an adapter and caught where the adapter answers its caller (as an
// HRESULT, an empty result or a reply), so that errors still cross layers as values.
#include <windows.h>

#include <cstdio>
#include <stdexcept>
#include <string>

// A failed platform call, with its HRESULT in the message: "<what> failed (0x80040154)".
class PlatformError : public std::runtime_error {
 public:
  PlatformError(const char* what, HRESULT code) : std::runtime_error(Describe(what, code)), code_(code) {}
  HRESULT code() const noexcept { return code_; }

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

// The calling thread's last system error as a PlatformError.
[[noreturn]] inline void ThrowLastError(const char* what) {
  const DWORD error = GetLastError();
  throw PlatformError(what, error ? HRESULT_FROM_WIN32(error) : E_FAIL);
}
