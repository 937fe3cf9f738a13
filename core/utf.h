#pragma once
// UTF-8 <-> wide text. wchar_t is UTF-16 on Windows (characters above U+FFFF become surrogate
// pairs) and UTF-32 elsewhere. Malformed input never fails: each bad sequence becomes U+FFFD.
#include <string>
#include <string_view>

std::wstring Utf8ToWide(std::string_view utf8);
std::string WideToUtf8(std::wstring_view wide);
// Appends one code point (at most U+10FFFF) as 1 to 4 bytes of UTF-8.
void AppendUtf8(std::string& out, char32_t codePoint);
