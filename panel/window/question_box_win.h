#pragma once
// Reading a native edit control (the question box or the sign-in field) for the panel to draw its
// content under glass: the selection, and for each visible line its first character, its length and
// where its row is; a single-line control's one line starts where its sideways scroll puts it.
#include <windows.h>

#include "panel/window/question_box_text.h"

// `box` is an edit control, a child of `panel`; positions come out in the panel's logical pixels
// (client pixels divided by `uiScale`). An invisible or missing box reads as empty.
QuestionBoxView ReadEditBox(HWND panel, HWND box, float uiScale);
