#include "panel/window/panel_controls.h"

#include "panel/panel_texts.h"

namespace {
constexpr ControlSpec Button(int id, const wchar_t* text) { return {id, ControlKind::Button, text}; }

constexpr std::array<ControlSpec, kControlSlots> kTable = {{
    Button(100, L"Close"),
    Button(101, L"Hide"),
    Button(102, L"Switch to stealth"),
    Button(103, panel_text::ScanScreen),
    Button(104, panel_text::AskQuestion),
    {105, ControlKind::QuestionEdit, L""},
    Button(106, panel_text::Send),
    Button(107, panel_text::HideExplanation),
    Button(108, panel_text::Stealth),
    Button(109, panel_text::SettingsTitle),
    Button(110, L"Snip vision"),
    Button(111, L"Account section"),
    Button(112, L"General section"),
    Button(113, L"Style section"),
    Button(114, L"Stealth section"),
    Button(115, L"Hotkeys section"),
    {116, ControlKind::SignInEdit, L""},
    Button(117, L"Send code"),
    Button(118, L"Back"),
    Button(119, L"Refresh account"),
    Button(120, panel_text::OpenConfigFile),
    Button(121, L"Sign out"),
    Button(122, L"Reload configuration"),
    Button(123, L"Dark theme"),
    Button(124, L"Light theme"),
    Button(125, L"Liquid glass off"),
    Button(126, L"Liquid glass on"),
    Button(127, L"Fast quality"),
    Button(128, L"Deep quality"),
    Button(129, L"Vision off"),
    Button(130, L"Vision on"),
    Button(131, L"Hands-free off"),
    Button(132, L"Hands-free 5 seconds"),
    Button(133, L"Hands-free 10 seconds"),
    Button(134, L"Hands-free 30 seconds"),
    Button(135, L"Strip width 2 pixels"),
    Button(136, L"Strip width 4 pixels"),
    Button(137, L"Strip width 6 pixels"),
    Button(138, L"Left screen edge"),
    Button(139, L"Right screen edge"),
    Button(140, L"Scan hotkey"),
    Button(141, L"Snip vision hotkey"),
    Button(142, L"Show or hide hotkey"),
    Button(143, L"Stealth hotkey"),
    Button(144, L"Quit hotkey"),
    Button(145, L"Secondary scan hotkey"),
    Button(146, L"Secondary snip vision hotkey"),
    Button(147, L"Secondary show or hide hotkey"),
    Button(148, L"Secondary stealth hotkey"),
    Button(149, L"Secondary quit hotkey"),
    Button(150, L"Reset hotkeys"),
}};
}  // namespace

const std::array<ControlSpec, kControlSlots>& PanelControlTable() { return kTable; }
