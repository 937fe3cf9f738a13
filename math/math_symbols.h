#pragma once
// The fixed tables of math markup: command names to symbols, function names (shown upright) and
// the symbols that are operators (spaced as such). Lookups are exact and case-sensitive.
#include <optional>
#include <span>
#include <string_view>

struct MathSymbolEntry {
  std::wstring_view name;    // the command name, without its backslash
  std::wstring_view symbol;  // the text it stands for
};

std::optional<std::wstring_view> LookupSymbol(std::wstring_view name);
bool IsFunctionName(std::wstring_view name);
bool IsOperatorSymbol(std::wstring_view symbol);

// The tables themselves, in their fixed order.
std::span<const MathSymbolEntry> MathSymbolTable();
std::span<const std::wstring_view> MathFunctionNames();
std::span<const std::wstring_view> MathOperatorSymbols();
