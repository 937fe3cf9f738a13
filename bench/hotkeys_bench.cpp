// The hook procedures must return at once: one key event through the dispatcher, and, off the hook
// path, reading a stored binding back (the name search of up to 254 keys).
#include <benchmark/benchmark.h>

#include "hotkeys/hook_dispatch.h"
#include "hotkeys/hotkey_text.h"

namespace {

void BM_KeyEventThatMatchesNothing(benchmark::State& state) {
  HookDispatcher hooks;
  for (auto _ : state) {
    HookVerdict down = hooks.OnKey(KeyTransition::Down, 'K', ModifierSide::LeftCtrl);
    HookVerdict up = hooks.OnKey(KeyTransition::Up, 'K', ModifierSide::LeftCtrl);
    benchmark::DoNotOptimize(down);
    benchmark::DoNotOptimize(up);
  }
}
BENCHMARK(BM_KeyEventThatMatchesNothing);

void BM_HotkeyPressAndRelease(benchmark::State& state) {
  HookDispatcher hooks;
  for (auto _ : state) {
    HookVerdict down = hooks.OnKey(KeyTransition::Down, 0x78, 0);
    HookVerdict up = hooks.OnKey(KeyTransition::Up, 0x78, 0);
    benchmark::DoNotOptimize(down);
    benchmark::DoNotOptimize(up);
  }
}
BENCHMARK(BM_HotkeyPressAndRelease);

void BM_ParseStoredBinding(benchmark::State& state) {
  const wchar_t* texts[] = {L"Ctrl+Alt+C", L"F9", L"Right Alt", L"Shift+Middle Click", L"VK_0xAF"};
  for (auto _ : state) {
    for (const wchar_t* text : texts) benchmark::DoNotOptimize(ParseHotkey(text));
  }
  state.SetItemsProcessed(state.iterations() * 5);
}
BENCHMARK(BM_ParseStoredBinding);

}  // namespace
