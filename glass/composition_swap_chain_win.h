#pragma once
// The swap chains that composition shows (the lens, and the panel's two painted layers): made for
// composition on the device's own adapter, 1 x 1 at first, B8G8R8A8 UNORM, one sample, two buffers
// for render-target output, stretched, flip-sequential, with premultiplied alpha.
#include <d3d11.h>
#include <dxgi1_2.h>

// S_OK and a new swap chain in `*swapChain`, or the failing call's code.
HRESULT CreateCompositionSwapChain(ID3D11Device* device, IDXGISwapChain1** swapChain);
