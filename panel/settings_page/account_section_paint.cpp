// The open account section: the local-key note, the signed-in account, or the sign-in form.
#include <algorithm>

#include "panel/paint/text_block.h"
#include "panel/window/panel_controls.h"
#include "panel/window/question_box_text.h"
#include "panel/panel_texts.h"
#include "panel/settings_page/settings_paint_parts.h"

namespace cid = control_id;

namespace {
constexpr float kLeft = 22 + 12;  // text starts 12 inside the card

void DrawInputFrame(const SettingsPaintContext& c, const AccountPaintView& account) {
  const PanelPalette& p = c.palette;
  const RectF frame{34, 174, c.width - 68, 30};
  const bool focused = account.fieldFocused;
  if (!p.glass) {
    c.canvas.FillRoundedRect(frame, 9, p.light ? 0xFFF9F9F9u : 0xFF2A2A2Au);
    const Argb outline = p.light ? (focused ? 0x99666468u : 0x36666468u) : (focused ? 0xB2FFFFFFu : 0x48FFFFFFu);
    c.canvas.StrokeRoundedRect(frame, 9, {outline, 1});
    return;
  }
  // Under glass the native field is practically invisible: a frosted pane with the text (or its
  // prompt) and the caret drawn here.
  const Argb fill = p.light ? (focused ? 0x74FFFFFFu : 0x52FFFFFFu) : (focused ? 0x4C0C0E12u : 0x3A0C0E12u);
  c.canvas.FillRoundedRect(frame, 9, fill);
  c.canvas.StrokeRoundedRect(frame, 9, {p.cardOutline, 1});
  const Argb cueInk = WithAlpha(p.secondary, 0x90);
  DrawEditText(c.canvas, c.measurer, account.field, SignInFieldRect(c.width),
               {PanelFont(15, false), p.primary, cueInk,
                account.codeStage ? panel_text::CodePrompt : panel_text::EmailPrompt, p.accent});
}

// Nothing names a tutor service: what to do about it, and the two buttons that do it.
void PaintFirstRun(const SettingsPaintContext& c, const AccountPaintView& account) {
  const PanelPalette& p = c.palette;
  const float lineWidth = c.width - 68;
  c.Text(panel_text::NoServiceYet, {kLeft, 137, lineWidth, 20}, 12.5f, p.primary);
  c.Text(panel_text::KeyGoesInConfig, {kLeft, 159, lineWidth, 18}, 11.5f, p.secondary, false);
  c.Text(account.firstRunNote, {kLeft, 178, lineWidth, 32}, 11, account.firstRunNoteIsError ? c.ErrorColour() : p.secondary,
         false);
  c.PrimaryButton(control_id::OpenConfigFile, {34, 213, 112, 28}, panel_text::OpenConfigFile);
  c.PillButton(control_id::ReloadConfig, {154, 213, 72, 28}, panel_text::ReloadConfig, 11.5f);
}
}  // namespace

void PaintAccountSection(const SettingsPaintContext& c, const AccountPaintView& account) {
  const PanelPalette& p = c.palette;
  const float lineWidth = c.width - 68;
  switch (account.area) {
    case AccountArea::LocalKey:
      c.Text(L"Using local API key (vyk.cfg)", {kLeft, 137, lineWidth, 20}, 12.5f, p.primary);
      c.Text(L"Set backend_url in vyk.cfg or remove api_key", {kLeft, 161, lineWidth, 18}, 11.5f, p.secondary,
             false);
      return;
    case AccountArea::SignedIn:
      c.Text(account.email.empty() ? L"Signed in" : account.email, {kLeft, 137, lineWidth, 22}, 13, p.primary);
      c.Text(account.statusLine, {kLeft, 161, lineWidth, 20}, 12, account.statusIsError ? c.ErrorColour() : p.secondary,
             false);
      c.PillButton(cid::RefreshAccount, {34, 213, 82, 28}, RefreshButtonLabel(account.jobRunning), 11.5f);
      c.PillButton(cid::SignOut, {c.width - 118, 213, 84, 28}, L"Sign out", 11.5f);
      return;
    case AccountArea::FirstRun: PaintFirstRun(c, account); return;
    case AccountArea::SignInEmail:
    case AccountArea::SignInCode: break;
  }
  c.Text(account.statusLine, {kLeft, 157, lineWidth, 18}, 11, account.statusIsError ? c.ErrorColour() : p.secondary,
         false);
  DrawInputFrame(c, account);
  c.PrimaryButton(cid::SendCode, {34, 213, 112, 28}, PrimaryButtonLabel(account.jobRunning, account.codeStage));
  if (account.area == AccountArea::SignInCode) c.PillButton(cid::SignInBack, {154, 213, 72, 28}, L"Back", 11.5f);
}
