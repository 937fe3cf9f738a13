#pragma once
// The Windows Runtime composition interfaces the glass backdrop calls, declared by hand because the
// MinGW headers have none of them. Interface IDs and method order are those of the published
// platform metadata (Windows.UI.Composition, Windows.UI.Composition.Desktop, Windows.Graphics.Effects,
// Windows.Foundation, Windows.System) and of the interop headers (windows.ui.composition.interop.h,
// windows.graphics.effects.interop.h). Methods this program never calls are kept as placeholders,
// only to hold their vtable slots; tests/composition_interfaces_wintest.cpp checks every slot called.
#include <windows.h>
#include <inspectable.h>

namespace comp {

struct Vector2 {
  float x = 0, y = 0;
};
struct Vector3 {
  float x = 0, y = 0, z = 0;
};

// Direct2D effect property mappings (only "none" is ever answered: the effect has no named properties).
enum GraphicsEffectPropertyMapping : INT32 { kMappingUnknown = 0, kMappingDirect = 1 };

#define VYK_COMP_IID(name, l, w1, w2, b0, b1, b2, b3, b4, b5, b6, b7) \
  inline constexpr GUID name = {l, w1, w2, {b0, b1, b2, b3, b4, b5, b6, b7}}

VYK_COMP_IID(kIidInspectable, 0xaf86e2e0, 0xb12d, 0x4c6a, 0x9c, 0x5a, 0xd7, 0xaa, 0x65, 0x10, 0x1e, 0x90);
VYK_COMP_IID(kIidCompositor, 0xb403ca50, 0x7f8c, 0x4e83, 0x98, 0x5f, 0xcc, 0x45, 0x06, 0x00, 0x36, 0xd8);
VYK_COMP_IID(kIidCompositor3, 0xc9dd8ef0, 0x6eb1, 0x4e3c, 0xa6, 0x58, 0x67, 0x5d, 0x9c, 0x64, 0xd4, 0xab);
VYK_COMP_IID(kIidCompositor5, 0x48ea31ad, 0x7fcd, 0x4076, 0xa7, 0x9c, 0x90, 0xcc, 0x4b, 0x85, 0x2c, 0x9b);
VYK_COMP_IID(kIidCompositor6, 0x7a38b2bd, 0xcec8, 0x4eeb, 0x83, 0x0f, 0xd8, 0xd0, 0x7a, 0xed, 0xeb, 0xc3);
VYK_COMP_IID(kIidCompositorInterop, 0x25297d5c, 0x3ad4, 0x4c9c, 0xb5, 0xcf, 0xe3, 0x6a, 0x38, 0x51, 0x23, 0x30);
VYK_COMP_IID(kIidCompositorDesktopInterop, 0x29e691fa, 0x4567, 0x4dca, 0xb3, 0x19, 0xd0, 0xf2, 0x07, 0xeb, 0x68,
             0x07);
VYK_COMP_IID(kIidCompositionTarget, 0xa1bea8ba, 0xd726, 0x4663, 0x81, 0x29, 0x6b, 0x5e, 0x79, 0x27, 0xff, 0xa6);
VYK_COMP_IID(kIidVisual, 0x117e202d, 0xa859, 0x4c89, 0x87, 0x3b, 0xc2, 0xaa, 0x56, 0x67, 0x88, 0xe3);
VYK_COMP_IID(kIidVisual2, 0x3052b611, 0x56c3, 0x4c3e, 0x8b, 0xf3, 0xf6, 0xe1, 0xad, 0x47, 0x3f, 0x06);
VYK_COMP_IID(kIidContainerVisual, 0x02f6bc74, 0xed20, 0x4773, 0xaf, 0xe6, 0xd4, 0x9b, 0x4a, 0x93, 0xdb, 0x32);
VYK_COMP_IID(kIidCompositionBrush, 0xab0d7608, 0x30c0, 0x40e9, 0xb5, 0x68, 0xb6, 0x0a, 0x6b, 0xd1, 0xfb, 0x46);
VYK_COMP_IID(kIidCompositionClip, 0x1ccd2a52, 0xcfc7, 0x4ace, 0x99, 0x83, 0x14, 0x6b, 0xb8, 0xeb, 0x6a, 0x3c);
VYK_COMP_IID(kIidCompositionGeometry, 0xe985217c, 0x6a17, 0x4207, 0xab, 0xd8, 0x5f, 0xd3, 0xdd, 0x61, 0x2a, 0x9d);
VYK_COMP_IID(kIidEffectSourceParameterFactory, 0xb3d9f276, 0xaba3, 0x4724, 0xac, 0xf3, 0xd0, 0x39, 0x74, 0x64, 0xdb,
             0x1c);
VYK_COMP_IID(kIidGraphicsEffect, 0xcb51c0ce, 0x8fe6, 0x4636, 0xb2, 0x02, 0x86, 0x1f, 0xaa, 0x07, 0xd8, 0xf3);
VYK_COMP_IID(kIidGraphicsEffectSource, 0x2d8f9ddc, 0x4339, 0x4eb9, 0x92, 0x16, 0xf9, 0xde, 0xb7, 0x56, 0x58, 0xa2);
VYK_COMP_IID(kIidGraphicsEffectD2D1Interop, 0x2fc57384, 0xa068, 0x44d7, 0xa3, 0x31, 0x30, 0x98, 0x2f, 0xcf, 0x71,
             0x77);
VYK_COMP_IID(kIidPropertyValue, 0x4bd682dd, 0x7554, 0x40e9, 0x9a, 0x9b, 0x82, 0x65, 0x4e, 0xde, 0x7e, 0x62);
VYK_COMP_IID(kIidPropertyValueStatics, 0x629bdbc8, 0xd932, 0x4ff4, 0x96, 0xb9, 0x8d, 0x96, 0xc5, 0xc1, 0xe8, 0x58);
VYK_COMP_IID(kIidDispatcherQueueStatics, 0xa96d83d7, 0x9371, 0x4517, 0x92, 0x45, 0xd0, 0x82, 0x4a, 0xc1, 0x2c,
             0x74);

#undef VYK_COMP_IID

// Direct2D's effect class identifiers (d2d1effects.h).
inline constexpr GUID kClsidGaussianBlur = {0x1feb6d69, 0x2fe6, 0x4ac9, {0x8c, 0x58, 0x1d, 0x7f, 0x93, 0xe7, 0xa6, 0xa5}};
inline constexpr GUID kClsidColorMatrix = {0x921f03d6, 0x641c, 0x47df, {0x85, 0x2d, 0xb4, 0xbb, 0x61, 0x53, 0xae, 0x11}};

struct ICompositionBrush : IInspectable {};
struct ICompositionClip : IInspectable {};
struct ICompositionGeometry : IInspectable {};
struct ICompositionSurface : IInspectable {};
struct ICompositionBackdropBrush : IInspectable {};
struct IGraphicsEffectSource : IInspectable {};
struct IDesktopWindowTarget : IInspectable {};
struct IPropertyValue : IInspectable {};
struct IDispatcherQueue : IInspectable {};
struct ICompositionEffectSourceParameter : IInspectable {};
struct IContainerVisual;
struct IVisualCollection;
struct ISpriteVisual;
struct ICompositionSurfaceBrush;
struct ICompositionEffectFactory;
struct ICompositionEffectBrush;
struct ICompositionGeometricClip;
struct ICompositionRoundedRectangleGeometry;
struct IVisual;

// Windows.Graphics.Effects.IGraphicsEffect
struct IGraphicsEffect : IInspectable {
  virtual HRESULT STDMETHODCALLTYPE get_Name(HSTRING* name) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_Name(HSTRING name) = 0;
};

// IGraphicsEffectD2D1Interop (an IUnknown interface)
struct IGraphicsEffectD2D1Interop : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE GetEffectId(GUID* id) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetNamedPropertyMapping(LPCWSTR name, UINT* index,
                                                            GraphicsEffectPropertyMapping* mapping) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetPropertyCount(UINT* count) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetProperty(UINT index, IPropertyValue** value) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetSource(UINT index, IGraphicsEffectSource** source) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetSourceCount(UINT* count) = 0;
};

