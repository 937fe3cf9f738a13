#include "panel/panel_hooks_win.h"

// The hooks themselves live with the hotkeys; until they are wired in, nothing is installed and
// the mirrors have no reader.
std::unique_ptr<PanelHooks> PanelHooks::Install(HWND) noexcept { return nullptr; }
PanelHooks::~PanelHooks() = default;
void MirrorPanelVisible(bool) noexcept {}
void MirrorCaptureSlot(int) noexcept {}
