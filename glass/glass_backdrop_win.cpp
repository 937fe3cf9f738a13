// The composition glass: a tree of composition visuals on the panel window, from the bottom up the
// blurred, graded host backdrop, the lens rim, the panel's content layer, two dark shadows of the
// glass layer and the glass layer itself, under one rounded clip. The panel's two layers and the
// lens come from composition swap chains on one Direct3D 11 device.
#include "glass/glass_backdrop_win.h"

#include <d3d11.h>
#include <dxgi1_2.h>
#include <roapi.h>

#include <new>
#include <string_view>
#include <utility>
#include <vector>

#include "core/platform_error_win.h"
#include "core/runtime_string_win.h"
#include "core/unique_handle_win.h"
#include "glass/composition_interfaces_win.h"
#include "glass/composition_swap_chain_win.h"
#include "glass/desktop_capture_win.h"
#include "glass/glass_grade.h"
#include "glass/glass_tick.h"
#include "glass/panel_effect_win.h"

using namespace comp;

namespace {

// Queries `object` for `iid`; throws PlatformError when it has no such interface.
template <class Interface>
UniqueCom<Interface> As(IUnknown* object, const GUID& iid) {
  UniqueCom<Interface> result;
  ThrowIfFailed(QueryCom(object, iid, result), "QueryInterface");
  return result;
}

template <class Interface>
UniqueCom<Interface> Factory(std::wstring_view className, const GUID& iid) {
  const UniqueHString name = MakeHString(className);
  UniqueCom<Interface> factory;
  ThrowIfFailed(RoGetActivationFactory(name.get(), iid, reinterpret_cast<void**>(factory.put())),
                "RoGetActivationFactory");
  return factory;
}

// CreateDispatcherQueueController lives in CoreMessaging.dll, which older systems lack: it is
// looked up when needed instead of being imported.
struct DispatcherQueueOptions {
  DWORD size;
  INT32 threadType;     // 2: the current thread
  INT32 apartmentType;  // 0: no COM initialisation
};
using CreateControllerFunction = HRESULT(WINAPI*)(DispatcherQueueOptions, IInspectable**);

// Whether the calling thread has a dispatcher queue already (a statics object that cannot be had
// counts as no).
bool ThreadHasDispatcherQueue() {
  UniqueCom<IDispatcherQueueStatics> statics;
  const UniqueHString name = MakeHString(L"Windows.System.DispatcherQueue");
  if (FAILED(RoGetActivationFactory(name.get(), kIidDispatcherQueueStatics, reinterpret_cast<void**>(statics.put())))) {
    return false;
  }
  UniqueCom<IDispatcherQueue> queue;
  return SUCCEEDED(statics->GetForCurrentThread(queue.put())) && queue;
}

UniqueCom<IInspectable> EnsureDispatcherQueue() {
  if (ThreadHasDispatcherQueue()) return {};
  HMODULE library = LoadLibraryW(L"CoreMessaging.dll");  // kept loaded: the queue lives in it
  if (!library) ThrowLastError("LoadLibrary CoreMessaging.dll");
  auto create = reinterpret_cast<CreateControllerFunction>(
      reinterpret_cast<void*>(GetProcAddress(library, "CreateDispatcherQueueController")));
  if (!create) ThrowLastError("CreateDispatcherQueueController");
  UniqueCom<IInspectable> controller;
  ThrowIfFailed(create(DispatcherQueueOptions{sizeof(DispatcherQueueOptions), 2, 0}, controller.put()),
                "CreateDispatcherQueueController");
  return controller;
}

UniqueCom<IDXGISwapChain1> MakeSwapChain(ID3D11Device* device) {
  UniqueCom<IDXGISwapChain1> swapChain;
  ThrowIfFailed(CreateCompositionSwapChain(device, swapChain.put()), "CreateSwapChainForComposition");
  return swapChain;
}

enum : UINT32 { kOptimizationBalanced = 1, kBorderHard = 1, kAlphaPremultiplied = 1, kAlphaStraight = 2 };

template <class... Boxed>
std::vector<UniqueCom<IInspectable>> Properties(Boxed&&... values) {
  std::vector<UniqueCom<IInspectable>> list;
  (list.push_back(std::move(values)), ...);
  return list;
}

// Builds effect graphs: a named source, blurred, then through a colour matrix.
class EffectBuilder {
 public:
  EffectBuilder()
      : values_(Factory<IPropertyValueStatics>(L"Windows.Foundation.PropertyValue", kIidPropertyValueStatics)),
        parameters_(Factory<ICompositionEffectSourceParameterFactory>(
            L"Windows.UI.Composition.CompositionEffectSourceParameter", kIidEffectSourceParameterFactory)) {}

