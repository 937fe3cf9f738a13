#pragma once
// The textures of the glass capture and lens (the desktop copy, the crops, the lens targets): one
// description, with only the size, the bindings and the mip levels differing.
#include <d3d11.h>

// A default-usage B8G8R8A8 UNORM texture with one sample and one slice.
inline D3D11_TEXTURE2D_DESC BgraTextureDescription(int width, int height, UINT bindFlags, UINT mipLevels = 1) {
  D3D11_TEXTURE2D_DESC description{};
  description.Width = static_cast<UINT>(width);
  description.Height = static_cast<UINT>(height);
  description.MipLevels = mipLevels;
  description.ArraySize = 1;
  description.Format = DXGI_FORMAT_B8G8R8A8_UNORM;
  description.SampleDesc.Count = 1;
  description.Usage = D3D11_USAGE_DEFAULT;
  description.BindFlags = bindFlags;
  return description;
}
