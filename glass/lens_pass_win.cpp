#include "glass/lens_pass_win.h"

#include "glass/bgra_texture_win.h"
#include "glass/composition_swap_chain_win.h"
#include "glass/lens_crop.h"
#include "glass/lens_reference.h"
#include "glass/lens_shaders_win.h"

namespace {

// The crop texture's mip levels: the shader reads level 2.
constexpr UINT kCropMipLevels = 3;
// The platform's "changed state" error (E_CHANGED_STATE), which MinGW's headers lack.
constexpr HRESULT kChangedState = static_cast<HRESULT>(0x8000000CL);

// The constant buffer `Turn` of glass/turn_ps.hlsl.
struct TurnConstants {
  float origin[2];
  float xStep[2];
  float yStep[2];
  float padding[2];
};
static_assert(sizeof(TurnConstants) == 32, "the turn's constant buffer is 32 bytes");

TurnConstants MakeTurnConstants(const TexelWalk& walk) {
  auto f = [](int value) { return static_cast<float>(value); };
  return {{f(walk.originX), f(walk.originY)}, {f(walk.xStepX), f(walk.xStepY)}, {f(walk.yStepX), f(walk.yStepY)}, {0, 0}};
}

// One full-screen triangle over `target` (width x height) through `pixelShader` with its constants,
// its optional sampler and its texture in slot 0; the texture and the target are unbound after.
void DrawOver(ID3D11DeviceContext* context, ID3D11RenderTargetView* target, int width, int height,
              ID3D11VertexShader* vertexShader, ID3D11PixelShader* pixelShader, ID3D11Buffer* constants,
              ID3D11SamplerState* sampler, ID3D11ShaderResourceView* texture) {
  const D3D11_VIEWPORT viewport{0, 0, static_cast<float>(width), static_cast<float>(height), 0, 1};
  context->RSSetViewports(1, &viewport);
  context->OMSetRenderTargets(1, &target, nullptr);
  context->IASetInputLayout(nullptr);
  context->IASetPrimitiveTopology(D3D11_PRIMITIVE_TOPOLOGY_TRIANGLELIST);
  context->VSSetShader(vertexShader, nullptr, 0);
  context->PSSetShader(pixelShader, nullptr, 0);
  context->PSSetConstantBuffers(0, 1, &constants);
  if (sampler) context->PSSetSamplers(0, 1, &sampler);
  context->PSSetShaderResources(0, 1, &texture);
  context->Draw(3, 0);
  ID3D11ShaderResourceView* noView = nullptr;
  context->PSSetShaderResources(0, 1, &noView);
  context->OMSetRenderTargets(0, nullptr, nullptr);
}

HRESULT MakeConstantBuffer(ID3D11Device* device, UINT size, UniqueCom<ID3D11Buffer>& buffer) {
  D3D11_BUFFER_DESC description{};
  description.ByteWidth = size;
  description.Usage = D3D11_USAGE_DEFAULT;
  description.BindFlags = D3D11_BIND_CONSTANT_BUFFER;
  return device->CreateBuffer(&description, nullptr, buffer.put());
}

}  // namespace

HRESULT LensPass::Create(ID3D11Device* device) {
  if (!device) return E_POINTER;
  HRESULT result = device->CreateVertexShader(kLensVertexShader, kLensVertexShaderSize, nullptr, vertexShader_.put());
  if (FAILED(result)) return result;
  result = device->CreatePixelShader(kLensPixelShader, kLensPixelShaderSize, nullptr, pixelShader_.put());
  if (FAILED(result)) return result;

  D3D11_SAMPLER_DESC sampler{};
  sampler.Filter = D3D11_FILTER_MIN_MAG_MIP_LINEAR;
  sampler.AddressU = sampler.AddressV = sampler.AddressW = D3D11_TEXTURE_ADDRESS_CLAMP;
  sampler.MipLODBias = 0;
  sampler.MaxAnisotropy = 0;
  sampler.ComparisonFunc = D3D11_COMPARISON_NEVER;
  sampler.MinLOD = 0;
  sampler.MaxLOD = 2;
  result = device->CreateSamplerState(&sampler, sampler_.put());
  if (FAILED(result)) return result;

  result = MakeConstantBuffer(device, sizeof(LensConstants), constants_);
  if (FAILED(result)) return result;
  result = device->CreatePixelShader(kTurnPixelShader, kTurnPixelShaderSize, nullptr, turnShader_.put());
  if (FAILED(result)) return result;
  return MakeConstantBuffer(device, sizeof(TurnConstants), turnConstants_);
}

