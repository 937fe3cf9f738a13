#include "glass/dxgi_frame_source_win.h"

#include <dxgi1_5.h>

#include "glass/bgra_texture_win.h"

namespace {

DuplicationResult DuplicationFailed(HRESULT code) {
  return {DuplicationResult::Kind::Failed, static_cast<std::int32_t>(code)};
}

// The output of `adapter` that shows `monitor`, and how that output is turned; none when another
// adapter drives the monitor.
HRESULT FindOutput(IDXGIAdapter* adapter, std::uintptr_t monitor, UniqueCom<IDXGIOutput>& output,
                   OutputRotation& rotation) {
  for (UINT index = 0;; ++index) {
    UniqueCom<IDXGIOutput> candidate;
    HRESULT result = adapter->EnumOutputs(index, candidate.put());
    if (result == DXGI_ERROR_NOT_FOUND) return S_OK;
    if (FAILED(result)) return result;
    DXGI_OUTPUT_DESC description{};
    result = candidate->GetDesc(&description);
    if (FAILED(result)) return result;
    if (reinterpret_cast<std::uintptr_t>(description.Monitor) == monitor) {
      output = std::move(candidate);
      rotation = RotationFromDxgi(static_cast<int>(description.Rotation));
      return S_OK;
    }
  }
}

}  // namespace

DuplicationResult DxgiFrameSource::Duplicate(std::uintptr_t monitor) {
  if (!device_) return DuplicationFailed(E_POINTER);
  UniqueCom<IDXGIDevice> dxgiDevice;
  HRESULT result = device_->QueryInterface(__uuidof(IDXGIDevice), reinterpret_cast<void**>(dxgiDevice.put()));
  if (FAILED(result)) return DuplicationFailed(result);
  UniqueCom<IDXGIAdapter> adapter;
  result = dxgiDevice->GetAdapter(adapter.put());
  if (FAILED(result)) return DuplicationFailed(result);

  UniqueCom<IDXGIOutput> output;
  OutputRotation rotation = OutputRotation::Identity;
  result = FindOutput(adapter.get(), monitor, output, rotation);
  if (FAILED(result)) return DuplicationFailed(result);
  if (!output) return {DuplicationResult::Kind::SecondaryGpu};

  UniqueCom<IDXGIOutputDuplication> duplication;
  UniqueCom<IDXGIOutput5> output5;
  result = E_NOINTERFACE;
  if (SUCCEEDED(output->QueryInterface(__uuidof(IDXGIOutput5), reinterpret_cast<void**>(output5.put())))) {
    const DXGI_FORMAT formats[] = {DXGI_FORMAT_B8G8R8A8_UNORM};
    result = output5->DuplicateOutput1(device_, 0, 1, formats, duplication.put());
  }
  if (FAILED(result)) {
    UniqueCom<IDXGIOutput1> output1;
    result = output->QueryInterface(__uuidof(IDXGIOutput1), reinterpret_cast<void**>(output1.put()));
    if (SUCCEEDED(result)) result = output1->DuplicateOutput(device_, duplication.put());
  }
  if (FAILED(result)) return DuplicationRefused(static_cast<std::int32_t>(result));
  duplication_ = std::move(duplication);
  return {DuplicationResult::Kind::Made, 0, rotation};
}

AcquireResult DxgiFrameSource::AcquireFrame(unsigned timeoutMs) {
  if (!duplication_) return {AcquireResult::Kind::Failed, false, static_cast<std::int32_t>(E_POINTER)};
  DXGI_OUTDUPL_FRAME_INFO info{};
  UniqueCom<IDXGIResource> resource;
  HRESULT result = duplication_->AcquireNextFrame(timeoutMs, &info, resource.put());
  if (result == DXGI_ERROR_WAIT_TIMEOUT) return {AcquireResult::Kind::Timeout};
  if (result == DXGI_ERROR_ACCESS_LOST) return {AcquireResult::Kind::AccessLost};
  if (FAILED(result)) return {AcquireResult::Kind::Failed, false, static_cast<std::int32_t>(result)};
  holding_ = true;
  result = resource->QueryInterface(__uuidof(ID3D11Texture2D), reinterpret_cast<void**>(frame_.put()));
  if (FAILED(result)) {
    ReleaseFrame();
    return {AcquireResult::Kind::Failed, false, static_cast<std::int32_t>(result)};
  }
  return {AcquireResult::Kind::NewFrame, info.LastPresentTime.QuadPart != 0};
}

bool DxgiFrameSource::FrameIsBgra() {
  if (!frame_) return false;
  D3D11_TEXTURE2D_DESC description{};
  frame_->GetDesc(&description);
  return description.Format == DXGI_FORMAT_B8G8R8A8_UNORM;
}

std::int32_t DxgiFrameSource::CopyFrame() {
  if (!frame_ || !device_ || !context_) return static_cast<std::int32_t>(E_POINTER);
  D3D11_TEXTURE2D_DESC frameDescription{};
  frame_->GetDesc(&frameDescription);
  const int width = static_cast<int>(frameDescription.Width), height = static_cast<int>(frameDescription.Height);
  if (!copy_ || copySize_.width != width || copySize_.height != height) {
    copy_.reset();
    const D3D11_TEXTURE2D_DESC description = BgraTextureDescription(width, height, 0);  // only a copy source
    HRESULT result = device_->CreateTexture2D(&description, nullptr, copy_.put());
    if (FAILED(result)) return static_cast<std::int32_t>(result);
    copySize_ = {width, height};
  }
  context_->CopyResource(copy_.get(), frame_.get());
  return 0;
}

void DxgiFrameSource::ReleaseFrame() {
  frame_.reset();
  if (holding_ && duplication_) duplication_->ReleaseFrame();
  holding_ = false;
}

std::optional<CopySize> DxgiFrameSource::Copy() const {
  if (!copy_) return std::nullopt;
  return copySize_;
}

void DxgiFrameSource::Release() {
  ReleaseFrame();
  duplication_.reset();
  copy_.reset();
  copySize_ = {};
}
