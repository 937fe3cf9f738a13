#pragma once
// Logical rectangles of the panel's pieces on the answer and question pages (W x H logical panel).
// The window procedure uses them for hit testing and for placing the child controls; the painter
// draws at the same places.
#include <optional>
#include <vector>

#include "panel/panel_geometry.h"
#include "panel/panel_rules.h"

RectF WindowDotRect(int index);  // 0 close, 1 hide, 2 stealth
RectF SnipButtonRect(float width);
RectF SettingsButtonRect(float width);
RectF ScanButtonRect(float width);
RectF AskButtonRect(float width);
RectF QuestionBoxRect(float width, float height);
RectF SendButtonRect(float width, float height);
RectF FooterStealthRect(float width, float height);

// The answer page's two cards; the explanation card is the collapsed header when not shown.
struct AnswerCards {
  RectF answer;
  RectF explanation;
  RectF answerBody;
  std::optional<RectF> explanationBody;  // only while the explanation is shown
  RectF explanationHeader;               // the hit area of the show/hide button
};
AnswerCards AnswerPageCards(float width, float height, bool explanationShown);

// Settings page: the header of section `index` (0..4) when `openSection` (-1 for none) is open.
RectF SectionHeaderRect(float width, int index, int openSection);

// Where one child control goes, and whether it shows.
struct ControlPlacement {
  int id = 0;
  RectF rect;
  bool shown = false;
  bool operator==(const ControlPlacement&) const = default;
};

// The controls of the header, the action row, the question page, the answer page and the footer
// on `page` (the settings page places its own, see panel/settings_page.h). `answerShown`: a reply
// with an explanation is on view.
std::vector<ControlPlacement> MainControlPlacements(float width, float height, PanelPage page,
                                                    bool explanationShown, bool answerShown);
