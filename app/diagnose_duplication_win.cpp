// Diagnostic report: for each display output, whether desktop duplication (the glass lens's live
// frames) starts, made the way the glass makes it, on a Direct3D device of the output's adapter.
#include <windows.h>
#include <d3d11.h>
#include <dxgi1_2.h>

#include "app/diagnose_probes_win.h"
#include "core/unique_handle_win.h"
#include "core/utf.h"
#include "glass/dxgi_frame_source_win.h"

namespace {

struct Device {
  UniqueCom<ID3D11Device> device;
  UniqueCom<ID3D11DeviceContext> context;
  HRESULT result = E_FAIL;
};

Device CreateDeviceOn(IDXGIAdapter1* adapter) {
  Device made;
  made.result = D3D11CreateDevice(adapter, D3D_DRIVER_TYPE_UNKNOWN, nullptr, D3D11_CREATE_DEVICE_BGRA_SUPPORT,
                                  nullptr, 0, D3D11_SDK_VERSION, made.device.put(), nullptr, made.context.put());
  return made;
}

DiagnosticLine OutputLine(const std::string& adapterName, UINT adapterIndex, Device& device,
                          const DXGI_OUTPUT_DESC& output) {
  const std::string check = "Desktop duplication " + WideToUtf8(output.DeviceName);
  const std::string where = "adapter " + std::to_string(adapterIndex) + " \"" + adapterName + "\"";
  if (FAILED(device.result)) return Failed(check, "no Direct3D device on " + where, FormatHresult(device.result));
  DxgiFrameSource source;
  source.Use(device.device.get(), device.context.get());
  const DuplicationResult made = source.Duplicate(reinterpret_cast<std::uintptr_t>(output.Monitor));
  source.Release();
  switch (made.kind) {
    case DuplicationResult::Kind::Made: return Passed(check, "starts on " + where);
    case DuplicationResult::Kind::SecondaryGpu: return Failed(check, "the output is not on " + where);
    case DuplicationResult::Kind::Unavailable:
      return Failed(check, "not currently available on " + where + " (another program may hold it)",
                    FormatHresult(DXGI_ERROR_NOT_CURRENTLY_AVAILABLE));
    case DuplicationResult::Kind::Failed: break;
  }
  return Failed(check, "does not start on " + where, FormatHresult(made.code));
}

}  // namespace

std::vector<DiagnosticLine> ProbeDesktopDuplication() {
  UniqueCom<IDXGIFactory1> factory;
  const HRESULT created = CreateDXGIFactory1(__uuidof(IDXGIFactory1), reinterpret_cast<void**>(factory.put()));
  if (FAILED(created)) return {Failed("Desktop duplication", "no DXGI factory", FormatHresult(created))};
  std::vector<DiagnosticLine> lines;
  for (UINT a = 0;; ++a) {
    UniqueCom<IDXGIAdapter1> adapter;
    if (FAILED(factory.get()->EnumAdapters1(a, adapter.put()))) break;  // DXGI_ERROR_NOT_FOUND: no more
    DXGI_ADAPTER_DESC1 description{};
    adapter.get()->GetDesc1(&description);
    const std::string name = WideToUtf8(description.Description);
    Device device;
    bool tried = false;
    for (UINT o = 0;; ++o) {
      UniqueCom<IDXGIOutput> output;
      if (FAILED(adapter.get()->EnumOutputs(o, output.put()))) break;
      DXGI_OUTPUT_DESC outputDescription{};
      if (FAILED(output.get()->GetDesc(&outputDescription))) continue;
      if (!tried) device = CreateDeviceOn(adapter.get());
      tried = true;
      lines.push_back(OutputLine(name, a, device, outputDescription));
    }
  }
  if (lines.empty()) lines.push_back(Failed("Desktop duplication", "no display output on any adapter"));
  return lines;
}
