#pragma once
// What a growing answer shows while the model is still writing it.
#include <string>
#include <string_view>

#include "tutor/tutor_types.h"

// The text to draw for `text`, a reply that is still being written. Math runs that are closed
// show as math; from the first run whose end has not arrived yet (or whose reading still waits for
// the next character, as "$x$" does: a digit after it makes it money) the rest shows as plain text.
// So a run turns into math once, when it closes, and the lines never switch back and forth.
std::wstring LiveDisplayText(std::wstring_view text);

// Whether the growing answer of a query of `kind` may show: it has text, and for a screen scan it is
// not (yet) the model writing "none", which ends as "no question" rather than as an answer.
bool LiveAnswerShows(QueryKind kind, std::wstring_view answer, std::wstring_view explanation);
