#pragma once
// UTF-8 / UTF-16 conversions for the query pipeline. std::wstring is UTF-16 on Windows and UTF-32
// elsewhere; these helpers hide that, so the same code runs and is tested on both.
#include <string>
#include <string_view>

namespace utf16text {

// Decodes UTF-8 into the platform's wide form; malformed bytes become U+FFFD.
std::wstring WideFromUtf8(std::string_view utf8);

// The wide text as UTF-16 code units (a copy on Windows, surrogate pairs built elsewhere).
std::u16string Utf16FromWide(std::wstring_view wide);

// Encodes UTF-16 as UTF-8; an unpaired surrogate becomes U+FFFD.
std::string Utf8FromUtf16(std::u16string_view utf16);

// Encodes the wide text as UTF-8.
inline std::string Utf8FromWide(std::wstring_view wide) { return Utf8FromUtf16(Utf16FromWide(wide)); }

constexpr bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }

}  // namespace utf16text