// Windows.Foundation.IPropertyValueStatics
struct IPropertyValueStatics : IInspectable {
  virtual HRESULT STDMETHODCALLTYPE CreateEmpty() = 0;   // placeholder
  virtual HRESULT STDMETHODCALLTYPE CreateUInt8() = 0;   // placeholder
  virtual HRESULT STDMETHODCALLTYPE CreateInt16() = 0;   // placeholder
  virtual HRESULT STDMETHODCALLTYPE CreateUInt16() = 0;  // placeholder
  virtual HRESULT STDMETHODCALLTYPE CreateInt32() = 0;   // placeholder
  virtual HRESULT STDMETHODCALLTYPE CreateUInt32(UINT32 value, IInspectable** boxed) = 0;
  virtual HRESULT STDMETHODCALLTYPE CreateInt64() = 0;   // placeholder
  virtual HRESULT STDMETHODCALLTYPE CreateUInt64() = 0;  // placeholder
  virtual HRESULT STDMETHODCALLTYPE CreateSingle(FLOAT value, IInspectable** boxed) = 0;
  virtual HRESULT STDMETHODCALLTYPE CreateDouble() = 0;  // placeholder
  virtual HRESULT STDMETHODCALLTYPE CreateChar16() = 0;  // placeholder
  virtual HRESULT STDMETHODCALLTYPE CreateBoolean(boolean value, IInspectable** boxed) = 0;
  virtual HRESULT STDMETHODCALLTYPE CreateString() = 0;            // placeholder
  virtual HRESULT STDMETHODCALLTYPE CreateInspectable() = 0;       // placeholder
  virtual HRESULT STDMETHODCALLTYPE CreateGuid() = 0;              // placeholder
  virtual HRESULT STDMETHODCALLTYPE CreateDateTime() = 0;          // placeholder
  virtual HRESULT STDMETHODCALLTYPE CreateTimeSpan() = 0;          // placeholder
  virtual HRESULT STDMETHODCALLTYPE CreatePoint() = 0;             // placeholder
  virtual HRESULT STDMETHODCALLTYPE CreateSize() = 0;              // placeholder
  virtual HRESULT STDMETHODCALLTYPE CreateRect() = 0;              // placeholder
  virtual HRESULT STDMETHODCALLTYPE CreateUInt8Array() = 0;        // placeholder
  virtual HRESULT STDMETHODCALLTYPE CreateInt16Array() = 0;        // placeholder
  virtual HRESULT STDMETHODCALLTYPE CreateUInt16Array() = 0;       // placeholder
  virtual HRESULT STDMETHODCALLTYPE CreateInt32Array() = 0;        // placeholder
  virtual HRESULT STDMETHODCALLTYPE CreateUInt32Array() = 0;       // placeholder
  virtual HRESULT STDMETHODCALLTYPE CreateInt64Array() = 0;        // placeholder
  virtual HRESULT STDMETHODCALLTYPE CreateUInt64Array() = 0;       // placeholder
  virtual HRESULT STDMETHODCALLTYPE CreateSingleArray(UINT32 length, FLOAT* values, IInspectable** boxed) = 0;
};

