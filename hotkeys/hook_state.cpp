#include "hotkeys/hook_state.h"

HookDispatcher& LiveHookState() {
  static HookDispatcher state;
  return state;
}
