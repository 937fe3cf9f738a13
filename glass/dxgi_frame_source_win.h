#pragma once
// The desktop frames of one monitor through DXGI desktop duplication, and the desktop copy: a
// texture of the monitor's size that the lens pass crops from.
#include <d3d11.h>
#include <dxgi1_2.h>

#include "core/unique_handle_win.h"
#include "glass/capture_controller.h"

class DxgiFrameSource : public FrameSource {
 public:
  // The device (and its immediate context) the duplication and the copy are made on, for the tick
  // that follows.
  void Use(ID3D11Device* device, ID3D11DeviceContext* context) {
    device_ = device;
    context_ = context;
  }

  // The first output of the device's adapter that shows `monitor`, duplicated for
  // B8G8R8A8 frames (DuplicateOutput1, else DuplicateOutput).
  DuplicationResult Duplicate(std::uintptr_t monitor) override;
  AcquireResult AcquireFrame(unsigned timeoutMs) override;
  bool FrameIsBgra() override;
  std::int32_t CopyFrame() override;
  void ReleaseFrame() override;
  std::optional<CopySize> Copy() const override;
  void Release() override;

  ID3D11Texture2D* DesktopCopy() const { return copy_.get(); }

 private:
  ID3D11Device* device_ = nullptr;
  ID3D11DeviceContext* context_ = nullptr;
  UniqueCom<IDXGIOutputDuplication> duplication_;
  UniqueCom<ID3D11Texture2D> frame_;  // the frame held between AcquireFrame and ReleaseFrame
  bool holding_ = false;
  UniqueCom<ID3D11Texture2D> copy_;
  CopySize copySize_;
};
