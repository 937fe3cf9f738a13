#pragma once
// Locale-free ASCII helpers for wire text: the same result on every platform and in every locale.
#include <string>
#include <string_view>

// Blank, tab, line feed, vertical tab, form feed, carriage return.
constexpr bool IsAsciiSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// `text` without ASCII white space at either end; other bytes (UTF-8 included) are kept.
std::string_view TrimAscii(std::string_view text);

// A copy with 'A'..'Z' mapped to 'a'..'z' and every other byte unchanged.
std::string AsciiLower(std::string_view text);
