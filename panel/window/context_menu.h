#pragma once
// What the panel's popup menu holds and what copying the answer puts on the clipboard, decided from
// the panel's situation alone; panel/context_menu_win.cpp shows the menu and owns the clipboard.
#include <optional>
#include <string>
#include <vector>

#include "hotkeys/hotkey.h"
#include "tutor/tutor_types.h"

// The menu's commands, by their item IDs.
enum class MenuCommand : int {
  None = 0,  // dismissed; also the ID of a separator
  OpenPanel = 201,
  Scan = 202,
  Snip = 203,
  Ask = 204,
  CopyAnswer = 205,
  HandsFree = 206,
};

struct MenuItem {
  MenuCommand command = MenuCommand::None;  // None: a separator
  std::wstring text;                        // a hotkey's text follows a tab, shown right-aligned
  bool greyed = false;
  bool checked = false;
  bool operator==(const MenuItem&) const = default;
};

struct MenuSituation {
  bool stealth = false;
  bool queryRunning = false;
  bool answerOnView = false;  // a reply has arrived and it is an answer
  HotkeyTable hotkeys{};
  // The hands-free entry as the hands-free controller describes it.
  std::wstring handsFreeText;
  bool handsFreeChecked = false;
};

// The entries in order: in stealth mode the commands of the hidden panel first; copying always.
std::vector<MenuItem> ContextMenuItems(const MenuSituation& situation);

// The answer as copied: its text, then a blank line and the explanation when there is one, as
// stored (math markup included). Nothing unless the reply on view is an answer.
std::optional<std::wstring> AnswerClipboardText(bool hasReply, const TutorReply& reply);