// Windows.System.IDispatcherQueueStatics
struct IDispatcherQueueStatics : IInspectable {
  virtual HRESULT STDMETHODCALLTYPE GetForCurrentThread(IDispatcherQueue** queue) = 0;
};

// Windows.UI.Composition.ICompositor
struct ICompositor : IInspectable {
  virtual HRESULT STDMETHODCALLTYPE CreateColorKeyFrameAnimation() = 0;  // placeholder
  virtual HRESULT STDMETHODCALLTYPE CreateColorBrush() = 0;              // placeholder
  virtual HRESULT STDMETHODCALLTYPE CreateColorBrushWithColor() = 0;     // placeholder
  virtual HRESULT STDMETHODCALLTYPE CreateContainerVisual(IContainerVisual** visual) = 0;
  virtual HRESULT STDMETHODCALLTYPE CreateCubicBezierEasingFunction() = 0;  // placeholder
  virtual HRESULT STDMETHODCALLTYPE CreateEffectFactory(IGraphicsEffect* effect, ICompositionEffectFactory** factory) = 0;
  virtual HRESULT STDMETHODCALLTYPE CreateEffectFactoryWithProperties() = 0;        // placeholder
  virtual HRESULT STDMETHODCALLTYPE CreateExpressionAnimation() = 0;                // placeholder
  virtual HRESULT STDMETHODCALLTYPE CreateExpressionAnimationWithExpression() = 0;  // placeholder
  virtual HRESULT STDMETHODCALLTYPE CreateInsetClip() = 0;                          // placeholder
  virtual HRESULT STDMETHODCALLTYPE CreateInsetClipWithInsets() = 0;                // placeholder
  virtual HRESULT STDMETHODCALLTYPE CreateLinearEasingFunction() = 0;               // placeholder
  virtual HRESULT STDMETHODCALLTYPE CreatePropertySet() = 0;                        // placeholder
  virtual HRESULT STDMETHODCALLTYPE CreateQuaternionKeyFrameAnimation() = 0;        // placeholder
  virtual HRESULT STDMETHODCALLTYPE CreateScalarKeyFrameAnimation() = 0;            // placeholder
  virtual HRESULT STDMETHODCALLTYPE CreateScopedBatch() = 0;                        // placeholder
  virtual HRESULT STDMETHODCALLTYPE CreateSpriteVisual(ISpriteVisual** visual) = 0;
  virtual HRESULT STDMETHODCALLTYPE CreateSurfaceBrush() = 0;  // placeholder
  virtual HRESULT STDMETHODCALLTYPE CreateSurfaceBrushWithSurface(ICompositionSurface* surface,
                                                                  ICompositionSurfaceBrush** brush) = 0;
};

