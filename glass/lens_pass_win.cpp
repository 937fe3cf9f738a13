#include "glass/lens_pass_win.h"

#include "glass/composition_swap_chain_win.h"
#include "glass/crop_rect.h"
#include "glass/lens_reference.h"
#include "glass/lens_shaders_win.h"

namespace {

// The crop texture's mip levels: the shader reads level 2.
constexpr UINT kCropMipLevels = 3;
// The platform's "changed state" error (E_CHANGED_STATE), which MinGW's headers lack.
constexpr HRESULT kChangedState = static_cast<HRESULT>(0x8000000CL);

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

  D3D11_BUFFER_DESC buffer{};
  buffer.ByteWidth = sizeof(LensConstants);
  buffer.Usage = D3D11_USAGE_DEFAULT;
  buffer.BindFlags = D3D11_BIND_CONSTANT_BUFFER;
  return device->CreateBuffer(&buffer, nullptr, constants_.put());
}

HRESULT LensPass::CreateSwapChain(ID3D11Device* device) {
  HRESULT result = CreateCompositionSwapChain(device, swapChain_.put());
  if (FAILED(result)) return result;
  swapChainTarget_.reset();
  swapChainWidth_ = swapChainHeight_ = 1;
  return S_OK;
}

HRESULT LensPass::PrepareCrop(ID3D11Device* device, ID3D11DeviceContext* context, ID3D11Texture2D* desktopCopy,
                              const PixelRect& sourceBox) {
  const int width = sourceBox.Width(), height = sourceBox.Height();
  if (!crop_ || cropWidth_ != width || cropHeight_ != height) {
    ReleaseCrop();
    D3D11_TEXTURE2D_DESC description{};
    description.Width = static_cast<UINT>(width);
    description.Height = static_cast<UINT>(height);
    description.MipLevels = kCropMipLevels;
    description.ArraySize = 1;
    description.Format = DXGI_FORMAT_B8G8R8A8_UNORM;
    description.SampleDesc.Count = 1;
    description.Usage = D3D11_USAGE_DEFAULT;
    description.BindFlags = D3D11_BIND_SHADER_RESOURCE | D3D11_BIND_RENDER_TARGET;
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
  const D3D11_BOX box{static_cast<UINT>(sourceBox.left), static_cast<UINT>(sourceBox.top), 0,
                      static_cast<UINT>(sourceBox.right), static_cast<UINT>(sourceBox.bottom), 1};
  context->CopySubresourceRegion(crop_.get(), 0, 0, 0, 0, desktopCopy, 0, &box);
  context->GenerateMips(cropView_.get());
  return S_OK;
}

HRESULT LensPass::PrepareSwapChainTarget(ID3D11Device* device, int width, int height) {
  if (!swapChain_) return E_POINTER;
  if (swapChainTarget_ && swapChainWidth_ == width && swapChainHeight_ == height) return S_OK;
  swapChainTarget_.reset();
  if (swapChainWidth_ != width || swapChainHeight_ != height) {
    HRESULT result = swapChain_.get()->ResizeBuffers(0, static_cast<UINT>(width), static_cast<UINT>(height),
                                                     DXGI_FORMAT_UNKNOWN, 0);
    if (FAILED(result)) return result;
    swapChainWidth_ = width;
    swapChainHeight_ = height;
  }
  UniqueCom<ID3D11Texture2D> buffer;
  HRESULT result = swapChain_.get()->GetBuffer(0, __uuidof(ID3D11Texture2D), reinterpret_cast<void**>(buffer.put()));
  if (FAILED(result)) return result;
  return device->CreateRenderTargetView(buffer.get(), nullptr, swapChainTarget_.put());
}

HRESULT LensPass::Render(ID3D11Device* device, ID3D11DeviceContext* context, ID3D11Texture2D* desktopCopy,
                         const PixelRect& monitor, const PixelRect& panel, float radiusPx, float scale,
                         ID3D11RenderTargetView* target) {
  if (!device || !context || !desktopCopy || !pixelShader_) return E_POINTER;
  const LensCrop crop = LensCropFor(monitor, panel, scale);
  D3D11_TEXTURE2D_DESC copy{};
  desktopCopy->GetDesc(&copy);
  if (static_cast<long long>(copy.Width) < monitor.Width() || static_cast<long long>(copy.Height) < monitor.Height() ||
      crop.crop.Width() <= 0 || crop.crop.Height() <= 0 || panel.Width() <= 0 || panel.Height() <= 0) {
    return kChangedState;
  }
  HRESULT result = PrepareCrop(device, context, desktopCopy, crop.sourceBox);
  if (FAILED(result)) return result;
  if (!target) {
    result = PrepareSwapChainTarget(device, panel.Width(), panel.Height());
    if (FAILED(result)) return result;
    target = swapChainTarget_.get();
  }

  const LensConstants constants = MakeLensConstants(monitor, panel, crop, radiusPx, scale);
  context->UpdateSubresource(constants_.get(), 0, nullptr, &constants, 0, 0);

  const D3D11_VIEWPORT viewport{0, 0, static_cast<float>(panel.Width()), static_cast<float>(panel.Height()), 0, 1};
  context->RSSetViewports(1, &viewport);
  context->OMSetRenderTargets(1, &target, nullptr);
  context->IASetInputLayout(nullptr);
  context->IASetPrimitiveTopology(D3D11_PRIMITIVE_TOPOLOGY_TRIANGLELIST);
  context->VSSetShader(vertexShader_.get(), nullptr, 0);
  context->PSSetShader(pixelShader_.get(), nullptr, 0);
  ID3D11Buffer* buffers[] = {constants_.get()};
  ID3D11SamplerState* samplers[] = {sampler_.get()};
  ID3D11ShaderResourceView* views[] = {cropView_.get()};
  context->PSSetConstantBuffers(0, 1, buffers);
  context->PSSetSamplers(0, 1, samplers);
  context->PSSetShaderResources(0, 1, views);
  context->Draw(3, 0);
  ID3D11ShaderResourceView* noView[] = {nullptr};
  context->PSSetShaderResources(0, 1, noView);
  context->OMSetRenderTargets(0, nullptr, nullptr);
  return S_OK;
}

HRESULT LensPass::Present() {
  if (!swapChain_) return E_POINTER;
  return swapChain_.get()->Present(0, 0);
}

void LensPass::ReleaseCrop() {
  cropView_.reset();
  crop_.reset();
  cropWidth_ = cropHeight_ = 0;
}
