#pragma once
// PanelEffect: one Direct2D effect described to the compositor (a Gaussian blur or a colour
// matrix): its effect class, its properties in Direct2D's order as boxed values, exactly one
// source, and a name. The compositor reads it through IGraphicsEffectD2D1Interop.
#include <windows.h>

#include <atomic>
#include <string>
#include <vector>

#include "core/unique_handle_win.h"
#include "glass/composition_interfaces_win.h"

class PanelEffect final : public comp::IGraphicsEffect,
                          public comp::IGraphicsEffectSource,
                          public comp::IGraphicsEffectD2D1Interop {
 public:
  // A new effect with one reference, owned by the caller; none without memory.
  static UniqueCom<PanelEffect> Create(const GUID& effectId, std::vector<UniqueCom<IInspectable>> properties,
                                       UniqueCom<comp::IGraphicsEffectSource> source);

  // IUnknown (shared by the three interfaces)
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  // IInspectable
  HRESULT STDMETHODCALLTYPE GetIids(ULONG* count, IID** iids) override;
  HRESULT STDMETHODCALLTYPE GetRuntimeClassName(HSTRING* name) override;
  HRESULT STDMETHODCALLTYPE GetTrustLevel(TrustLevel* level) override;
  // IGraphicsEffect
  HRESULT STDMETHODCALLTYPE get_Name(HSTRING* name) override;
  HRESULT STDMETHODCALLTYPE put_Name(HSTRING name) override;
  // IGraphicsEffectD2D1Interop
  HRESULT STDMETHODCALLTYPE GetEffectId(GUID* id) override;
  HRESULT STDMETHODCALLTYPE GetNamedPropertyMapping(LPCWSTR name, UINT* index,
                                                    comp::GraphicsEffectPropertyMapping* mapping) override;
  HRESULT STDMETHODCALLTYPE GetPropertyCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetProperty(UINT index, comp::IPropertyValue** value) override;
  HRESULT STDMETHODCALLTYPE GetSource(UINT index, comp::IGraphicsEffectSource** source) override;
  HRESULT STDMETHODCALLTYPE GetSourceCount(UINT* count) override;

 private:
  PanelEffect() = default;
  ~PanelEffect() = default;

  std::atomic<ULONG> references_{1};
  std::wstring name_;
  GUID effectId_{};
  std::vector<UniqueCom<IInspectable>> properties_;
  UniqueCom<comp::IGraphicsEffectSource> source_;
};