// Windows.UI.Composition.ICompositor3
struct ICompositor3 : IInspectable {
  virtual HRESULT STDMETHODCALLTYPE CreateHostBackdropBrush(ICompositionBackdropBrush** brush) = 0;
};

// Windows.UI.Composition.ICompositor5
struct ICompositor5 : IInspectable {
  virtual HRESULT STDMETHODCALLTYPE get_Comment() = 0;                   // placeholder
  virtual HRESULT STDMETHODCALLTYPE put_Comment() = 0;                   // placeholder
  virtual HRESULT STDMETHODCALLTYPE get_GlobalPlaybackRate() = 0;        // placeholder
  virtual HRESULT STDMETHODCALLTYPE put_GlobalPlaybackRate() = 0;        // placeholder
  virtual HRESULT STDMETHODCALLTYPE CreateBounceScalarAnimation() = 0;   // placeholder
  virtual HRESULT STDMETHODCALLTYPE CreateBounceVector2Animation() = 0;  // placeholder
  virtual HRESULT STDMETHODCALLTYPE CreateBounceVector3Animation() = 0;  // placeholder
  virtual HRESULT STDMETHODCALLTYPE CreateContainerShape() = 0;          // placeholder
  virtual HRESULT STDMETHODCALLTYPE CreateEllipseGeometry() = 0;         // placeholder
  virtual HRESULT STDMETHODCALLTYPE CreateLineGeometry() = 0;            // placeholder
  virtual HRESULT STDMETHODCALLTYPE CreatePathGeometry() = 0;            // placeholder
  virtual HRESULT STDMETHODCALLTYPE CreatePathGeometryWithPath() = 0;    // placeholder
  virtual HRESULT STDMETHODCALLTYPE CreatePathKeyFrameAnimation() = 0;   // placeholder
  virtual HRESULT STDMETHODCALLTYPE CreateRectangleGeometry() = 0;       // placeholder
  virtual HRESULT STDMETHODCALLTYPE CreateRoundedRectangleGeometry(ICompositionRoundedRectangleGeometry** geometry) = 0;
};