  // Gaussian blur of the source `name`, then the colour matrix with `alphaMode` and clamped output.
  UniqueCom<IGraphicsEffect> BlurAndGrade(std::wstring_view name, float deviation, const ColorMatrix& matrix,
                                          UINT32 alphaMode) {
    const UniqueHString sourceName = MakeHString(name);
    UniqueCom<ICompositionEffectSourceParameter> parameter;
    ThrowIfFailed(parameters_->Create(sourceName.get(), parameter.put()), "CompositionEffectSourceParameter");
    auto blur = PanelEffect::Create(kClsidGaussianBlur,
                                    Properties(Single(deviation), UInt32(kOptimizationBalanced), UInt32(kBorderHard)),
                                    As<IGraphicsEffectSource>(parameter.get(), kIidGraphicsEffectSource));
    if (!blur) throw PlatformError("PanelEffect", E_OUTOFMEMORY);
    auto blurSource = As<IGraphicsEffectSource>(static_cast<IGraphicsEffect*>(blur.get()), kIidGraphicsEffectSource);
    auto grade = PanelEffect::Create(kClsidColorMatrix, Properties(Matrix(matrix), UInt32(alphaMode), Boolean(true)),
                                     std::move(blurSource));
    if (!grade) throw PlatformError("PanelEffect", E_OUTOFMEMORY);
    return As<IGraphicsEffect>(static_cast<IGraphicsEffect*>(grade.get()), kIidGraphicsEffect);
  }

 private:
  template <class Value>
  UniqueCom<IInspectable> Box(HRESULT (STDMETHODCALLTYPE IPropertyValueStatics::*create)(Value, IInspectable**),
                              Value value) {
    UniqueCom<IInspectable> boxed;
    ThrowIfFailed((values_.get()->*create)(value, boxed.put()), "PropertyValue");
    return boxed;
  }
  UniqueCom<IInspectable> Single(float value) { return Box(&IPropertyValueStatics::CreateSingle, value); }
  UniqueCom<IInspectable> UInt32(UINT32 value) { return Box(&IPropertyValueStatics::CreateUInt32, value); }
  UniqueCom<IInspectable> Boolean(bool value) {
    return Box(&IPropertyValueStatics::CreateBoolean, static_cast<boolean>(value));
  }
  UniqueCom<IInspectable> Matrix(ColorMatrix matrix) {
    UniqueCom<IInspectable> boxed;
    ThrowIfFailed(values_->CreateSingleArray(static_cast<UINT32>(matrix.size()), matrix.data(), boxed.put()),
                  "PropertyValue.CreateSingleArray");
    return boxed;
  }

  UniqueCom<IPropertyValueStatics> values_;
  UniqueCom<ICompositionEffectSourceParameterFactory> parameters_;
};

// The composition tree and the device, made together by Build (nothing is kept from a build that
// failed half-way) and let go of together when the device is lost.
struct Tree {
  UniqueCom<IInspectable> queueController;  // none when the thread had a queue already
  UniqueCom<ICompositor> compositor;
  UniqueCom<ICompositionTarget> target;
  UniqueCom<ID3D11Device> device;
  UniqueCom<ID3D11DeviceContext> context;
  UniqueCom<IDXGISwapChain1> contentChain, glassChain;
  UniqueCom<ICompositionBrush> contentBrush, glassBrush, hostBrush;
  UniqueCom<IVisual> root;
  UniqueCom<ICompositionRoundedRectangleGeometry> clipShape;
  UniqueCom<IVisual> lens;
  UniqueCom<ISpriteVisual> backdropSprite, lensSprite;
  std::vector<UniqueCom<IVisual>> shadows;  // in the order of kInkShadows
  UniqueCom<ICompositionBrush> lensBrush;   // the lens swap chain's surface brush, after the first tick
};

class CompositionGlass final : public GlassBackdrop {
 public:
  HRESULT Initialise(HWND window) override;
  void SetDark(bool dark) override;
  bool RenderFrame(HWND window, float scale, float radiusPx) override;
  bool Present(const void* contentPixels, const void* glassPixels, int width, int height,
               float cornerRadius) override;
  void ReleaseFrameResources() override;
  void Hide() override;
  void ClearStatus() override { tick_.Clear(); }
  std::wstring StatusText() const override {
    return std::wstring(tick_.StatusText(capture_ ? capture_->Status() : kCaptureWaiting));
  }
  bool lensShown() const override { return tick_.lensShown(); }
  bool dark() const override { return style_.dark(); }