HRESULT LensPass::CreateSwapChain(ID3D11Device* device) {
  HRESULT result = CreateCompositionSwapChain(device, swapChain_.put());
  if (FAILED(result)) return result;
  swapChainTarget_.reset();
  swapChainWidth_ = swapChainHeight_ = 1;
  return S_OK;
}

HRESULT LensPass::PrepareCrop(ID3D11Device* device, ID3D11DeviceContext* context, ID3D11Texture2D* desktopCopy,
                              const PixelRect& sourceBox, const PixelRect& monitor, OutputRotation rotation) {
  const int width = sourceBox.Width(), height = sourceBox.Height();
  if (!crop_ || cropWidth_ != width || cropHeight_ != height) {
    ReleaseCrop();
    D3D11_TEXTURE2D_DESC description =
        BgraTextureDescription(width, height, D3D11_BIND_SHADER_RESOURCE | D3D11_BIND_RENDER_TARGET, kCropMipLevels);
    description.MiscFlags = D3D11_RESOURCE_MISC_GENERATE_MIPS;
    HRESULT result = device->CreateTexture2D(&description, nullptr, crop_.put());
    if (FAILED(result)) return result;
    result = device->CreateShaderResourceView(crop_.get(), nullptr, cropView_.put());
    if (FAILED(result)) {
      ReleaseCrop();
      return result;
    }
    cropWidth_ = width;
    cropHeight_ = height;
  }
  if (rotation == OutputRotation::Identity) {
    const D3D11_BOX box{static_cast<UINT>(sourceBox.left), static_cast<UINT>(sourceBox.top), 0,
                        static_cast<UINT>(sourceBox.right), static_cast<UINT>(sourceBox.bottom), 1};
    context->CopySubresourceRegion(crop_.get(), 0, 0, 0, 0, desktopCopy, 0, &box);
  } else {
    HRESULT result = TurnIntoCrop(device, context, desktopCopy, sourceBox, monitor, rotation);
    if (FAILED(result)) return result;
  }
  context->GenerateMips(cropView_.get());
  return S_OK;
}

HRESULT LensPass::TurnIntoCrop(ID3D11Device* device, ID3D11DeviceContext* context, ID3D11Texture2D* desktopCopy,
                               const PixelRect& sourceBox, const PixelRect& monitor, OutputRotation rotation) {
  if (!turnShader_ || !turnConstants_) return E_POINTER;
  const PixelRect frameBox = UnrotatedBox(sourceBox, monitor.Width(), monitor.Height(), rotation);
  if (!frameCrop_ || frameCropWidth_ != frameBox.Width() || frameCropHeight_ != frameBox.Height()) {
    frameCropView_.reset();
    frameCrop_.reset();
    const D3D11_TEXTURE2D_DESC description =
        BgraTextureDescription(frameBox.Width(), frameBox.Height(), D3D11_BIND_SHADER_RESOURCE);
    HRESULT result = device->CreateTexture2D(&description, nullptr, frameCrop_.put());
    if (SUCCEEDED(result)) result = device->CreateShaderResourceView(frameCrop_.get(), nullptr, frameCropView_.put());
    if (FAILED(result)) {
      frameCrop_.reset();
      return result;
    }
    frameCropWidth_ = frameBox.Width();
    frameCropHeight_ = frameBox.Height();
  }
  if (!cropTarget_) {
    D3D11_RENDER_TARGET_VIEW_DESC view{};
    view.Format = DXGI_FORMAT_B8G8R8A8_UNORM;
    view.ViewDimension = D3D11_RTV_DIMENSION_TEXTURE2D;
    view.Texture2D.MipSlice = 0;
    HRESULT result = device->CreateRenderTargetView(crop_.get(), &view, cropTarget_.put());
    if (FAILED(result)) return result;
  }
  const D3D11_BOX box{static_cast<UINT>(frameBox.left), static_cast<UINT>(frameBox.top), 0,
                      static_cast<UINT>(frameBox.right), static_cast<UINT>(frameBox.bottom), 1};
  context->CopySubresourceRegion(frameCrop_.get(), 0, 0, 0, 0, desktopCopy, 0, &box);

  const TurnConstants constants = MakeTurnConstants(DesktopOrderWalk(sourceBox.Width(), sourceBox.Height(), rotation));
  context->UpdateSubresource(turnConstants_.get(), 0, nullptr, &constants, 0, 0);
  DrawOver(context, cropTarget_.get(), sourceBox.Width(), sourceBox.Height(), vertexShader_.get(), turnShader_.get(),
           turnConstants_.get(), nullptr, frameCropView_.get());
  return S_OK;
}