// Windows.UI.Composition.ICompositor6
struct ICompositor6 : IInspectable {
  virtual HRESULT STDMETHODCALLTYPE CreateGeometricClip() = 0;  // placeholder
  virtual HRESULT STDMETHODCALLTYPE CreateGeometricClipWithGeometry(ICompositionGeometry* geometry,
                                                                    ICompositionGeometricClip** clip) = 0;
};

// ICompositorInterop (windows.ui.composition.interop.h, an IUnknown interface)
struct ICompositorInterop : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE CreateCompositionSurfaceForHandle() = 0;  // placeholder
  virtual HRESULT STDMETHODCALLTYPE CreateCompositionSurfaceForSwapChain(IUnknown* swapChain,
                                                                         ICompositionSurface** surface) = 0;
  virtual HRESULT STDMETHODCALLTYPE CreateGraphicsDevice() = 0;  // placeholder
};

// ICompositorDesktopInterop (windows.ui.composition.interop.h, an IUnknown interface)
struct ICompositorDesktopInterop : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE CreateDesktopWindowTarget(HWND window, BOOL topmost,
                                                              IDesktopWindowTarget** target) = 0;
  virtual HRESULT STDMETHODCALLTYPE EnsureOnThread(DWORD threadId) = 0;
};

// Windows.UI.Composition.ICompositionTarget
struct ICompositionTarget : IInspectable {
  virtual HRESULT STDMETHODCALLTYPE get_Root(IVisual** root) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_Root(IVisual* root) = 0;
};

// Windows.UI.Composition.IVisual
struct IVisual : IInspectable {
  virtual HRESULT STDMETHODCALLTYPE get_AnchorPoint() = 0;         // placeholder
  virtual HRESULT STDMETHODCALLTYPE put_AnchorPoint() = 0;         // placeholder
  virtual HRESULT STDMETHODCALLTYPE get_BackfaceVisibility() = 0;  // placeholder
  virtual HRESULT STDMETHODCALLTYPE put_BackfaceVisibility() = 0;  // placeholder
  virtual HRESULT STDMETHODCALLTYPE get_BorderMode() = 0;          // placeholder
  virtual HRESULT STDMETHODCALLTYPE put_BorderMode() = 0;          // placeholder
  virtual HRESULT STDMETHODCALLTYPE get_CenterPoint() = 0;         // placeholder
  virtual HRESULT STDMETHODCALLTYPE put_CenterPoint() = 0;         // placeholder
  virtual HRESULT STDMETHODCALLTYPE get_Clip() = 0;                // placeholder
  virtual HRESULT STDMETHODCALLTYPE put_Clip(ICompositionClip* clip) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_CompositeMode() = 0;  // placeholder
  virtual HRESULT STDMETHODCALLTYPE put_CompositeMode() = 0;  // placeholder
  virtual HRESULT STDMETHODCALLTYPE get_IsVisible() = 0;      // placeholder
  virtual HRESULT STDMETHODCALLTYPE put_IsVisible(boolean visible) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Offset() = 0;  // placeholder
  virtual HRESULT STDMETHODCALLTYPE put_Offset(Vector3 offset) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Opacity() = 0;  // placeholder
  virtual HRESULT STDMETHODCALLTYPE put_Opacity(FLOAT opacity) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Orientation() = 0;             // placeholder
  virtual HRESULT STDMETHODCALLTYPE put_Orientation() = 0;             // placeholder
  virtual HRESULT STDMETHODCALLTYPE get_Parent() = 0;                  // placeholder
  virtual HRESULT STDMETHODCALLTYPE get_RotationAngle() = 0;           // placeholder
  virtual HRESULT STDMETHODCALLTYPE put_RotationAngle() = 0;           // placeholder
  virtual HRESULT STDMETHODCALLTYPE get_RotationAngleInDegrees() = 0;  // placeholder
  virtual HRESULT STDMETHODCALLTYPE put_RotationAngleInDegrees() = 0;  // placeholder
  virtual HRESULT STDMETHODCALLTYPE get_RotationAxis() = 0;            // placeholder
  virtual HRESULT STDMETHODCALLTYPE put_RotationAxis() = 0;            // placeholder
  virtual HRESULT STDMETHODCALLTYPE get_Scale() = 0;                   // placeholder
  virtual HRESULT STDMETHODCALLTYPE put_Scale() = 0;                   // placeholder
  virtual HRESULT STDMETHODCALLTYPE get_Size() = 0;                    // placeholder
  virtual HRESULT STDMETHODCALLTYPE put_Size(Vector2 size) = 0;
};

