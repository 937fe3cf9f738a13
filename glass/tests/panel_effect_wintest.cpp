// What the compositor learns from an effect description: its class, its properties by index only,
// exactly one source, and the platform's error codes for everything else.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "core/runtime_string_win.h"
#include "glass/panel_effect_win.h"

namespace {

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
HRESULT Query(IUnknown* object, const GUID& iid, UniqueCom<Interface>& result) {
  return QueryCom(object, iid, result);
}

UniqueCom<IInspectable> Boxed(FakeValue& value) {
  UniqueCom<IInspectable> boxed;
  value.QueryInterface(comp::kIidInspectable, reinterpret_cast<void**>(boxed.put()));
  return boxed;
}

TEST(PanelEffect, AnswersTheCompositorsQueries) {
  FakeValue deviation, optimisation, border;
  UniqueCom<PanelEffect> inner = PanelEffect::Create(comp::kClsidColorMatrix, {}, {});
  UniqueCom<comp::IGraphicsEffectSource> innerSource;
  ASSERT_EQ(Query(static_cast<comp::IGraphicsEffect*>(inner.get()), comp::kIidGraphicsEffectSource, innerSource), S_OK);
  {
    std::vector<UniqueCom<IInspectable>> properties;
    for (FakeValue* value : {&deviation, &optimisation, &border}) properties.push_back(Boxed(*value));
    UniqueCom<PanelEffect> blur =
        PanelEffect::Create(comp::kClsidGaussianBlur, std::move(properties), ShareCom(innerSource.get()));
    ASSERT_TRUE(blur);
    UniqueCom<comp::IGraphicsEffectD2D1Interop> interop;
    UniqueCom<comp::IGraphicsEffect> effect;
    ASSERT_EQ(Query(static_cast<comp::IGraphicsEffect*>(blur.get()), comp::kIidGraphicsEffectD2D1Interop, interop), S_OK);
    ASSERT_EQ(Query(static_cast<comp::IGraphicsEffect*>(blur.get()), comp::kIidGraphicsEffect, effect), S_OK);

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
    EXPECT_EQ(source, innerSource.get());
    if (source) source->Release();
    for (UINT bad : {1u, 2u, 0xFFFFFFFFu}) EXPECT_EQ(interop->GetSource(bad, &source), kOutOfBounds) << bad;

    EXPECT_EQ(effect->put_Name(MakeHString(L"Blur").get()), S_OK);
    UniqueHString read;
    EXPECT_EQ(effect->get_Name(read.put()), S_OK);
    EXPECT_EQ(HStringText(read.get()), L"Blur");

    IUnknown* unknown = nullptr;
    EXPECT_EQ(interop->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&unknown)), E_NOINTERFACE);
  }
  // The effect let go of its properties when it went.
  EXPECT_EQ(deviation.references, 1u);
  EXPECT_EQ(border.references, 1u);
}

}  // namespace
