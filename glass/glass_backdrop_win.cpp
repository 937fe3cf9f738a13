// The composition glass: a tree of composition visuals on the panel window, from the bottom up the
// blurred, graded host backdrop, the lens rim, the panel's content layer, two dark shadows of the
// glass layer and the glass layer itself, under one rounded clip. The panel's two layers and the
// lens come from composition swap chains on one Direct3D 11 device.
#include "glass/glass_backdrop_win.h"

#include <d3d11.h>
#include <dxgi1_2.h>
#include <roapi.h>
#include <winstring.h>
#include <wrl/client.h>

#include <string_view>
#include <vector>

#include "glass/composition_interfaces_win.h"
#include "glass/composition_swap_chain_win.h"
#include "glass/desktop_capture_win.h"
#include "glass/glass_tick.h"
#include "glass/panel_effect_win.h"

using Microsoft::WRL::ComPtr;
using namespace comp;

namespace {

// A failed platform call inside one operation; caught where the operation answers the panel.
struct GlassFailure {
  HRESULT code;
};

void Check(HRESULT result) {
  if (FAILED(result)) throw GlassFailure{result};
}

template <class Interface>
ComPtr<Interface> As(IUnknown* object, const GUID& iid) {
  ComPtr<Interface> result;
  Check(object->QueryInterface(iid, reinterpret_cast<void**>(result.GetAddressOf())));
  return result;
}

// A runtime string that lives as long as this object.
class RuntimeString {
 public:
  explicit RuntimeString(std::wstring_view text) {
    Check(WindowsCreateString(text.data(), static_cast<UINT32>(text.size()), &value_));
  }
  ~RuntimeString() { WindowsDeleteString(value_); }
  RuntimeString(const RuntimeString&) = delete;
  RuntimeString& operator=(const RuntimeString&) = delete;
  HSTRING get() const { return value_; }