// Windows.UI.Composition.IVisual2
struct IVisual2 : IInspectable {
  virtual HRESULT STDMETHODCALLTYPE get_ParentForTransform() = 0;        // placeholder
  virtual HRESULT STDMETHODCALLTYPE put_ParentForTransform() = 0;        // placeholder
  virtual HRESULT STDMETHODCALLTYPE get_RelativeOffsetAdjustment() = 0;  // placeholder
  virtual HRESULT STDMETHODCALLTYPE put_RelativeOffsetAdjustment() = 0;  // placeholder
  virtual HRESULT STDMETHODCALLTYPE get_RelativeSizeAdjustment() = 0;    // placeholder
  virtual HRESULT STDMETHODCALLTYPE put_RelativeSizeAdjustment(Vector2 size) = 0;
};

// Windows.UI.Composition.IContainerVisual
struct IContainerVisual : IInspectable {
  virtual HRESULT STDMETHODCALLTYPE get_Children(IVisualCollection** children) = 0;
};

// Windows.UI.Composition.IVisualCollection
struct IVisualCollection : IInspectable {
  virtual HRESULT STDMETHODCALLTYPE get_Count(INT32* count) = 0;
  virtual HRESULT STDMETHODCALLTYPE InsertAbove() = 0;  // placeholder
  virtual HRESULT STDMETHODCALLTYPE InsertAtBottom(IVisual* child) = 0;
  virtual HRESULT STDMETHODCALLTYPE InsertAtTop(IVisual* child) = 0;
};

// Windows.UI.Composition.ISpriteVisual
struct ISpriteVisual : IInspectable {
  virtual HRESULT STDMETHODCALLTYPE get_Brush(ICompositionBrush** brush) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_Brush(ICompositionBrush* brush) = 0;
};

// Windows.UI.Composition.ICompositionSurfaceBrush (only made and handed on)
struct ICompositionSurfaceBrush : IInspectable {};

// Windows.UI.Composition.ICompositionEffectFactory
struct ICompositionEffectFactory : IInspectable {
  virtual HRESULT STDMETHODCALLTYPE CreateBrush(ICompositionEffectBrush** brush) = 0;
};

// Windows.UI.Composition.ICompositionEffectBrush
struct ICompositionEffectBrush : IInspectable {
  virtual HRESULT STDMETHODCALLTYPE GetSourceParameter(HSTRING name, ICompositionBrush** source) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetSourceParameter(HSTRING name, ICompositionBrush* source) = 0;
};

// Windows.UI.Composition.ICompositionEffectSourceParameterFactory
struct ICompositionEffectSourceParameterFactory : IInspectable {
  virtual HRESULT STDMETHODCALLTYPE Create(HSTRING name, ICompositionEffectSourceParameter** parameter) = 0;
};

// Windows.UI.Composition.ICompositionGeometricClip
struct ICompositionGeometricClip : IInspectable {
  virtual HRESULT STDMETHODCALLTYPE get_Geometry(ICompositionGeometry** geometry) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_Geometry(ICompositionGeometry* geometry) = 0;
};

// Windows.UI.Composition.ICompositionRoundedRectangleGeometry
struct ICompositionRoundedRectangleGeometry : IInspectable {
  virtual HRESULT STDMETHODCALLTYPE get_CornerRadius() = 0;  // placeholder
  virtual HRESULT STDMETHODCALLTYPE put_CornerRadius(Vector2 radius) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Offset() = 0;  // placeholder
  virtual HRESULT STDMETHODCALLTYPE put_Offset() = 0;  // placeholder
  virtual HRESULT STDMETHODCALLTYPE get_Size() = 0;    // placeholder
  virtual HRESULT STDMETHODCALLTYPE put_Size(Vector2 size) = 0;
};

}  // namespace comp
