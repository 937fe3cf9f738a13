#pragma once
// The panel's side of the global input hooks: the state they read, and their installation.
#include <windows.h>

#include <memory>

class PanelHooks {
 public:
  // Installs the keyboard and then the mouse hook, posting to `panel`. Null when neither could
  // be installed.
  static std::unique_ptr<PanelHooks> Install(HWND panel) noexcept;
  // Removes both hooks and clears everything the hooks read.
  ~PanelHooks();
  PanelHooks(const PanelHooks&) = delete;
  PanelHooks& operator=(const PanelHooks&) = delete;

 private:
  PanelHooks() = default;
};

// Mirrors the hooks read on every event.
void MirrorPanelVisible(bool visible) noexcept;
void MirrorCaptureSlot(int slot) noexcept;
