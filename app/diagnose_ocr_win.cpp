// Diagnostic report: the OCR engine a screen scan would use, and the recognizer languages this
// Windows has installed.
#include <windows.h>
#include <roapi.h>

#include <stdexcept>

#include "app/diagnose_probes_win.h"
#include "core/utf.h"
#include "core/platform_error_win.h"
#include "core/runtime_string_win.h"
#include "core/unique_handle_win.h"
#include "screen/ocr.h"
#include "screen/ocr_abi_win.h"

namespace {

// Windows.Globalization.ILanguage: the members up to the language tag.
struct ILanguage : IInspectable {
  virtual HRESULT STDMETHODCALLTYPE get_LanguageTag(HSTRING* tag) = 0;
};

// IVectorView<Language>: the members up to its size.
struct ILanguageVector : IInspectable {
  virtual HRESULT STDMETHODCALLTYPE GetAt(UINT32 index, ILanguage** language) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Size(UINT32* size) = 0;
};

std::string TagOf(ILanguage* language) {
  UniqueHString tag;
  if (!language || FAILED(language->get_LanguageTag(tag.put()))) return "?";
  return WideToUtf8(HStringText(tag.get()));
}

// The engine's language and the installed recognizer languages, as "en-US; installed: en-US, de-DE".
std::string Languages() {
  const UniqueHString name = MakeHString(L"Windows.Media.Ocr.OcrEngine");
  UniqueCom<ocrabi::IOcrEngineStatics> statics;
  ThrowIfFailed(RoGetActivationFactory(name.get(), ocrabi::kIidOcrEngineStatics,
                                       reinterpret_cast<void**>(statics.put())),
                "RoGetActivationFactory");
  std::string text;
  UniqueCom<ocrabi::IOcrEngine> engine;
  if (SUCCEEDED(statics->TryCreateFromUserProfileLanguages(engine.put())) && engine) {
    UniqueCom<IInspectable> language;
    if (SUCCEEDED(engine->get_RecognizerLanguage(language.put()))) {
      text = TagOf(reinterpret_cast<ILanguage*>(language.get()));
    }
  }
  UniqueCom<IInspectable> available;
  ThrowIfFailed(statics->get_AvailableRecognizerLanguages(available.put()), "AvailableRecognizerLanguages");
  auto* vector = reinterpret_cast<ILanguageVector*>(available.get());
  UINT32 count = 0;
  if (vector) vector->get_Size(&count);
  std::string installed;
  for (UINT32 i = 0; i < count; ++i) {
    ILanguage* language = nullptr;
    if (FAILED(vector->GetAt(i, &language))) continue;
    installed += (installed.empty() ? "" : ", ") + TagOf(language);
    language->Release();
  }
  return text + "; installed recognizers: " + (installed.empty() ? std::string("none") : installed);
}

}  // namespace

DiagnosticLine ProbeOcr() {
  const char* check = "OCR";
  try {
    const std::unique_ptr<TextRecognizer> recognizer = CreatePlatformTextRecognizer();
    const std::string languages = Languages();
    if (!recognizer) {
      return Failed(check, "no recognizer for the user's display languages (screen scans fail)" + languages);
    }
    return Passed(check, "Windows.Media.Ocr for " + languages);
  } catch (const PlatformError& error) {
    return Failed(check, "no OCR engine (Windows.Media.Ocr); screen scans fail, vision scans and snips work",
                  FormatHresult(error.code()));
  } catch (const std::exception& error) {
    return Failed(check, error.what());
  }
}
