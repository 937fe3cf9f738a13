// The question page and the answer page (empty, busy, the answer card and the explanation card).
#include <algorithm>
#include <string>

#include "panel/live_answer_text.h"
#include "panel/window/panel_controls.h"
#include "panel/paint/panel_drawing.h"
#include "panel/paint/panel_paint_parts.h"
#include "panel/panel_rules.h"
#include "panel/panel_texts.h"
#include "panel/window/question_box_text.h"
#include "panel/paint/text_block.h"

namespace cid = control_id;

namespace {
constexpr float kSide = 22;
constexpr float kContentTop = 176;
constexpr float kFooterHeight = 45;
constexpr float kCardRadius = 16;

struct SendLook {
  Argb fill;
  Argb ink;
};

SendLook SendButtonLook(const PanelPalette& p, bool hot, bool enabled) {
  SendLook look = p.light ? SendLook{hot ? 0xFF303034u : 0xFF202024u, 0xFFFFFFFFu}
                          : SendLook{hot ? 0xFFF8F8F8u : 0xFFEBEBEBu, 0xFF121216u};
  if (!enabled) look.fill = WithAlpha(look.fill, 0x9A);
  return look;
}

void PaintQuestionFrame(const PaintContext& c, const RectF& frame) {
  const PanelPalette& p = c.palette;
  const bool focused = c.view.controls.questionBoxFocused;
  if (!p.glass) {
    c.canvas.FillRoundedRect(frame, 10, p.light ? 0xFFF9F9F9u : 0xFF2A2A2Au);
    Argb outline = p.light ? (focused ? 0x99666468u : 0x36666468u) : (focused ? 0xB2FFFFFFu : 0x48FFFFFFu);
    c.canvas.StrokeRoundedRect(frame, 10, {outline, 1});
    return;
  }
  // Under glass the frame is a frosted pane, lighter at its top, and the panel draws the box's
  // content, since the native box is then practically invisible.
  Argb fill = p.light ? (focused ? 0x74FFFFFFu : 0x52FFFFFFu) : (focused ? 0x4C0C0E12u : 0x3A0C0E12u);
  c.canvas.FillRoundedRect(frame, 10,
                           Brush(LinearGradient{{frame.x, frame.y}, {frame.x, frame.Bottom()},
                                                WithAlpha(fill, uint8_t(std::min(255, AlphaOf(fill) + 0x18))), fill}));
  c.canvas.StrokeRoundedRect(frame, 10, {p.cardOutline, 1});
  DrawQuestionBoxText(c.canvas, c.measurer, c.view.questionBox, QuestionBoxRect(c.width, c.height), p.light,
                      p.accent);
}

// The disc, heading and line shown while no answer is on view.
void PaintEmptyState(const PaintContext& c, float area) {
  Canvas& canvas = c.canvas;
  const PanelPalette& p = c.palette;
  const PointF centre{c.width / 2, kContentTop + 0.28f * area};
  const RectF disc = CircleBounds(centre, 36);
  if (!p.glass && p.light) {
    DrawSoftShadow(canvas, disc, 36, 2);
    canvas.FillEllipse(disc, panel_colour::White);
    canvas.StrokeEllipse(disc, {0x1C000000, 0.9f});
  } else if (!p.glass) {
    canvas.FillEllipse(disc, 0xFF2E2E36u);
    canvas.StrokeEllipse(disc, {0x2AF0E6F4, 0.9f});
  } else {
    DrawSoftShadow(canvas, disc, 36, 2);
    canvas.FillEllipse(disc, p.light ? 0x70FFFFFFu : 0x34FFFFFFu);
    canvas.StrokeEllipse(disc, {p.light ? MakeArgb(26, 255, 78, 174) : MakeArgb(20, 242, 54, 142), 1});
  }
  DrawPanelGlyph(canvas, PanelGlyph::Scan, {centre.x - 14, centre.y - 14}, 28, p.accent);

  const bool running = c.view.queryRunning;
  const bool firstRun = c.view.firstRun && !running;
  c.Text(firstRun ? std::wstring(panel_text::NoServiceYet) : BusyHeading(running, c.view.kind),
         {kSide, centre.y + 52, c.width - 2 * kSide, 29}, 19, p.primary, true, OneLine(TextAlign::Center));
  std::wstring line = running ? std::wstring(panel_text::AnswerWillAppear)
                              : panel_text::BringIntoViewThenPress + c.view.scanHotkey + L".";
  if (firstRun) line = panel_text::FirstRunAnswerLine;
  c.Text(line, {kSide, centre.y + 82, c.width - 2 * kSide, 22}, 13.5f, p.secondary, true,
         OneLine(TextAlign::Center));
}

// What the two cards of the answer page hold: a reply, an answer streaming in, or the start of a
// streamed answer that was cut off, beside its failure.
struct CardTexts {
  std::wstring_view label;
  std::wstring badge;       // the option, or the cut-off mark; empty for none
  bool badgeIsMark = false;
  std::wstring_view body;
  float bodySize = 15;
  bool explanationCard = false;
  std::wstring_view explanation;
  std::wstring_view note;   // under the answer: the failure that cut it off
};

CardTexts ReplyCards(const TutorReply& reply) {
  CardTexts texts;
  const bool answer = reply.status == TutorReply::Answer;
  texts.label = answer ? panel_text::AnswerLabel : panel_text::ScanResultLabel;
  if (answer && reply.option >= 0 && reply.option < 26) {
    texts.badge = panel_text::OptionPrefix + std::wstring(1, wchar_t(L'A' + reply.option));
  }
  texts.body = reply.status == TutorReply::NoQuestion ? std::wstring_view(panel_text::NoReadableQuestion)
                                                      : std::wstring_view(reply.text);
  if (answer) texts.bodySize = 19.5f;
  texts.explanationCard = answer;
  texts.explanation = reply.explanation.empty() ? std::wstring_view(panel_text::NoExplanation)
                                                : std::wstring_view(reply.explanation);
  return texts;
}

// `shown` holds the answer and the explanation as they are drawn while the stream runs.
CardTexts LiveCards(const std::wstring (&shown)[2], const TutorReply* failure) {
  CardTexts texts;
  texts.label = panel_text::AnswerLabel;
  texts.body = shown[0];
  texts.bodySize = 19.5f;
  texts.explanationCard = true;
  texts.explanation = shown[1];
  if (failure) {
    texts.badge = panel_text::CutOff;
    texts.badgeIsMark = true;
    texts.note = failure->text;
  }
  return texts;
}

Argb ErrorInk(const PanelPalette& p) { return p.light ? 0xFFBC2E2Cu : 0xFFFFA29Cu; }

void PaintAnswerCard(const PaintContext& c, const AnswerCards& cards, const CardTexts& texts) {
  const PanelPalette& p = c.palette;
  const RectF card = cards.answer;
  c.Card(card, kCardRadius);
  c.Text(texts.label, {card.x + 12, card.y + 9, 130, 21}, 11.5f, p.secondary);
  if (!texts.badge.empty()) {
    const RectF badge{card.Right() - 74, card.y + 10, 62, 20};
    c.canvas.FillRoundedRect(badge, 10, p.badgeFill);
    c.canvas.StrokeRoundedRect(badge, 10, {texts.badgeIsMark ? WithAlpha(ErrorInk(p), 0x90) : p.badgeOutline,
                                           p.glass ? 1.0f : 0.85f});
    c.Text(texts.badge, badge, 12, texts.badgeIsMark ? ErrorInk(p) : p.primary, true, OneLine(TextAlign::Center));
  }
  RectF body = cards.answerBody;
  if (!texts.note.empty()) {
    // The failure's sentence takes the card's last lines; the answer scrolls above it.
    const float noteHeight = std::min(body.height / 2, c.measurer.MeasureWrapped(texts.note, PanelFont(12), body.width).height);
    body.height -= noteHeight + 4;
    c.canvas.DrawTextBox(texts.note, PanelFont(12), ErrorInk(p), {body.x, body.Bottom() + 4, body.width, noteHeight},
                         {TextAlign::Near, TextAlign::Near, true, false});
  }
  DrawTextBlock(c.canvas, c.measurer, texts.body, body, texts.bodySize, p.primary, c.view.answerScroll,
                c.view.answerScrollMax, true);
}

void PaintExplanationCard(const PaintContext& c, const AnswerCards& cards, const CardTexts& texts) {
  const PanelPalette& p = c.palette;
  const RectF card = cards.explanation;
  const RectF header = cards.explanationHeader;
  c.Card(card, kCardRadius);
  c.ControlTint(cid::Explanation, header, kCardRadius);
  c.canvas.DrawLine({card.x + 12, card.y}, {card.Right() - 12, card.y}, {p.divider, 1});
  c.Text(panel_text::Explanation, {card.x + 12, card.y + 1, 150, 36}, 14.5f, p.primary);
  DrawPanelGlyph(c.canvas, PanelGlyph::Chevron, {header.Right() - 26, header.y + 13.5f}, 12, p.accent,
                 c.view.explanationShown);
  c.FocusRing(cid::Explanation, header, kCardRadius);
  if (!c.view.explanationShown || !cards.explanationBody) return;
  DrawTextBlock(c.canvas, c.measurer, texts.explanation, *cards.explanationBody, 15, p.secondary,
                c.view.explanationScroll, c.view.explanationScrollMax, true);
}

void PaintCards(const PaintContext& c, const CardTexts& texts) {
  // Only an answer has an explanation; the other replies take the whole area.
  const AnswerCards cards = AnswerPageCards(c.width, c.height, texts.explanationCard && c.view.explanationShown);
  PaintAnswerCard(c, cards, texts);
  if (texts.explanationCard) PaintExplanationCard(c, cards, texts);
}

}  // namespace

