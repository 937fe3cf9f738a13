#include "panel/window/context_menu.h"

#include "hotkeys/hotkey_text.h"

namespace {
std::wstring WithHotkey(const wchar_t* text, Hotkey hotkey) { return text + (L"\t" + HotkeyToText(hotkey)); }
}  // namespace

std::vector<MenuItem> ContextMenuItems(const MenuSituation& situation) {
  std::vector<MenuItem> items;
  if (situation.stealth) {
    const HotkeyTable& keys = situation.hotkeys;
    items.push_back({MenuCommand::OpenPanel, WithHotkey(L"Open Tutor Panel", keys[HotkeySlot::ToggleMode])});
    items.push_back({});
    items.push_back({MenuCommand::Scan, WithHotkey(L"Scan Screen", keys[HotkeySlot::Scan]), situation.queryRunning});
    items.push_back({MenuCommand::Snip, WithHotkey(L"Snip Vision", keys[HotkeySlot::Snip]), situation.queryRunning});
    items.push_back({MenuCommand::Ask, L"Ask a Question\u2026"});
    items.push_back({MenuCommand::HandsFree, situation.handsFreeText, false, situation.handsFreeChecked});
  }
  items.push_back({MenuCommand::CopyAnswer, L"Copy Answer and Explanation", !situation.answerOnView});
  return items;
}

std::optional<std::wstring> AnswerClipboardText(bool hasReply, const TutorReply& reply) {
  if (!hasReply || reply.status != TutorReply::Answer) return std::nullopt;
  std::wstring text = reply.text;
  if (!reply.explanation.empty()) text += L"\r\n\r\n" + reply.explanation;
  return text;
}
