#pragma once
// The lens pass on Direct3D 11: the embedded shaders, the `linearClamp` sampler, the 48-byte `Lens`
// constant buffer, the crop texture with its three mip levels, and the lens swap chain for
// composition that the lens sprite shows. On a turned monitor the crop is first cut from the
// unrotated desktop copy and turned the right way up by a pass of its own.
#include <d3d11.h>
#include <dxgi1_2.h>

#include "core/geometry.h"
#include "core/unique_handle_win.h"
#include "glass/output_rotation.h"

class LensPass {
 public:
  // The shaders (from the blobs compiled with the program), the sampler and the constant buffers.
  HRESULT Create(ID3D11Device* device);
  // The lens swap chain for composition: 1 x 1, BGRA, two buffers, flip-sequential, premultiplied.
  HRESULT CreateSwapChain(ID3D11Device* device);
  IDXGISwapChain1* SwapChain() const { return swapChain_.get(); }

  // Draws the lens for `panel` on `monitor` (screen pixels) from `desktopCopy` (the monitor's
  // desktop as its frames come, turned by `rotation`): crops around the panel, generates the
  // crop's mips and runs the shaders over a target of the panel's size. The target is `target`
  // when given (it must have the panel's size), else buffer 0 of the lens swap chain, resized to
  // the panel first. A copy smaller than the monitor fails with E_CHANGED_STATE.
  HRESULT Render(ID3D11Device* device, ID3D11DeviceContext* context, ID3D11Texture2D* desktopCopy,
                 const PixelRect& monitor, const PixelRect& panel, float radiusPx, float scale,
                 ID3D11RenderTargetView* target = nullptr, OutputRotation rotation = OutputRotation::Identity);
  // Presents the lens swap chain (sync interval 0).
  HRESULT Present();
  // Drops the crop texture and its view.
  void ReleaseCrop();

 private:
  HRESULT PrepareCrop(ID3D11Device* device, ID3D11DeviceContext* context, ID3D11Texture2D* desktopCopy,
                      const PixelRect& sourceBox, const PixelRect& monitor, OutputRotation rotation);
  // Fills the crop's first level from the unrotated copy of a turned monitor.
  HRESULT TurnIntoCrop(ID3D11Device* device, ID3D11DeviceContext* context, ID3D11Texture2D* desktopCopy,
                       const PixelRect& sourceBox, const PixelRect& monitor, OutputRotation rotation);
  HRESULT PrepareSwapChainTarget(ID3D11Device* device, int width, int height);

  UniqueCom<ID3D11VertexShader> vertexShader_;
  UniqueCom<ID3D11PixelShader> pixelShader_;
  UniqueCom<ID3D11SamplerState> sampler_;
  UniqueCom<ID3D11Buffer> constants_;
  UniqueCom<IDXGISwapChain1> swapChain_;
  UniqueCom<ID3D11RenderTargetView> swapChainTarget_;
  int swapChainWidth_ = 1, swapChainHeight_ = 1;
  UniqueCom<ID3D11Texture2D> crop_;
  UniqueCom<ID3D11ShaderResourceView> cropView_;
  int cropWidth_ = 0, cropHeight_ = 0;
  // The turn of a rotated monitor's crop: its shader and constants, the crop as the frame holds it,
  // and the crop's first level as a target.
  UniqueCom<ID3D11PixelShader> turnShader_;
  UniqueCom<ID3D11Buffer> turnConstants_;
  UniqueCom<ID3D11Texture2D> frameCrop_;
  UniqueCom<ID3D11ShaderResourceView> frameCropView_;
  int frameCropWidth_ = 0, frameCropHeight_ = 0;
  UniqueCom<ID3D11RenderTargetView> cropTarget_;
};
