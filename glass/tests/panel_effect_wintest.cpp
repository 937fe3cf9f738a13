// What the compositor learns from an effect description: its class, its properties by index only,
// exactly one source, and the platform's error codes for everything else.
#include <windows.h>
#include <winstring.h>

#include <gtest/gtest.h>

#include "glass/panel_effect_win.h"

namespace {

using Microsoft::WRL::ComPtr;
constexpr HRESULT kOutOfBounds = static_cast<HRESULT>(0x8000000B);

// A boxed value stand-in: answers the property-value interface with itself.
class FakeValue final : public comp::IPropertyValue {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (iid == IID_IUnknown || iid == comp::kIidInspectable || iid == comp::kIidPropertyValue) {
      *object = this;
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
  ULONG STDMETHODCALLTYPE Release() override { return --references; }
  HRESULT STDMETHODCALLTYPE GetIids(ULONG*, IID**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetRuntimeClassName(HSTRING*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetTrustLevel(TrustLevel*) override { return E_NOTIMPL; }
  ULONG references = 1;
};

template <class Interface>
HRESULT Query(IUnknown* object, const GUID& iid, ComPtr<Interface>& result) {
  return object->QueryInterface(iid, reinterpret_cast<void**>(result.ReleaseAndGetAddressOf()));
}

ComPtr<IInspectable> Boxed(FakeValue& value) {
  ComPtr<IInspectable> boxed;
  value.QueryInterface(comp::kIidInspectable, reinterpret_cast<void**>(boxed.GetAddressOf()));
  return boxed;
}

TEST(PanelEffect, AnswersTheCompositorsQueries) {
  FakeValue deviation, optimisation, border;
  ComPtr<PanelEffect> inner = PanelEffect::Create(comp::kClsidColorMatrix, {}, nullptr);
  ComPtr<comp::IGraphicsEffectSource> innerSource;
  ASSERT_EQ(Query(static_cast<comp::IGraphicsEffect*>(inner.Get()), comp::kIidGraphicsEffectSource, innerSource), S_OK);
  {
    ComPtr<PanelEffect> blur = PanelEffect::Create(
        comp::kClsidGaussianBlur, {Boxed(deviation), Boxed(optimisation), Boxed(border)}, innerSource);
    ASSERT_TRUE(blur);
    ComPtr<comp::IGraphicsEffectD2D1Interop> interop;
    ComPtr<comp::IGraphicsEffect> effect;
    ASSERT_EQ(Query(static_cast<comp::IGraphicsEffect*>(blur.Get()), comp::kIidGraphicsEffectD2D1Interop, interop), S_OK);
    ASSERT_EQ(Query(static_cast<comp::IGraphicsEffect*>(blur.Get()), comp::kIidGraphicsEffect, effect), S_OK);

    GUID id{};
    EXPECT_EQ(interop->GetEffectId(&id), S_OK);
    EXPECT_EQ(id, comp::kClsidGaussianBlur);

    UINT index = 7;
    auto mapping = comp::kMappingDirect;
    EXPECT_EQ(interop->GetNamedPropertyMapping(L"BlurAmount", &index, &mapping), E_INVALIDARG);

    UINT count = 0;
    EXPECT_EQ(interop->GetPropertyCount(&count), S_OK);
    EXPECT_EQ(count, 3u);
    FakeValue* expected[] = {&deviation, &optimisation, &border};
    for (UINT i = 0; i < 3; ++i) {
      comp::IPropertyValue* value = nullptr;
      EXPECT_EQ(interop->GetProperty(i, &value), S_OK) << i;
      EXPECT_EQ(value, expected[i]) << i;
      if (value) value->Release();
    }
    comp::IPropertyValue* past = reinterpret_cast<comp::IPropertyValue*>(1);
    EXPECT_EQ(interop->GetProperty(3, &past), kOutOfBounds);
    EXPECT_EQ(past, nullptr);

    EXPECT_EQ(interop->GetSourceCount(&count), S_OK);
    EXPECT_EQ(count, 1u);
    comp::IGraphicsEffectSource* source = nullptr;
    EXPECT_EQ(interop->GetSource(0, &source), S_OK);
    EXPECT_EQ(source, innerSource.Get());
    if (source) source->Release();
    for (UINT bad : {1u, 2u, 0xFFFFFFFFu}) EXPECT_EQ(interop->GetSource(bad, &source), kOutOfBounds) << bad;

    HSTRING name = nullptr;
    WindowsCreateString(L"Blur", 4, &name);
    EXPECT_EQ(effect->put_Name(name), S_OK);
    WindowsDeleteString(name);
    HSTRING read = nullptr;
    EXPECT_EQ(effect->get_Name(&read), S_OK);
    UINT32 length = 0;
    EXPECT_STREQ(WindowsGetStringRawBuffer(read, &length), L"Blur");
    WindowsDeleteString(read);

    IUnknown* unknown = nullptr;
    EXPECT_EQ(interop->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&unknown)), E_NOINTERFACE);
  }
  // The effect let go of its properties when it went.
  EXPECT_EQ(deviation.references, 1u);
  EXPECT_EQ(border.references, 1u);
}

}  // namespace
