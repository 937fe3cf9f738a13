#pragma once
// The program's one owner of Windows Runtime strings (HSTRING): made from wide text, read back as
// wide text, deleted once.
#include <windows.h>
#include <winstring.h>

#include <string>
#include <string_view>

#include "core/platform_error_win.h"
#include "core/unique_handle_win.h"

namespace handle_close {
inline void RuntimeString(HSTRING value) noexcept { WindowsDeleteString(value); }
}  // namespace handle_close
using UniqueHString = UniqueHandle<HSTRING, &handle_close::RuntimeString>;

// A new runtime string holding `text`; throws PlatformError when it cannot be made.
inline UniqueHString MakeHString(std::wstring_view text) {
  UniqueHString value;
  ThrowIfFailed(WindowsCreateString(text.data(), static_cast<UINT32>(text.size()), value.put()), "WindowsCreateString");
  return value;
}

// The text of a runtime string (empty for none).
inline std::wstring HStringText(HSTRING value) {
  UINT32 length = 0;
  const wchar_t* raw = WindowsGetStringRawBuffer(value, &length);
  return raw ? std::wstring(raw, length) : std::wstring();
}
