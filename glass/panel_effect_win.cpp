#include "glass/panel_effect_win.h"

#include <winstring.h>

#include <new>

namespace {
constexpr HRESULT kOutOfBounds = static_cast<HRESULT>(0x8000000B);  // E_BOUNDS
constexpr wchar_t kClassName[] = L"Vyk.PanelEffect";
}  // namespace

UniqueCom<PanelEffect> PanelEffect::Create(const GUID& effectId, std::vector<UniqueCom<IInspectable>> properties,
                                           UniqueCom<comp::IGraphicsEffectSource> source) {
  UniqueCom<PanelEffect> effect(new (std::nothrow) PanelEffect());  // takes the reference it is born with
  if (!effect) return {};
  effect->effectId_ = effectId;
  effect->properties_ = std::move(properties);
  effect->source_ = std::move(source);
  return effect;
}

HRESULT PanelEffect::QueryInterface(REFIID iid, void** object) {
  if (!object) return E_POINTER;
  if (iid == IID_IUnknown || iid == comp::kIidInspectable || iid == comp::kIidGraphicsEffect) {
    *object = static_cast<comp::IGraphicsEffect*>(this);
  } else if (iid == comp::kIidGraphicsEffectSource) {
    *object = static_cast<comp::IGraphicsEffectSource*>(this);
  } else if (iid == comp::kIidGraphicsEffectD2D1Interop) {
    *object = static_cast<comp::IGraphicsEffectD2D1Interop*>(this);
  } else {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

ULONG PanelEffect::AddRef() { return ++references_; }

ULONG PanelEffect::Release() {
  const ULONG left = --references_;
  if (left == 0) delete this;
  return left;
}

HRESULT PanelEffect::GetIids(ULONG* count, IID** iids) {
  if (!count || !iids) return E_POINTER;
  *count = 0;
  *iids = static_cast<IID*>(CoTaskMemAlloc(2 * sizeof(IID)));
  if (!*iids) return E_OUTOFMEMORY;
  (*iids)[0] = comp::kIidGraphicsEffect;
  (*iids)[1] = comp::kIidGraphicsEffectSource;
  *count = 2;
  return S_OK;
}

HRESULT PanelEffect::GetRuntimeClassName(HSTRING* name) {
  if (!name) return E_POINTER;
  return WindowsCreateString(kClassName, static_cast<UINT32>(std::size(kClassName) - 1), name);
}

HRESULT PanelEffect::GetTrustLevel(TrustLevel* level) {
  if (!level) return E_POINTER;
  *level = BaseTrust;
  return S_OK;
}

HRESULT PanelEffect::get_Name(HSTRING* name) {
  if (!name) return E_POINTER;
  return WindowsCreateString(name_.data(), static_cast<UINT32>(name_.size()), name);
}

HRESULT PanelEffect::put_Name(HSTRING name) {
  UINT32 length = 0;
  const wchar_t* text = WindowsGetStringRawBuffer(name, &length);
  name_.assign(text ? text : L"", length);
  return S_OK;
}

HRESULT PanelEffect::GetEffectId(GUID* id) {
  if (!id) return E_POINTER;
  *id = effectId_;
  return S_OK;
}

HRESULT PanelEffect::GetNamedPropertyMapping(LPCWSTR, UINT*, comp::GraphicsEffectPropertyMapping*) {
  return E_INVALIDARG;  // every property goes by its index
}

HRESULT PanelEffect::GetPropertyCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = static_cast<UINT>(properties_.size());
  return S_OK;
}

HRESULT PanelEffect::GetProperty(UINT index, comp::IPropertyValue** value) {
  if (!value) return E_POINTER;
  *value = nullptr;
  if (index >= properties_.size()) return kOutOfBounds;
  if (!properties_[index]) return E_UNEXPECTED;
  return properties_[index]->QueryInterface(comp::kIidPropertyValue, reinterpret_cast<void**>(value));
}

HRESULT PanelEffect::GetSource(UINT index, comp::IGraphicsEffectSource** source) {
  if (!source) return E_POINTER;
  *source = nullptr;
  if (index != 0 || !source_) return kOutOfBounds;
  *source = source_.get();
  (*source)->AddRef();
  return S_OK;
}

HRESULT PanelEffect::GetSourceCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 1;
  return S_OK;
}
