// JPEG encoding with the Windows Imaging Component, into a stream in memory.
#include <windows.h>
#include <objidl.h>
#include <wincodec.h>

#include <algorithm>
#include <climits>

#include "core/platform_error_win.h"
#include "core/unique_handle_win.h"
#include "screen/vision_image.h"

namespace {

void SetJpegQuality(IPropertyBag2* options, float quality) {
  PROPBAG2 option{};
  option.pstrName = const_cast<LPOLESTR>(L"ImageQuality");
  VARIANT value;
  VariantInit(&value);
  value.vt = VT_R4;
  value.fltVal = quality;
  ThrowIfFailed(options->Write(1, &option, &value), "setting the JPEG quality");
}

UniqueCom<IWICBitmapFrameEncode> StartJpegFrame(IWICBitmapEncoder* encoder, int width, int height) {
  UniqueCom<IWICBitmapFrameEncode> frame;
  UniqueCom<IPropertyBag2> options;
  ThrowIfFailed(encoder->CreateNewFrame(frame.put(), options.put()), "creating a JPEG frame");
  SetJpegQuality(options.get(), kVisionJpegQuality);
  ThrowIfFailed(frame->Initialize(options.get()), "starting the JPEG frame");
  ThrowIfFailed(frame->SetSize(static_cast<UINT>(width), static_cast<UINT>(height)), "sizing the JPEG frame");
  ThrowIfFailed(frame->SetResolution(kVisionJpegDpi, kVisionJpegDpi), "setting the JPEG resolution");
  WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
  ThrowIfFailed(frame->SetPixelFormat(&format), "setting the JPEG pixel format");
  if (format != GUID_WICPixelFormat24bppBGR) throw PlatformError("choosing 24-bit pixels", WINCODEC_ERR_UNSUPPORTEDPIXELFORMAT);
  return frame;
}

std::vector<std::uint8_t> StreamBytes(IStream* stream) {
  ULARGE_INTEGER end{};
  ThrowIfFailed(stream->Seek(LARGE_INTEGER{}, STREAM_SEEK_END, &end), "sizing the JPEG stream");
  if (end.QuadPart > ULONG_MAX) throw PlatformError("sizing the JPEG stream", E_OUTOFMEMORY);
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(end.QuadPart));
  ThrowIfFailed(stream->Seek(LARGE_INTEGER{}, STREAM_SEEK_SET, nullptr), "rewinding the JPEG stream");
  ULONG read = 0;
  if (!bytes.empty()) {
    ThrowIfFailed(stream->Read(bytes.data(), static_cast<ULONG>(bytes.size()), &read), "reading the JPEG stream");
  }
  bytes.resize(read);
  return bytes;
}

}  // namespace

std::vector<std::uint8_t> EncodeBgr24JpegWithWic(int width, int height, const Bgr24RowsFn& rows) {
  UniqueCom<IWICImagingFactory> factory;
  ThrowIfFailed(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                 reinterpret_cast<void**>(factory.put())),
                "creating the imaging factory");
  UniqueCom<IStream> stream;
  ThrowIfFailed(CreateStreamOnHGlobal(nullptr, TRUE, stream.put()), "creating a memory stream");
  UniqueCom<IWICBitmapEncoder> encoder;
  ThrowIfFailed(factory->CreateEncoder(GUID_ContainerFormatJpeg, nullptr, encoder.put()),
                "creating the JPEG encoder");
  ThrowIfFailed(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache), "starting the JPEG encoder");
  const UniqueCom<IWICBitmapFrameEncode> frame = StartJpegFrame(encoder.get(), width, height);

  // One strip buffer, filled and handed over in turn: the frame takes successive rows per call.
  const UINT stride = static_cast<UINT>(width) * 3;
  std::vector<std::uint8_t> strip(static_cast<std::size_t>(stride) * std::min(height, kJpegStripRows));
  for (int row = 0; row < height; row += kJpegStripRows) {
    const int count = std::min(kJpegStripRows, height - row);
    rows(row, count, strip.data());
    ThrowIfFailed(frame->WritePixels(static_cast<UINT>(count), stride, stride * static_cast<UINT>(count), strip.data()),
                  "writing the JPEG pixels");
  }
  ThrowIfFailed(frame->Commit(), "finishing the JPEG frame");
  ThrowIfFailed(encoder->Commit(), "finishing the JPEG file");
  return StreamBytes(stream.get());
}

std::string EncodeVisionImage(ScreenImage& image) { return EncodeVisionBgr24With(image, EncodeBgr24JpegWithWic); }
