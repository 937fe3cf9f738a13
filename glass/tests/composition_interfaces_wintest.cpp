// The hand-written composition interfaces call the vtable slots that the platform metadata assigns
// (IUnknown takes slots 0..2, IInspectable 0..5). Wine has no compositor, so a misplaced method
// would only show on a real Windows machine: here a recorder object answers every slot with its
// own number.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>

#include "core/tests/slot_recorder_win.h"
#include "glass/composition_interfaces_win.h"

namespace {

struct SlotCase {
  const char* method;
  int slot;
  std::function<void(SlotRecorder&)> call;
};

TEST(CompositionInterfaceSlots, EveryCalledMethodSitsInItsPublishedSlot) {
  using namespace comp;
  const SlotCase cases[] = {
      {"ICompositor::CreateContainerVisual", 9, [](SlotRecorder& r) { r.As<ICompositor>()->CreateContainerVisual(nullptr); }},
      {"ICompositor::CreateEffectFactory", 11, [](SlotRecorder& r) { r.As<ICompositor>()->CreateEffectFactory(nullptr, nullptr); }},
      {"ICompositor::CreateSpriteVisual", 22, [](SlotRecorder& r) { r.As<ICompositor>()->CreateSpriteVisual(nullptr); }},
      {"ICompositor::CreateSurfaceBrushWithSurface", 24,
       [](SlotRecorder& r) { r.As<ICompositor>()->CreateSurfaceBrushWithSurface(nullptr, nullptr); }},
      {"ICompositor3::CreateHostBackdropBrush", 6, [](SlotRecorder& r) { r.As<ICompositor3>()->CreateHostBackdropBrush(nullptr); }},
      {"ICompositor5::CreateRoundedRectangleGeometry", 20,
       [](SlotRecorder& r) { r.As<ICompositor5>()->CreateRoundedRectangleGeometry(nullptr); }},
      {"ICompositor6::CreateGeometricClipWithGeometry", 7,
       [](SlotRecorder& r) { r.As<ICompositor6>()->CreateGeometricClipWithGeometry(nullptr, nullptr); }},
      {"ICompositorInterop::CreateCompositionSurfaceForSwapChain", 4,
       [](SlotRecorder& r) { r.As<ICompositorInterop>()->CreateCompositionSurfaceForSwapChain(nullptr, nullptr); }},
      {"ICompositorDesktopInterop::CreateDesktopWindowTarget", 3,
       [](SlotRecorder& r) { r.As<ICompositorDesktopInterop>()->CreateDesktopWindowTarget(nullptr, FALSE, nullptr); }},
      {"ICompositionTarget::put_Root", 7, [](SlotRecorder& r) { r.As<ICompositionTarget>()->put_Root(nullptr); }},
      {"IVisual::put_Clip", 15, [](SlotRecorder& r) { r.As<IVisual>()->put_Clip(nullptr); }},
      {"IVisual::put_IsVisible", 19, [](SlotRecorder& r) { r.As<IVisual>()->put_IsVisible(true); }},
      {"IVisual::put_Offset", 21, [](SlotRecorder& r) { r.As<IVisual>()->put_Offset({0, 1, 0}); }},
      {"IVisual::put_Opacity", 23, [](SlotRecorder& r) { r.As<IVisual>()->put_Opacity(0.5f); }},
      {"IVisual::put_Size", 36, [](SlotRecorder& r) { r.As<IVisual>()->put_Size({1, 1}); }},
      {"IVisual2::put_RelativeSizeAdjustment", 11, [](SlotRecorder& r) { r.As<IVisual2>()->put_RelativeSizeAdjustment({1, 1}); }},
      {"IContainerVisual::get_Children", 6, [](SlotRecorder& r) { r.As<IContainerVisual>()->get_Children(nullptr); }},
      {"IVisualCollection::InsertAtBottom", 8, [](SlotRecorder& r) { r.As<IVisualCollection>()->InsertAtBottom(nullptr); }},
      {"IVisualCollection::InsertAtTop", 9, [](SlotRecorder& r) { r.As<IVisualCollection>()->InsertAtTop(nullptr); }},
      {"ISpriteVisual::put_Brush", 7, [](SlotRecorder& r) { r.As<ISpriteVisual>()->put_Brush(nullptr); }},
      {"ICompositionEffectFactory::CreateBrush", 6, [](SlotRecorder& r) { r.As<ICompositionEffectFactory>()->CreateBrush(nullptr); }},
      {"ICompositionEffectBrush::SetSourceParameter", 7,
       [](SlotRecorder& r) { r.As<ICompositionEffectBrush>()->SetSourceParameter(nullptr, nullptr); }},
      {"ICompositionEffectSourceParameterFactory::Create", 6,
       [](SlotRecorder& r) { r.As<ICompositionEffectSourceParameterFactory>()->Create(nullptr, nullptr); }},
      {"ICompositionGeometricClip::put_Geometry", 7, [](SlotRecorder& r) { r.As<ICompositionGeometricClip>()->put_Geometry(nullptr); }},
      {"ICompositionRoundedRectangleGeometry::put_CornerRadius", 7,
       [](SlotRecorder& r) { r.As<ICompositionRoundedRectangleGeometry>()->put_CornerRadius({2, 2}); }},
      {"ICompositionRoundedRectangleGeometry::put_Size", 11,
       [](SlotRecorder& r) { r.As<ICompositionRoundedRectangleGeometry>()->put_Size({2, 2}); }},
      {"IGraphicsEffect::get_Name", 6, [](SlotRecorder& r) { r.As<IGraphicsEffect>()->get_Name(nullptr); }},
      {"IGraphicsEffect::put_Name", 7, [](SlotRecorder& r) { r.As<IGraphicsEffect>()->put_Name(nullptr); }},
      {"IGraphicsEffectD2D1Interop::GetEffectId", 3, [](SlotRecorder& r) { r.As<IGraphicsEffectD2D1Interop>()->GetEffectId(nullptr); }},
      {"IGraphicsEffectD2D1Interop::GetNamedPropertyMapping", 4,
       [](SlotRecorder& r) { r.As<IGraphicsEffectD2D1Interop>()->GetNamedPropertyMapping(nullptr, nullptr, nullptr); }},
      {"IGraphicsEffectD2D1Interop::GetPropertyCount", 5,
       [](SlotRecorder& r) { r.As<IGraphicsEffectD2D1Interop>()->GetPropertyCount(nullptr); }},
      {"IGraphicsEffectD2D1Interop::GetProperty", 6,
       [](SlotRecorder& r) { r.As<IGraphicsEffectD2D1Interop>()->GetProperty(0, nullptr); }},
      {"IGraphicsEffectD2D1Interop::GetSource", 7, [](SlotRecorder& r) { r.As<IGraphicsEffectD2D1Interop>()->GetSource(0, nullptr); }},
      {"IGraphicsEffectD2D1Interop::GetSourceCount", 8,
       [](SlotRecorder& r) { r.As<IGraphicsEffectD2D1Interop>()->GetSourceCount(nullptr); }},
      {"IPropertyValueStatics::CreateUInt32", 11, [](SlotRecorder& r) { r.As<IPropertyValueStatics>()->CreateUInt32(1, nullptr); }},
      {"IPropertyValueStatics::CreateSingle", 14, [](SlotRecorder& r) { r.As<IPropertyValueStatics>()->CreateSingle(1, nullptr); }},
      {"IPropertyValueStatics::CreateBoolean", 17, [](SlotRecorder& r) { r.As<IPropertyValueStatics>()->CreateBoolean(true, nullptr); }},
      {"IPropertyValueStatics::CreateSingleArray", 33,
       [](SlotRecorder& r) { r.As<IPropertyValueStatics>()->CreateSingleArray(0, nullptr, nullptr); }},
      {"IDispatcherQueueStatics::GetForCurrentThread", 6,
       [](SlotRecorder& r) { r.As<IDispatcherQueueStatics>()->GetForCurrentThread(nullptr); }},
  };
  for (const SlotCase& c : cases) EXPECT_EQ(SlotOf(c.call), c.slot) << c.method;
}

}  // namespace
