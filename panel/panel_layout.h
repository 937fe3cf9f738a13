#pragma once
// Logical rectangles of the panel's pieces on the answer and question pages (W x H logical panel).
// The window procedure uses them for hit testing and for placing the child controls; the painter
// draws at the same places.
#include <optional>

#include "panel/panel_geometry.h"

LogicalRect WindowDotRect(int index);  // 0 close, 1 hide, 2 stealth
LogicalRect SnipButtonRect(float width);
LogicalRect SettingsButtonRect(float width);
LogicalRect ScanButtonRect(float width);
LogicalRect AskButtonRect(float width);
LogicalRect QuestionBoxRect(float width, float height);
LogicalRect SendButtonRect(float width, float height);
LogicalRect FooterStealthRect(float width, float height);

// The answer page's two cards; the explanation card is the collapsed header when not shown.
struct AnswerCards {
  LogicalRect answer;
  LogicalRect explanation;
  LogicalRect answerBody;
  std::optional<LogicalRect> explanationBody;  // only while the explanation is shown
  LogicalRect explanationHeader;               // the hit area of the show/hide button
};
AnswerCards AnswerPageCards(float width, float height, bool explanationShown);

// Settings page: the header of section `index` (0..4) when `openSection` (-1 for none) is open.
LogicalRect SectionHeaderRect(float width, int index, int openSection);
