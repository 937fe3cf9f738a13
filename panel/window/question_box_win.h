#pragma once
// Reading the native question box for the panel to draw its content under glass: the selection,
// and for each visible line its first character, its length and where its row is.
#include <windows.h>

#include "panel/window/question_box_text.h"

// `box` is a multi-line edit control, a child of `panel`; positions come out in the panel's logical
// pixels (client pixels divided by `uiScale`). An invisible or missing box reads as empty.
QuestionBoxView ReadQuestionBox(HWND panel, HWND box, float uiScale);
