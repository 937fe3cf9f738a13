#pragma once
// Text that mixes words and math runs: whether math is present, and splitting into tokens.
// Math runs are $...$ and \(...\) (inline) and $$...$$ and \[...\] (display). A single-dollar pair
// counts as math only when its content looks like math rather than two dollar amounts.
#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

#include "math/math_node.h"

// Whether the text needs the rich path (it has math, or an escaped dollar to unescape).
bool ContainsMath(std::wstring_view text);

// Words, single-space tokens, line breaks and parsed math runs, in reading order.
std::vector<RichToken> SplitRichText(std::wstring_view text);

// Whether the single dollars at `open` and `close` enclose math (`close` may be none).
bool LooksLikeInlineMath(std::wstring_view text, size_t open, std::optional<size_t> close);

// The first `$` at or after `from` preceded by an even number of backslashes.
std::optional<size_t> NextUnescapedDollar(std::wstring_view text, size_t from);

// Whether the character at `i` is preceded by an even number of backslashes (zero included).
bool IsUnescapedAt(std::wstring_view text, size_t i);
