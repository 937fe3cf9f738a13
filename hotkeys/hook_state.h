#pragma once
// The one process-wide hook state: the live bindings and the flags that the panel mirrors into it
// (shown or hidden, recording slot, paused). Read and written only on the UI thread.
#include "hotkeys/hook_dispatch.h"

HookDispatcher& LiveHookState();

// Publishes a table of bindings to the hooks.
inline void PublishHotkeys(const HotkeyTable& table) { LiveHookState().SetTable(table); }
