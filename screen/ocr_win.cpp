// The platform OCR engine (Windows.Media.Ocr) behind the TextRecognizer interface, driven through
// the Windows Runtime ABI.
#include <windows.h>
#include <roapi.h>

#include <atomic>
#include <climits>

#include "core/platform_error_win.h"
#include "core/runtime_string_win.h"
#include "core/unique_handle_win.h"
#include "screen/ocr.h"
#include "screen/ocr_abi_win.h"

namespace {

using namespace ocrabi;

// A new manual-reset event, not signalled.
UniqueKernelHandle MakeEvent() {
  UniqueKernelHandle event(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (!event) ThrowLastError("CreateEvent");
  return event;
}

template <class Interface>
UniqueCom<Interface> ActivationFactory(const wchar_t* className, const GUID& iid) {
  const UniqueHString name = MakeHString(className);
  UniqueCom<Interface> factory;
  ThrowIfFailed(RoGetActivationFactory(name.get(), iid, reinterpret_cast<void**>(factory.put())),
                "RoGetActivationFactory");
  return factory;
}

// Signals an event when a recognition finishes. Reference-counted, since the operation keeps its
// own reference to the handler.
class CompletionSignal final : public IOcrResultCompletedHandler {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (!object) return E_POINTER;
    if (iid == IID_IUnknown || iid == kIidOcrResultCompletedHandler || iid == kIidAgileObject) {
      *object = static_cast<IOcrResultCompletedHandler*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }
  HRESULT STDMETHODCALLTYPE Invoke(IOcrResultOperation*, AsyncStatus) override {
    SetEvent(done_.get());
    return S_OK;
  }
  HANDLE Done() const { return done_.get(); }

 private:
  std::atomic<ULONG> references_{1};
  UniqueKernelHandle done_ = MakeEvent();
};

// Blocks the calling thread until the recognition has finished, then returns its result.
UniqueCom<IOcrResult> WaitForResult(IOcrResultOperation* operation) {
  // Owns the reference the signal is born with.
  const UniqueCom<CompletionSignal> signal(new CompletionSignal());
  ThrowIfFailed(operation->put_Completed(signal.get()), "RecognizeAsync completion");
  WaitForSingleObject(signal.get()->Done(), INFINITE);

  UniqueCom<IAsyncInfo> info;
  ThrowIfFailed(operation->QueryInterface(kIidAsyncInfo, reinterpret_cast<void**>(info.put())),
                "RecognizeAsync status");
  AsyncStatus status = AsyncError;
  ThrowIfFailed(info->get_Status(&status), "RecognizeAsync status");
  if (status != AsyncCompleted) {
    HRESULT code = E_FAIL;
    info->get_ErrorCode(&code);
    throw PlatformError("RecognizeAsync", FAILED(code) ? code : E_ABORT);
  }
  UniqueCom<IOcrResult> result;
  ThrowIfFailed(operation->GetResults(result.put()), "RecognizeAsync results");
  return result;
}

// The tile's bytes in a runtime buffer, written and detached through a DataWriter.
UniqueCom<IInspectable> BufferFromBytes(const std::uint8_t* bytes, UINT32 size) {
  const UniqueHString className = MakeHString(L"Windows.Storage.Streams.DataWriter");
  UniqueCom<IInspectable> instance;
  ThrowIfFailed(RoActivateInstance(className.get(), instance.put()), "creating a DataWriter");
  UniqueCom<IDataWriter> writer;
  ThrowIfFailed(instance->QueryInterface(kIidDataWriter, reinterpret_cast<void**>(writer.put())),
                "DataWriter interface");
  ThrowIfFailed(writer->WriteBytes(size, const_cast<BYTE*>(bytes)), "DataWriter.WriteBytes");
  UniqueCom<IInspectable> buffer;
  ThrowIfFailed(writer->DetachBuffer(buffer.put()), "DataWriter.DetachBuffer");
  return buffer;
}

std::vector<std::wstring> LineTexts(IOcrResult* result) {
  UniqueCom<IOcrLineVector> lines;
  ThrowIfFailed(result->get_Lines(lines.put()), "OcrResult.Lines");
  UINT32 count = 0;
  ThrowIfFailed(lines->get_Size(&count), "OcrResult.Lines size");
  std::vector<std::wstring> texts;
  texts.reserve(count);
  for (UINT32 i = 0; i < count; ++i) {
    UniqueCom<IOcrLine> line;
    ThrowIfFailed(lines->GetAt(i, line.put()), "OcrResult.Lines item");
    UniqueHString text;
    ThrowIfFailed(line->get_Text(text.put()), "OcrLine.Text");
    texts.push_back(HStringText(text.get()));
  }
  return texts;
}

class PlatformTextRecognizer final : public TextRecognizer {
 public:
  PlatformTextRecognizer(UniqueCom<IOcrEngine> engine, UINT32 maxSide, UniqueCom<ISoftwareBitmapStatics> bitmaps)
      : engine_(std::move(engine)), maxSide_(maxSide), bitmaps_(std::move(bitmaps)) {}

  int MaxImageDimension() override { return maxSide_ > INT_MAX ? INT_MAX : static_cast<int>(maxSide_); }

  std::vector<std::wstring> RecognizeLines(const std::uint8_t* bgra, int width, int height) override {
    const UINT32 size = static_cast<UINT32>(width) * static_cast<UINT32>(height) * 4;
    const UniqueCom<IInspectable> buffer = BufferFromBytes(bgra, size);
    UniqueCom<IInspectable> bitmap;
    ThrowIfFailed(bitmaps_->CreateCopyFromBuffer(buffer.get(), kBitmapPixelFormatBgra8, width, height,
                                                 bitmap.put()),
                  "SoftwareBitmap.CreateCopyFromBuffer");
    UniqueCom<IOcrResultOperation> operation;
    ThrowIfFailed(engine_->RecognizeAsync(bitmap.get(), operation.put()), "OcrEngine.RecognizeAsync");
    const UniqueCom<IOcrResult> result = WaitForResult(operation.get());
    return LineTexts(result.get());
  }

 private:
  UniqueCom<IOcrEngine> engine_;
  UINT32 maxSide_;
  UniqueCom<ISoftwareBitmapStatics> bitmaps_;
};

}  // namespace

std::unique_ptr<TextRecognizer> CreatePlatformTextRecognizer() {
  const UniqueCom<IOcrEngineStatics> statics =
      ActivationFactory<IOcrEngineStatics>(L"Windows.Media.Ocr.OcrEngine", kIidOcrEngineStatics);
  UniqueCom<IOcrEngine> engine;
  ThrowIfFailed(statics->TryCreateFromUserProfileLanguages(engine.put()),
                "OcrEngine.TryCreateFromUserProfileLanguages");
  if (!engine) return nullptr;
  UINT32 maxSide = 0;
  ThrowIfFailed(statics->get_MaxImageDimension(&maxSide), "OcrEngine.MaxImageDimension");
  UniqueCom<ISoftwareBitmapStatics> bitmaps = ActivationFactory<ISoftwareBitmapStatics>(
      L"Windows.Graphics.Imaging.SoftwareBitmap", kIidSoftwareBitmapStatics);
  return std::make_unique<PlatformTextRecognizer>(std::move(engine), maxSide, std::move(bitmaps));
}

std::wstring RecognizeScreenText(const ScreenImage& image) {
  return RecognizeScreenTextWith(image, CreatePlatformTextRecognizer);
}
