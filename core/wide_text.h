#pragma once
// Locale-free ASCII rules for wide text (key names, settings values, recognised screen text): case
// folding and blanks for 'A'..'Z' and the ASCII blanks only. That is exactly what the C library's
// towlower does in the "C" locale the program runs in, but without depending on the runtime, so
// the Windows build and the native tests treat every text the same way.
#include <string_view>

inline wchar_t AsciiUpper(wchar_t c) { return (c >= L'a' && c <= L'z') ? wchar_t(c - L'a' + L'A') : c; }

constexpr wchar_t AsciiLowerWide(wchar_t c) {
  return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

// Case-insensitive for A..Z only, the same in every build and locale.
inline bool EqualsIgnoreAsciiCase(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
  }
  return true;
}

inline bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; }

// Without spaces, tabs, carriage returns and line feeds at either end.
inline std::wstring_view TrimBlanks(std::wstring_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}
