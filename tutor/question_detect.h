#pragma once
// A cheap local check of whether recognised screen text looks like a study question, so that an
// automatic scan only costs a tutor request when there is something to answer.
#include <string_view>

// True when the text scores at least 2: two or more multiple-choice option markers (A) to D),
// a. to d., (a) or [a] at the start of lines), a question mark (3 with option markers, else 1),
// a typical question phrase (2) and up to two subject keywords (1 each). Texts shorter than 15
// UTF-16 code units are never questions. Case folding is ASCII-only on every platform.
bool LooksLikeQuestion(std::wstring_view text);
