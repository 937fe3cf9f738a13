#include "panel/panel_layout.h"

#include <cmath>

#include "panel/window/panel_controls.h"
#include "panel/settings_page/settings_rows.h"

namespace {
constexpr float kSide = 22.0f;
constexpr float kActionRowTop = 113.0f;
constexpr float kContentTop = 176.0f;
constexpr float kFooterHeight = 45.0f;
constexpr float kExplanationHeaderHeight = 39.0f;

float ActionButtonWidth(float width) { return (width - 2 * kSide - 8) / 2; }
float QuestionAreaHeight(float height) { return height - kFooterHeight - 193; }
}  // namespace

RectF WindowDotRect(int index) { return {12.0f + 18.0f * index, 12, 18, 18}; }
RectF SnipButtonRect(float width) { return {width - 75, 6.5f, 28, 28}; }
RectF SettingsButtonRect(float width) { return {width - 43, 6.5f, 28, 28}; }
RectF ScanButtonRect(float width) {
  return {kSide, kActionRowTop, ActionButtonWidth(width), 40};
}
RectF AskButtonRect(float width) {
  float w = ActionButtonWidth(width);
  return {kSide + w + 8, kActionRowTop, w, 40};
}
RectF QuestionBoxRect(float width, float height) {
  return {35, 218, width - 70, QuestionAreaHeight(height) - 103};
}
RectF SendButtonRect(float width, float height) {
  return {width - 104, kContentTop + QuestionAreaHeight(height) - 35, 82, 33};
}
RectF FooterStealthRect(float width, float height) {
  return {width - 134, height - kFooterHeight + 6, 118, 32};
}

AnswerCards AnswerPageCards(float width, float height, bool explanationShown) {
  float area = height - kFooterHeight - kContentTop - 18;
  float cardWidth = width - 2 * kSide;
  AnswerCards cards;
  if (explanationShown) {
    float answerHeight = std::floor(0.48f * area);
    cards.answer = {kSide, kContentTop, cardWidth, answerHeight};
    cards.explanation = {kSide, kContentTop + answerHeight + 5, cardWidth, area - answerHeight};
    const RectF& e = cards.explanation;
    cards.explanationBody = RectF{e.x + 12, e.y + 45, e.width - 24, e.height - 50};
  } else {
    float answerHeight = area - kExplanationHeaderHeight;
    cards.answer = {kSide, kContentTop, cardWidth, answerHeight};
    cards.explanation = {kSide, kContentTop + answerHeight + 5, cardWidth,
                         kExplanationHeaderHeight};
  }
  const RectF& a = cards.answer;
  cards.answerBody = {a.x + 12, a.y + 36, a.width - 24, a.height - 41};
  cards.explanationHeader = {cards.explanation.x, cards.explanation.y, cardWidth,
                             kExplanationHeaderHeight};
  return cards;
}

RectF SectionHeaderRect(float width, int index, int openSection) {
  RectF header = SectionRect(width, index, openSection);
  header.height = kSectionHeaderHeight;
  return header;
}

std::vector<ControlPlacement> MainControlPlacements(float width, float height, PanelPage page,
                                                    bool explanationShown, bool answerShown) {
  namespace cid = control_id;
  bool settingsPage = page == PanelPage::Settings;
  bool questionPage = page == PanelPage::Question;
  std::vector<ControlPlacement> placements;
  for (int i = 0; i < 3; ++i) placements.push_back({cid::Close + i, WindowDotRect(i), true});
  placements.push_back({cid::Settings, SettingsButtonRect(width), true});
  placements.push_back({cid::Snip, SnipButtonRect(width), !settingsPage});
  placements.push_back({cid::Scan, ScanButtonRect(width), !settingsPage});
  placements.push_back({cid::Ask, AskButtonRect(width), !settingsPage});
  placements.push_back({cid::QuestionBox, QuestionBoxRect(width, height), questionPage});
  placements.push_back({cid::Send, SendButtonRect(width, height), questionPage});
  placements.push_back({cid::Explanation, AnswerPageCards(width, height, explanationShown).explanationHeader,
                        answerShown});
  placements.push_back({cid::FooterStealth, FooterStealthRect(width, height), true});
  return placements;
}