HRESULT LensPass::PrepareSwapChainTarget(ID3D11Device* device, int width, int height) {
  if (!swapChain_) return E_POINTER;
  if (swapChainTarget_ && swapChainWidth_ == width && swapChainHeight_ == height) return S_OK;
  swapChainTarget_.reset();
  if (swapChainWidth_ != width || swapChainHeight_ != height) {
    HRESULT result = swapChain_->ResizeBuffers(0, static_cast<UINT>(width), static_cast<UINT>(height),
                                                     DXGI_FORMAT_UNKNOWN, 0);
    if (FAILED(result)) return result;
    swapChainWidth_ = width;
    swapChainHeight_ = height;
  }
  UniqueCom<ID3D11Texture2D> buffer;
  HRESULT result = swapChain_->GetBuffer(0, __uuidof(ID3D11Texture2D), reinterpret_cast<void**>(buffer.put()));
  if (FAILED(result)) return result;
  return device->CreateRenderTargetView(buffer.get(), nullptr, swapChainTarget_.put());
}

HRESULT LensPass::Render(ID3D11Device* device, ID3D11DeviceContext* context, ID3D11Texture2D* desktopCopy,
                         const PixelRect& monitor, const PixelRect& panel, float radiusPx, float scale,
                         ID3D11RenderTargetView* target, OutputRotation rotation) {
  if (!device || !context || !desktopCopy || !pixelShader_) return E_POINTER;
  const LensCrop crop = LensCropFor(monitor, panel, scale);
  D3D11_TEXTURE2D_DESC copy{};
  desktopCopy->GetDesc(&copy);
  const PixelRect frame = UnrotatedBox({0, 0, monitor.Width(), monitor.Height()}, monitor.Width(), monitor.Height(), rotation);
  if (static_cast<long long>(copy.Width) < frame.Width() || static_cast<long long>(copy.Height) < frame.Height() ||
      crop.crop.Width() <= 0 || crop.crop.Height() <= 0 || panel.Width() <= 0 || panel.Height() <= 0) {
    return kChangedState;
  }
  HRESULT result = PrepareCrop(device, context, desktopCopy, crop.sourceBox, monitor, rotation);
  if (FAILED(result)) return result;
  if (!target) {
    result = PrepareSwapChainTarget(device, panel.Width(), panel.Height());
    if (FAILED(result)) return result;
    target = swapChainTarget_.get();
  }

  const LensConstants constants = MakeLensConstants(monitor, panel, crop, radiusPx, scale);
  context->UpdateSubresource(constants_.get(), 0, nullptr, &constants, 0, 0);
  DrawOver(context, target, panel.Width(), panel.Height(), vertexShader_.get(), pixelShader_.get(), constants_.get(),
           sampler_.get(), cropView_.get());
  return S_OK;
}

HRESULT LensPass::Present() {
  if (!swapChain_) return E_POINTER;
  return swapChain_->Present(0, 0);
}

void LensPass::ReleaseCrop() {
  cropTarget_.reset();
  frameCropView_.reset();
  frameCrop_.reset();
  frameCropWidth_ = frameCropHeight_ = 0;
  cropView_.reset();
  crop_.reset();
  cropWidth_ = cropHeight_ = 0;
}
