#pragma once
// Locale-free case folding of wide text. It maps only 'A'..'Z', which is exactly what the C
// library's towlower does in the "C" locale the program runs in, but without depending on the
// runtime: the Windows build and the native tests fold every text the same way.

constexpr wchar_t AsciiLowerWide(wchar_t c) {
  return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}
