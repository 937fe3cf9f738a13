#pragma once
// For tests of hand-declared COM and runtime interfaces: an object whose vtable answers every slot
// with its own number, so a test can call a declared method and see which slot the call reached.
#include <windows.h>

#include <array>
#include <utility>

namespace slot_recorder {

inline int g_lastSlot = -1;

template <int Slot>
HRESULT STDMETHODCALLTYPE RecordSlot(void*, void*, void*, void*, void*, void*) {
  g_lastSlot = Slot;
  return S_OK;
}

template <int... Slots>
constexpr auto SlotTable(std::integer_sequence<int, Slots...>) {
  using Entry = HRESULT(STDMETHODCALLTYPE*)(void*, void*, void*, void*, void*, void*);
  return std::array<Entry, sizeof...(Slots)>{&RecordSlot<Slots>...};
}

inline const auto kSlots = SlotTable(std::make_integer_sequence<int, 48>{});

}  // namespace slot_recorder

// An object whose vtable pointer leads to the recorder slots, seen as any interface.
struct SlotRecorder {
  const void* vtable = slot_recorder::kSlots.data();
  template <class Interface>
  Interface* As() {
    return reinterpret_cast<Interface*>(this);
  }
};

// The vtable slot that `call(recorder)` reached, -1 for none.
template <class Call>
int SlotOf(Call call) {
  SlotRecorder recorder;
  slot_recorder::g_lastSlot = -1;
  call(recorder);
  return slot_recorder::g_lastSlot;
}
