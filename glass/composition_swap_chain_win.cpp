#include "glass/composition_swap_chain_win.h"

#include "core/unique_handle_win.h"

HRESULT CreateCompositionSwapChain(ID3D11Device* device, IDXGISwapChain1** swapChain) {
  if (!device || !swapChain) return E_POINTER;
  *swapChain = nullptr;
  UniqueCom<IDXGIDevice> dxgiDevice;
  HRESULT result = device->QueryInterface(__uuidof(IDXGIDevice), reinterpret_cast<void**>(dxgiDevice.put()));
  if (FAILED(result)) return result;
  UniqueCom<IDXGIAdapter> adapter;
  result = dxgiDevice->GetAdapter(adapter.put());
  if (FAILED(result)) return result;
  UniqueCom<IDXGIFactory2> factory;
  result = adapter->GetParent(__uuidof(IDXGIFactory2), reinterpret_cast<void**>(factory.put()));
  if (FAILED(result)) return result;

  DXGI_SWAP_CHAIN_DESC1 description{};
  description.Width = 1;
  description.Height = 1;
  description.Format = DXGI_FORMAT_B8G8R8A8_UNORM;
  description.Stereo = FALSE;
  description.SampleDesc.Count = 1;
  description.BufferUsage = DXGI_USAGE_RENDER_TARGET_OUTPUT;
  description.BufferCount = 2;
  description.Scaling = DXGI_SCALING_STRETCH;
  description.SwapEffect = DXGI_SWAP_EFFECT_FLIP_SEQUENTIAL;
  description.AlphaMode = DXGI_ALPHA_MODE_PREMULTIPLIED;
  return factory->CreateSwapChainForComposition(device, &description, nullptr, swapChain);
}