 private:
  HSTRING value_ = nullptr;
};

template <class Interface>
ComPtr<Interface> Factory(std::wstring_view className, const GUID& iid) {
  RuntimeString name(className);
  ComPtr<Interface> factory;
  Check(RoGetActivationFactory(name.get(), iid, reinterpret_cast<void**>(factory.GetAddressOf())));
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

ComPtr<IInspectable> EnsureDispatcherQueue() {
  try {
    auto statics = Factory<IDispatcherQueueStatics>(L"Windows.System.DispatcherQueue", kIidDispatcherQueueStatics);
    ComPtr<IDispatcherQueue> queue;
    if (SUCCEEDED(statics->GetForCurrentThread(queue.GetAddressOf())) && queue) return nullptr;
  } catch (const GlassFailure&) {
    // No statics to ask: try to make a queue all the same.
  }
  HMODULE library = LoadLibraryW(L"CoreMessaging.dll");  // kept loaded: the queue lives in it
  if (!library) throw GlassFailure{HRESULT_FROM_WIN32(GetLastError())};
  auto create = reinterpret_cast<CreateControllerFunction>(
      reinterpret_cast<void*>(GetProcAddress(library, "CreateDispatcherQueueController")));
  if (!create) throw GlassFailure{HRESULT_FROM_WIN32(GetLastError())};
  ComPtr<IInspectable> controller;
  Check(create(DispatcherQueueOptions{sizeof(DispatcherQueueOptions), 2, 0}, controller.GetAddressOf()));
  return controller;
}

ComPtr<IDXGISwapChain1> MakeSwapChain(ID3D11Device* device) {
  ComPtr<IDXGISwapChain1> swapChain;
  Check(CreateCompositionSwapChain(device, swapChain.GetAddressOf()));
  return swapChain;
}

enum : UINT32 { kOptimizationBalanced = 1, kBorderHard = 1, kAlphaPremultiplied = 1, kAlphaStraight = 2 };

// Builds effect graphs: a named source, blurred, then through a colour matrix.
class EffectBuilder {
 public:
  EffectBuilder()
      : values_(Factory<IPropertyValueStatics>(L"Windows.Foundation.PropertyValue", kIidPropertyValueStatics)),
        parameters_(Factory<ICompositionEffectSourceParameterFactory>(
            L"Windows.UI.Composition.CompositionEffectSourceParameter", kIidEffectSourceParameterFactory)) {}

  // Gaussian blur of the source `name`, then the colour matrix with `alphaMode` and clamped output.
  ComPtr<IGraphicsEffect> BlurAndGrade(std::wstring_view name, float deviation, const ColorMatrix& matrix,
                                       UINT32 alphaMode) {
    RuntimeString sourceName(name);
    ComPtr<ICompositionEffectSourceParameter> parameter;
    Check(parameters_->Create(sourceName.get(), parameter.GetAddressOf()));
    auto blur = PanelEffect::Create(kClsidGaussianBlur,
                                    {Single(deviation), UInt32(kOptimizationBalanced), UInt32(kBorderHard)},
                                    As<IGraphicsEffectSource>(parameter.Get(), kIidGraphicsEffectSource));
    if (!blur) throw GlassFailure{E_OUTOFMEMORY};
    ComPtr<IGraphicsEffectSource> blurSource = As<IGraphicsEffectSource>(
        static_cast<IGraphicsEffect*>(blur.Get()), kIidGraphicsEffectSource);
    auto grade = PanelEffect::Create(kClsidColorMatrix, {Matrix(matrix), UInt32(alphaMode), Boolean(true)}, blurSource);
    if (!grade) throw GlassFailure{E_OUTOFMEMORY};
    return As<IGraphicsEffect>(static_cast<IGraphicsEffect*>(grade.Get()), kIidGraphicsEffect);
  }

 private:
  template <class Value>
  ComPtr<IInspectable> Box(HRESULT (STDMETHODCALLTYPE IPropertyValueStatics::*create)(Value, IInspectable**),
                           Value value) {
    ComPtr<IInspectable> boxed;
    Check((values_.Get()->*create)(value, boxed.GetAddressOf()));
    return boxed;
  }
  ComPtr<IInspectable> Single(float value) { return Box(&IPropertyValueStatics::CreateSingle, value); }
  ComPtr<IInspectable> UInt32(UINT32 value) { return Box(&IPropertyValueStatics::CreateUInt32, value); }
  ComPtr<IInspectable> Boolean(bool value) {
    return Box(&IPropertyValueStatics::CreateBoolean, static_cast<boolean>(value));
  }
  ComPtr<IInspectable> Matrix(ColorMatrix matrix) {
    ComPtr<IInspectable> boxed;
    Check(values_->CreateSingleArray(static_cast<UINT32>(matrix.size()), matrix.data(), boxed.GetAddressOf()));
    return boxed;
  }

  ComPtr<IPropertyValueStatics> values_;
  ComPtr<ICompositionEffectSourceParameterFactory> parameters_;
};

// The composition tree and the device, made together by Initialise (nothing is kept from a
// build that failed half-way).
struct Tree {
  ComPtr<IInspectable> queueController;  // none when the thread had a queue already
  ComPtr<ICompositor> compositor;
  ComPtr<ICompositionTarget> target;
  ComPtr<ID3D11Device> device;
  ComPtr<ID3D11DeviceContext> context;
  ComPtr<IDXGISwapChain1> contentChain, glassChain;
  ComPtr<ICompositionBrush> contentBrush, glassBrush, hostBrush;
  ComPtr<IVisual> root;
  ComPtr<ICompositionRoundedRectangleGeometry> clipShape;
  ComPtr<IVisual> lens;
  ComPtr<ISpriteVisual> backdropSprite, lensSprite;
  std::vector<ComPtr<IVisual>> shadows;  // in the order of kInkShadows
  ComPtr<ICompositionBrush> lensBrush;   // the lens swap chain's surface brush, after the first tick
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
  bool dark() const override { return dark_; }

 private:
  std::unique_ptr<Tree> Build(HWND window);
  ComPtr<ISpriteVisual> AddSprite(Tree& tree, bool atTop);
  ComPtr<ICompositionBrush> SurfaceBrush(Tree& tree, IUnknown* swapChain);
  ComPtr<ICompositionBrush> EffectBrush(Tree& tree, IGraphicsEffect* effect, std::wstring_view source,
                                        ICompositionBrush* input);
  void ApplyStyle(Tree& tree);
  void MakeLens(Tree& tree);

  std::unique_ptr<Tree> tree_;
  std::unique_ptr<DesktopCapture> capture_ = std::make_unique<DesktopCapture>();
  GlassTick tick_;
  bool dark_ = false;
  int presentWidth_ = 0, presentHeight_ = 0;
};

ComPtr<ISpriteVisual> CompositionGlass::AddSprite(Tree& tree, bool atTop) {
  ComPtr<ISpriteVisual> sprite;
  Check(tree.compositor->CreateSpriteVisual(sprite.GetAddressOf()));
  Check(As<IVisual2>(sprite.Get(), kIidVisual2)->put_RelativeSizeAdjustment({1, 1}));
  auto visual = As<IVisual>(sprite.Get(), kIidVisual);
  ComPtr<IVisualCollection> children;
  Check(As<IContainerVisual>(tree.root.Get(), kIidContainerVisual)->get_Children(children.GetAddressOf()));
  Check(atTop ? children->InsertAtTop(visual.Get()) : children->InsertAtBottom(visual.Get()));
  return sprite;
}

ComPtr<ICompositionBrush> CompositionGlass::SurfaceBrush(Tree& tree, IUnknown* swapChain) {
  ComPtr<ICompositionSurface> surface;
  Check(As<ICompositorInterop>(tree.compositor.Get(), kIidCompositorInterop)
            ->CreateCompositionSurfaceForSwapChain(swapChain, surface.GetAddressOf()));
  ComPtr<ICompositionSurfaceBrush> brush;
  Check(tree.compositor->CreateSurfaceBrushWithSurface(surface.Get(), brush.GetAddressOf()));
  return As<ICompositionBrush>(brush.Get(), kIidCompositionBrush);
}

ComPtr<ICompositionBrush> CompositionGlass::EffectBrush(Tree& tree, IGraphicsEffect* effect,
                                                        std::wstring_view source, ICompositionBrush* input) {
  ComPtr<ICompositionEffectFactory> factory;
  Check(tree.compositor->CreateEffectFactory(effect, factory.GetAddressOf()));
  ComPtr<ICompositionEffectBrush> brush;
  Check(factory->CreateBrush(brush.GetAddressOf()));
  RuntimeString name(source);
  Check(brush->SetSourceParameter(name.get(), input));
  return As<ICompositionBrush>(brush.Get(), kIidCompositionBrush);
}

// The backdrop brush and, once the lens exists, the lens brush in the current style; the shadows'
// opacity and visibility.
void CompositionGlass::ApplyStyle(Tree& tree) {
  EffectBuilder effects;
  const GlassGrade grade = BackdropGrade(dark_);
  auto host = effects.BlurAndGrade(L"Host", grade.blurDeviation, grade.matrix, kAlphaPremultiplied);
  Check(tree.backdropSprite->put_Brush(EffectBrush(tree, host.Get(), L"Host", tree.hostBrush.Get()).Get()));
  if (tree.lensBrush) {
    auto rim = effects.BlurAndGrade(L"Rim", grade.blurDeviation, grade.matrix, kAlphaStraight);
    Check(tree.lensSprite->put_Brush(EffectBrush(tree, rim.Get(), L"Rim", tree.lensBrush.Get()).Get()));
  }
  for (size_t i = 0; i < tree.shadows.size(); ++i) {
    Check(tree.shadows[i]->put_Opacity(kInkShadows[i].opacity));
    Check(tree.shadows[i]->put_IsVisible(dark_));
  }
}

std::unique_ptr<Tree> CompositionGlass::Build(HWND window) {
  auto tree = std::make_unique<Tree>();
  tree->queueController = EnsureDispatcherQueue();

  RuntimeString compositorClass(L"Windows.UI.Composition.Compositor");
  ComPtr<IInspectable> instance;
  Check(RoActivateInstance(compositorClass.get(), instance.GetAddressOf()));
  tree->compositor = As<ICompositor>(instance.Get(), kIidCompositor);
  ComPtr<IDesktopWindowTarget> windowTarget;
  Check(As<ICompositorDesktopInterop>(tree->compositor.Get(), kIidCompositorDesktopInterop)
            ->CreateDesktopWindowTarget(window, FALSE, windowTarget.GetAddressOf()));
  tree->target = As<ICompositionTarget>(windowTarget.Get(), kIidCompositionTarget);

  Check(D3D11CreateDevice(nullptr, D3D_DRIVER_TYPE_HARDWARE, nullptr, D3D11_CREATE_DEVICE_BGRA_SUPPORT, nullptr, 0,
                          D3D11_SDK_VERSION, tree->device.GetAddressOf(), nullptr, tree->context.GetAddressOf()));
  tree->contentChain = MakeSwapChain(tree->device.Get());
  tree->contentBrush = SurfaceBrush(*tree, tree->contentChain.Get());

  ComPtr<IContainerVisual> container;
  Check(tree->compositor->CreateContainerVisual(container.GetAddressOf()));
  tree->root = As<IVisual>(container.Get(), kIidVisual);
  Check(As<ICompositor5>(tree->compositor.Get(), kIidCompositor5)
            ->CreateRoundedRectangleGeometry(tree->clipShape.GetAddressOf()));
  ComPtr<ICompositionGeometricClip> clip;
  Check(As<ICompositor6>(tree->compositor.Get(), kIidCompositor6)
            ->CreateGeometricClipWithGeometry(
                As<ICompositionGeometry>(tree->clipShape.Get(), kIidCompositionGeometry).Get(), clip.GetAddressOf()));
  Check(tree->root->put_Clip(As<ICompositionClip>(clip.Get(), kIidCompositionClip).Get()));

  ComPtr<ICompositionBackdropBrush> host;
  Check(As<ICompositor3>(tree->compositor.Get(), kIidCompositor3)->CreateHostBackdropBrush(host.GetAddressOf()));
  tree->hostBrush = As<ICompositionBrush>(host.Get(), kIidCompositionBrush);

  tree->backdropSprite = AddSprite(*tree, false);
  tree->lensSprite = AddSprite(*tree, true);
  tree->lens = As<IVisual>(tree->lensSprite.Get(), kIidVisual);
  Check(tree->lens->put_IsVisible(false));
  auto content = AddSprite(*tree, true);
  Check(content->put_Brush(tree->contentBrush.Get()));
  tree->glassChain = MakeSwapChain(tree->device.Get());
  tree->glassBrush = SurfaceBrush(*tree, tree->glassChain.Get());
  EffectBuilder effects;
  for (const InkShadow& shadow : kInkShadows) {
    auto ink = effects.BlurAndGrade(L"Ink", shadow.blurDeviation, InkMatrix(shadow.alphaGain), kAlphaPremultiplied);
    auto sprite = AddSprite(*tree, true);
    Check(sprite->put_Brush(EffectBrush(*tree, ink.Get(), L"Ink", tree->glassBrush.Get()).Get()));
    auto visual = As<IVisual>(sprite.Get(), kIidVisual);
    Check(visual->put_Offset({0, shadow.verticalOffset, 0}));
    tree->shadows.push_back(visual);
  }
  auto glass = AddSprite(*tree, true);
  Check(glass->put_Brush(tree->glassBrush.Get()));

  ApplyStyle(*tree);
  Check(tree->target->put_Root(tree->root.Get()));
  return tree;
}

HRESULT CompositionGlass::Initialise(HWND window) {
  try {
    if (!tree_) {
      tree_ = Build(window);
      presentWidth_ = presentHeight_ = 0;
    }
    Check(tree_->root->put_IsVisible(true));
    return S_OK;
  } catch (const GlassFailure& failure) {
    return failure.code;
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
}

void CompositionGlass::SetDark(bool dark) {
  if (dark == dark_) return;
  dark_ = dark;
  if (!tree_) return;
  try {
    ApplyStyle(*tree_);
  } catch (const GlassFailure&) {
    // The old style stays on screen; the next change tries again.
  }
}

// The lens's resources, its surface brush and its brush in the current style.
void CompositionGlass::MakeLens(Tree& tree) {
  Check(capture_->CreateLensResources(tree.device.Get()));
  tree.lensBrush = SurfaceBrush(tree, capture_->LensSwapChain());
  ApplyStyle(tree);
}

bool CompositionGlass::RenderFrame(HWND window, float scale, float radiusPx) {
  if (!tree_) return false;
  const uint64_t now = GetTickCount64();
  if (tick_.Skipping(now)) return true;
  try {
    if (!tree_->lensBrush) MakeLens(*tree_);
    CaptureOutcome outcome =
        capture_->CaptureAndRender(window, tree_->device.Get(), tree_->context.Get(), scale, radiusPx);
    if (outcome.Failed()) throw GlassFailure{outcome.failure};
    if (tick_.LensChange(outcome.shown)) Check(tree_->lens->put_IsVisible(outcome.shown));
    tick_.Succeeded();
  } catch (const GlassFailure& failure) {
    ReleaseFrameResources();
    tick_.Failed(now, static_cast<uint32_t>(failure.code));
    if (!capture_->LensSwapChain()) {
      capture_ = std::make_unique<DesktopCapture>();
      tree_->lensBrush.Reset();
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
  ComPtr<ID3D11Texture2D> buffer;
  Check(chain->GetBuffer(0, __uuidof(ID3D11Texture2D), reinterpret_cast<void**>(buffer.GetAddressOf())));
  context->UpdateSubresource(buffer.Get(), 0, nullptr, pixels, static_cast<UINT>(width) * 4, 0);
  Check(chain->Present(0, 0));
}

bool CompositionGlass::Present(const void* contentPixels, const void* glassPixels, int width, int height,
                               float cornerRadius) {
  if (!tree_ || !contentPixels || !glassPixels || width <= 0 || height <= 0) return false;
  try {
    if (width != presentWidth_ || height != presentHeight_) {
      for (IDXGISwapChain1* chain : {tree_->contentChain.Get(), tree_->glassChain.Get()}) {
        Check(chain->ResizeBuffers(0, static_cast<UINT>(width), static_cast<UINT>(height), DXGI_FORMAT_UNKNOWN, 0));
      }
      const Vector2 size{static_cast<float>(width), static_cast<float>(height)};
      Check(tree_->root->put_Size(size));
      Check(tree_->clipShape->put_Size(size));
      presentWidth_ = width;
      presentHeight_ = height;
    }
    Check(tree_->clipShape->put_CornerRadius({cornerRadius, cornerRadius}));
    Upload(tree_->context.Get(), tree_->contentChain.Get(), contentPixels, width);
    Upload(tree_->context.Get(), tree_->glassChain.Get(), glassPixels, width);
    return true;
  } catch (const GlassFailure&) {
    presentWidth_ = presentHeight_ = 0;  // resized again next time
    return false;
  }
}

}  // namespace

std::unique_ptr<GlassBackdrop> CreateGlassBackdrop() { return std::make_unique<CompositionGlass>(); }