void PaintQuestionPage(const PaintContext& c) {
  const PanelPalette& p = c.palette;
  const float area = c.height - kFooterHeight - 193;
  c.Text(panel_text::YourQuestion, {kSide, kContentTop, c.width - 2 * kSide, 24}, 16.5f, p.primary);
  PaintQuestionFrame(c, {kSide, 207, c.width - 2 * kSide, area - 81});

  const RectF send = SendButtonRect(c.width, c.height);
  const SendLook look = SendButtonLook(p, c.Hot(cid::Send), c.view.controls.sendEnabled);
  c.canvas.FillRoundedRect(send, 16.5f, look.fill);
  DrawAccentOutline(c.canvas, send, 16.5f, 0x30, uint8_t(p.accent >> 16), uint8_t(p.accent >> 8), uint8_t(p.accent));
  c.Text(panel_text::Send, {send.x + 6, send.y, 41, 33}, 12, look.ink, true, OneLine(TextAlign::Center));
  DrawPanelGlyph(c.canvas, PanelGlyph::Arrow, {send.x + 60, send.y + 8}, 15, look.ink);
  c.FocusRing(cid::Send, send, 16.5f);
  c.Text(panel_text::SendHint, {kSide, send.y, c.width - 134, 33}, 12, p.secondary, false);
}

void PaintAnswerPage(const PaintContext& c) {
  const float area = c.height - kFooterHeight - kContentTop - 18;
  const TutorReply* reply = c.view.reply;
  if (c.view.live && (c.view.queryRunning || reply)) {
    const std::wstring shown[2] = {LiveDisplayText(c.view.live->answer), LiveDisplayText(c.view.live->explanation)};
    PaintCards(c, LiveCards(shown, c.view.queryRunning ? nullptr : reply));
    return;
  }
  if (!reply || c.view.queryRunning) {
    PaintEmptyState(c, area);
    return;
  }
  PaintCards(c, ReplyCards(*reply));
}
