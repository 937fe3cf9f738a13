#pragma once
// Turns the model's free-text answer into a TutorReply: fenced or bare JSON, "none", a bare
// letter, or prose.
#include <string>
#include <string_view>

#include "tutor/tutor_types.h"

// The chosen multiple-choice position (0..3) named by `text`, or -1. Accepts forms such as
// "B", "c.", "(d)", "[2]", "option 3", "choice b"; a bare letter or digit (or "(2)") only when
// `allowBare` is set, since on its own it may be a numeric answer.
int OptionIndex(std::string_view text, bool allowBare);

// `content` is the assistant text (UTF-8); `kind` decides whether "none" and no_question count.
TutorReply ParseTutorReply(const std::string& content, QueryKind kind);

// A JSON number as printf's "%.15g" writes it with C99 semantics ("42", "0.5", "1e+21").
std::string FormatAnswerNumber(double value);