 private:
  std::unique_ptr<Tree> Build(HWND window);
  UniqueCom<ISpriteVisual> AddSprite(Tree& tree, bool atTop);
  UniqueCom<ICompositionBrush> SurfaceBrush(Tree& tree, IUnknown* swapChain);
  UniqueCom<ICompositionBrush> EffectBrush(Tree& tree, IGraphicsEffect* effect, std::wstring_view source,
                                           ICompositionBrush* input);
  void ApplyStyle(Tree& tree, bool dark);
  void MakeLens(Tree& tree);
  // 0, or the code to act on (FailureCode) of the first failing call.
  uint32_t PresentLayers(const void* contentPixels, const void* glassPixels, int width, int height,
                         float cornerRadius);
  // The code to act on for a failure: the device's removal reason when the device is gone
  // (whatever the failing call said), else the failure's own.
  uint32_t FailureCode(HRESULT code) const;
  // Lets go of the tree, the device and the capture made on it and builds them all again for
  // the window the glass was last started on: 0, or the failure (nothing is kept then).
  uint32_t Rebuild();

  HWND window_ = nullptr;
  std::unique_ptr<Tree> tree_;
  std::unique_ptr<DesktopCapture> capture_ = std::make_unique<DesktopCapture>();
  GlassTick tick_;
  GlassStyle style_;
  int presentWidth_ = 0, presentHeight_ = 0;
};

UniqueCom<ISpriteVisual> CompositionGlass::AddSprite(Tree& tree, bool atTop) {
  UniqueCom<ISpriteVisual> sprite;
  ThrowIfFailed(tree.compositor->CreateSpriteVisual(sprite.put()), "CreateSpriteVisual");
  ThrowIfFailed(As<IVisual2>(sprite.get(), kIidVisual2)->put_RelativeSizeAdjustment({1, 1}), "RelativeSizeAdjustment");
  auto visual = As<IVisual>(sprite.get(), kIidVisual);
  UniqueCom<IVisualCollection> children;
  ThrowIfFailed(As<IContainerVisual>(tree.root.get(), kIidContainerVisual)->get_Children(children.put()), "Children");
  ThrowIfFailed(atTop ? children->InsertAtTop(visual.get()) : children->InsertAtBottom(visual.get()), "InsertVisual");
  return sprite;
}

UniqueCom<ICompositionBrush> CompositionGlass::SurfaceBrush(Tree& tree, IUnknown* swapChain) {
  UniqueCom<ICompositionSurface> surface;
  ThrowIfFailed(As<ICompositorInterop>(tree.compositor.get(), kIidCompositorInterop)
                    ->CreateCompositionSurfaceForSwapChain(swapChain, surface.put()),
                "CreateCompositionSurfaceForSwapChain");
  UniqueCom<ICompositionSurfaceBrush> brush;
  ThrowIfFailed(tree.compositor->CreateSurfaceBrushWithSurface(surface.get(), brush.put()), "CreateSurfaceBrush");
  return As<ICompositionBrush>(brush.get(), kIidCompositionBrush);
}

UniqueCom<ICompositionBrush> CompositionGlass::EffectBrush(Tree& tree, IGraphicsEffect* effect,
                                                           std::wstring_view source, ICompositionBrush* input) {
  UniqueCom<ICompositionEffectFactory> factory;
  ThrowIfFailed(tree.compositor->CreateEffectFactory(effect, factory.put()), "CreateEffectFactory");
  UniqueCom<ICompositionEffectBrush> brush;
  ThrowIfFailed(factory->CreateBrush(brush.put()), "CreateEffectBrush");
  const UniqueHString name = MakeHString(source);
  ThrowIfFailed(brush->SetSourceParameter(name.get(), input), "SetSourceParameter");
  return As<ICompositionBrush>(brush.get(), kIidCompositionBrush);
}

// The backdrop brush and, once the lens exists, the lens brush in the `dark` or light style; the
// shadows' opacity and visibility.
void CompositionGlass::ApplyStyle(Tree& tree, bool dark) {
  EffectBuilder effects;
  const GlassGrade grade = BackdropGrade(dark);
  auto host = effects.BlurAndGrade(L"Host", grade.blurDeviation, grade.matrix, kAlphaPremultiplied);
  ThrowIfFailed(tree.backdropSprite->put_Brush(EffectBrush(tree, host.get(), L"Host", tree.hostBrush.get()).get()),
                "backdrop brush");
  if (tree.lensBrush) {
    auto rim = effects.BlurAndGrade(L"Rim", grade.blurDeviation, grade.matrix, kAlphaStraight);
    ThrowIfFailed(tree.lensSprite->put_Brush(EffectBrush(tree, rim.get(), L"Rim", tree.lensBrush.get()).get()),
                  "lens brush");
  }
  for (size_t i = 0; i < tree.shadows.size(); ++i) {
    ThrowIfFailed(tree.shadows[i]->put_Opacity(kInkShadows[i].opacity), "shadow opacity");
    ThrowIfFailed(tree.shadows[i]->put_IsVisible(dark), "shadow visibility");
  }
}

std::unique_ptr<Tree> CompositionGlass::Build(HWND window) {
  auto tree = std::make_unique<Tree>();
  tree->queueController = EnsureDispatcherQueue();

  const UniqueHString compositorClass = MakeHString(L"Windows.UI.Composition.Compositor");
  UniqueCom<IInspectable> instance;
  ThrowIfFailed(RoActivateInstance(compositorClass.get(), instance.put()), "Compositor");
  tree->compositor = As<ICompositor>(instance.get(), kIidCompositor);
  UniqueCom<IDesktopWindowTarget> windowTarget;
  ThrowIfFailed(As<ICompositorDesktopInterop>(tree->compositor.get(), kIidCompositorDesktopInterop)
                    ->CreateDesktopWindowTarget(window, FALSE, windowTarget.put()),
                "CreateDesktopWindowTarget");
  tree->target = As<ICompositionTarget>(windowTarget.get(), kIidCompositionTarget);

  ThrowIfFailed(D3D11CreateDevice(nullptr, D3D_DRIVER_TYPE_HARDWARE, nullptr, D3D11_CREATE_DEVICE_BGRA_SUPPORT,
                                  nullptr, 0, D3D11_SDK_VERSION, tree->device.put(), nullptr, tree->context.put()),
                "D3D11CreateDevice");
  tree->contentChain = MakeSwapChain(tree->device.get());
  tree->contentBrush = SurfaceBrush(*tree, tree->contentChain.get());

  UniqueCom<IContainerVisual> container;
  ThrowIfFailed(tree->compositor->CreateContainerVisual(container.put()), "CreateContainerVisual");
  tree->root = As<IVisual>(container.get(), kIidVisual);
  ThrowIfFailed(As<ICompositor5>(tree->compositor.get(), kIidCompositor5)
                    ->CreateRoundedRectangleGeometry(tree->clipShape.put()),
                "CreateRoundedRectangleGeometry");
  UniqueCom<ICompositionGeometricClip> clip;
  ThrowIfFailed(As<ICompositor6>(tree->compositor.get(), kIidCompositor6)
                    ->CreateGeometricClipWithGeometry(
                        As<ICompositionGeometry>(tree->clipShape.get(), kIidCompositionGeometry).get(), clip.put()),
                "CreateGeometricClip");
  ThrowIfFailed(tree->root->put_Clip(As<ICompositionClip>(clip.get(), kIidCompositionClip).get()), "Clip");

  UniqueCom<ICompositionBackdropBrush> host;
  ThrowIfFailed(As<ICompositor3>(tree->compositor.get(), kIidCompositor3)->CreateHostBackdropBrush(host.put()),
                "CreateHostBackdropBrush");
  tree->hostBrush = As<ICompositionBrush>(host.get(), kIidCompositionBrush);

  tree->backdropSprite = AddSprite(*tree, false);
  tree->lensSprite = AddSprite(*tree, true);
  tree->lens = As<IVisual>(tree->lensSprite.get(), kIidVisual);
  ThrowIfFailed(tree->lens->put_IsVisible(false), "lens visibility");
  auto content = AddSprite(*tree, true);
  ThrowIfFailed(content->put_Brush(tree->contentBrush.get()), "content brush");
  tree->glassChain = MakeSwapChain(tree->device.get());
  tree->glassBrush = SurfaceBrush(*tree, tree->glassChain.get());
  EffectBuilder effects;
  for (const InkShadow& shadow : kInkShadows) {
    auto ink = effects.BlurAndGrade(L"Ink", shadow.blurDeviation, InkMatrix(shadow.alphaGain), kAlphaPremultiplied);
    auto sprite = AddSprite(*tree, true);
    ThrowIfFailed(sprite->put_Brush(EffectBrush(*tree, ink.get(), L"Ink", tree->glassBrush.get()).get()), "ink brush");
    auto visual = As<IVisual>(sprite.get(), kIidVisual);
    ThrowIfFailed(visual->put_Offset({0, shadow.verticalOffset, 0}), "shadow offset");
    tree->shadows.push_back(std::move(visual));
  }
  auto glass = AddSprite(*tree, true);
  ThrowIfFailed(glass->put_Brush(tree->glassBrush.get()), "glass brush");

  ApplyStyle(*tree, style_.dark());
  ThrowIfFailed(tree->target->put_Root(tree->root.get()), "Root");
  return tree;
}

uint32_t CompositionGlass::FailureCode(HRESULT code) const {
  if (tree_ && tree_->device) {
    const HRESULT reason = tree_->device->GetDeviceRemovedReason();
    if (FAILED(reason)) return static_cast<uint32_t>(reason);
  }
  return static_cast<uint32_t>(code);
}

uint32_t CompositionGlass::Rebuild() {
  capture_ = std::make_unique<DesktopCapture>();  // its lens resources belong to the old device
  tree_.reset();
  presentWidth_ = presentHeight_ = 0;
  HRESULT code = S_OK;
  try {
    tree_ = Build(window_);
    ThrowIfFailed(tree_->root->put_IsVisible(true), "root visibility");
  } catch (const PlatformError& failure) {
    code = failure.code();
  } catch (const std::bad_alloc&) {
    code = E_OUTOFMEMORY;
  }
  if (FAILED(code)) tree_.reset();
  return static_cast<uint32_t>(code);
}

HRESULT CompositionGlass::Initialise(HWND window) {
  try {
    window_ = window;
    if (tree_ && tick_.deviceLost()) {
      uint32_t code = 0;
      tick_.TryRebuild(GetTickCount64(), [&] { return code = Rebuild(); });
      return static_cast<HRESULT>(code);
    }
    if (!tree_) {
      tree_ = Build(window);
      presentWidth_ = presentHeight_ = 0;
    }
    ThrowIfFailed(tree_->root->put_IsVisible(true), "root visibility");
    return S_OK;
  } catch (const PlatformError& failure) {
    return failure.code();
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
}

void CompositionGlass::SetDark(bool dark) {
  style_.Set(dark, tree_ != nullptr, [this](bool wanted) {
    try {
      ApplyStyle(*tree_, wanted);
      return true;
    } catch (const PlatformError& failure) {
      // The old style stays on screen and is the one remembered; the next request tries again.
      const uint32_t code = FailureCode(failure.code());
      if (IsDeviceLoss(code)) tick_.Failed(GetTickCount64(), code);
      return false;
    }
  });
}

// The lens's resources, its surface brush and its brush in the current style.
void CompositionGlass::MakeLens(Tree& tree) {
  ThrowIfFailed(capture_->CreateLensResources(tree.device.get()), "lens resources");
  tree.lensBrush = SurfaceBrush(tree, capture_->LensSwapChain());
  ApplyStyle(tree, style_.dark());
}

bool CompositionGlass::RenderFrame(HWND window, float scale, float radiusPx) {
  if (!tree_) return false;
  const uint64_t now = GetTickCount64();
  switch (tick_.Next(now)) {
    case GlassTick::Step::Skip: return true;
    case GlassTick::Step::Rebuild:
      if (!tick_.TryRebuild(now, [this] { return Rebuild(); })) return false;  // no tree: frames stop, plain look
      break;
    case GlassTick::Step::Run: break;
  }
  try {
    if (!tree_->lensBrush) MakeLens(*tree_);
    CaptureOutcome outcome =
        capture_->CaptureAndRender(window, tree_->device.get(), tree_->context.get(), scale, radiusPx);
    if (outcome.Failed()) throw PlatformError("desktop capture", outcome.failure);
    if (tick_.LensChange(outcome.shown)) ThrowIfFailed(tree_->lens->put_IsVisible(outcome.shown), "lens visibility");
    tick_.Succeeded();
    if (outcome.backOff) tick_.BackOff(now);
  } catch (const PlatformError& failure) {
    ReleaseFrameResources();
    tick_.Failed(now, FailureCode(failure.code()));
    if (!capture_->LensSwapChain()) {
      capture_ = std::make_unique<DesktopCapture>();
      tree_->lensBrush.reset();
    }
  }
  return true;
}

void CompositionGlass::ReleaseFrameResources() {
  if (tick_.lensShown() && tree_) {
    tick_.LensChange(false);
    tree_->lens->put_IsVisible(false);
  }
  capture_->Release();
}

void CompositionGlass::Hide() {
  ReleaseFrameResources();
  if (tree_) tree_->root->put_IsVisible(false);
}

// Copies one painted layer into buffer 0 of its swap chain and presents it.
void Upload(ID3D11DeviceContext* context, IDXGISwapChain1* chain, const void* pixels, int width) {
  UniqueCom<ID3D11Texture2D> buffer;
  ThrowIfFailed(chain->GetBuffer(0, __uuidof(ID3D11Texture2D), reinterpret_cast<void**>(buffer.put())), "GetBuffer");
  context->UpdateSubresource(buffer.get(), 0, nullptr, pixels, static_cast<UINT>(width) * 4, 0);
  ThrowIfFailed(chain->Present(0, 0), "Present");
}

uint32_t CompositionGlass::PresentLayers(const void* contentPixels, const void* glassPixels, int width, int height,
                                         float cornerRadius) try {
  if (width != presentWidth_ || height != presentHeight_) {
    for (IDXGISwapChain1* chain : {tree_->contentChain.get(), tree_->glassChain.get()}) {
      ThrowIfFailed(chain->ResizeBuffers(0, static_cast<UINT>(width), static_cast<UINT>(height), DXGI_FORMAT_UNKNOWN, 0),
                    "ResizeBuffers");
    }
    const Vector2 size{static_cast<float>(width), static_cast<float>(height)};
    ThrowIfFailed(tree_->root->put_Size(size), "root size");
    ThrowIfFailed(tree_->clipShape->put_Size(size), "clip size");
    presentWidth_ = width;
    presentHeight_ = height;
  }
  ThrowIfFailed(tree_->clipShape->put_CornerRadius({cornerRadius, cornerRadius}), "clip corner radius");
  Upload(tree_->context.get(), tree_->contentChain.get(), contentPixels, width);
  Upload(tree_->context.get(), tree_->glassChain.get(), glassPixels, width);
  return 0;
} catch (const PlatformError& failure) {
  presentWidth_ = presentHeight_ = 0;  // resized again next time
  return FailureCode(failure.code());
}

// A lost device is rebuilt here when it is due, so that a paint after a driver reset shows the
// new tree instead of dropping the glass; only a rebuild that fails (or one not yet due again)
// answers false.
bool CompositionGlass::Present(const void* contentPixels, const void* glassPixels, int width, int height,
                               float cornerRadius) {
  if (!tree_ || !contentPixels || !glassPixels || width <= 0 || height <= 0) return false;
  return PresentOrRebuild(
      tick_, GetTickCount64(),
      [&] { return PresentLayers(contentPixels, glassPixels, width, height, cornerRadius); },
      [this] { return Rebuild(); });
}

}  // namespace

std::unique_ptr<GlassBackdrop> CreateGlassBackdrop() { return std::make_unique<CompositionGlass>(); }
