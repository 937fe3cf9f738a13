#pragma once
// What the Wine tests and timings of the lens pass share: a Direct3D 11 device (llvmpipe under
// Wine; it needs a display), a synthetic desktop, an offscreen target of the panel's size and its
// read-back.
#include <d3d11.h>

#include <cstdint>

#include "core/unique_handle_win.h"
#include "glass/bgra_texture_win.h"
#include "glass/lens_reference.h"

struct LensDevice {
  UniqueCom<ID3D11Device> device;
  UniqueCom<ID3D11DeviceContext> context;
  HRESULT result = E_FAIL;
};

inline LensDevice MakeLensDevice() {
  LensDevice made;
  made.result = D3D11CreateDevice(nullptr, D3D_DRIVER_TYPE_HARDWARE, nullptr, D3D11_CREATE_DEVICE_BGRA_SUPPORT,
                                  nullptr, 0, D3D11_SDK_VERSION, made.device.put(), nullptr, made.context.put());
  return made;
}

// A desktop of 32 px checkerboard squares over colour gradients: sharp edges for the refraction
// to move and smooth ramps for the blur to keep.
inline BgraImage SyntheticDesktop(int width, int height) {
  BgraImage image = MakeBgraImage(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const int check = ((x / 32 + y / 32) & 1) ? 200 : 40;
      std::uint8_t* pixel = image.At(x, y);
      pixel[0] = static_cast<std::uint8_t>(check);
      pixel[1] = static_cast<std::uint8_t>(x * 255 / (width - 1));
      pixel[2] = static_cast<std::uint8_t>((check + y * 255 / (height - 1)) / 2);
      pixel[3] = 255;
    }
  }
  return image;
}

inline BgraImage CutOut(const BgraImage& image, const PixelRect& box) {
  BgraImage out = MakeBgraImage(box.Width(), box.Height());
  for (int y = 0; y < out.height; ++y) {
    for (int x = 0; x < out.width; ++x) {
      const std::uint8_t* from = image.At(box.left + x, box.top + y);
      std::copy(from, from + 4, out.At(x, y));
    }
  }
  return out;
}

// A texture holding `image`, as the desktop copy is (no bind flags, only a copy source).
inline UniqueCom<ID3D11Texture2D> UploadDesktop(ID3D11Device* device, const BgraImage& image) {
  D3D11_TEXTURE2D_DESC description = BgraTextureDescription(image.width, image.height, 0);
  D3D11_SUBRESOURCE_DATA data{image.bytes.data(), static_cast<UINT>(image.width * 4), 0};
  UniqueCom<ID3D11Texture2D> texture;
  device->CreateTexture2D(&description, &data, texture.put());
  return texture;
}

struct OffscreenTarget {
  UniqueCom<ID3D11Texture2D> texture;
  UniqueCom<ID3D11RenderTargetView> view;
};

inline OffscreenTarget MakeOffscreenTarget(ID3D11Device* device, int width, int height) {
  OffscreenTarget target;
  D3D11_TEXTURE2D_DESC description = BgraTextureDescription(width, height, D3D11_BIND_RENDER_TARGET);
  if (SUCCEEDED(device->CreateTexture2D(&description, nullptr, target.texture.put()))) {
    device->CreateRenderTargetView(target.texture.get(), nullptr, target.view.put());
  }
  return target;
}

// The texture's pixels through a staging copy; an empty image when that fails.
inline BgraImage ReadBack(ID3D11Device* device, ID3D11DeviceContext* context, ID3D11Texture2D* texture) {
  D3D11_TEXTURE2D_DESC description{};
  texture->GetDesc(&description);
  description.Usage = D3D11_USAGE_STAGING;
  description.BindFlags = 0;
  description.CPUAccessFlags = D3D11_CPU_ACCESS_READ;
  description.MiscFlags = 0;
  UniqueCom<ID3D11Texture2D> staging;
  if (FAILED(device->CreateTexture2D(&description, nullptr, staging.put()))) return {};
  context->CopyResource(staging.get(), texture);
  D3D11_MAPPED_SUBRESOURCE mapped{};
  if (FAILED(context->Map(staging.get(), 0, D3D11_MAP_READ, 0, &mapped))) return {};
  BgraImage image = MakeBgraImage(static_cast<int>(description.Width), static_cast<int>(description.Height));
  for (int y = 0; y < image.height; ++y) {
    const auto* row = static_cast<const std::uint8_t*>(mapped.pData) + static_cast<size_t>(y) * mapped.RowPitch;
    std::copy(row, row + image.width * 4, image.At(0, y));
  }
  context->Unmap(staging.get(), 0);
  return image;
}
