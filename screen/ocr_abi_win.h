#pragma once
// The few Windows Runtime interfaces the OCR adapter calls, declared by hand because the MinGW
// headers have none of them. Interface IDs and method order are those of the published platform
// metadata (Windows.Media.Ocr, Windows.Graphics.Imaging, Windows.Storage.Streams); the IDs of the
// two parameterised interfaces were derived from their signatures with the runtime's algorithm.
// Methods this program never calls are kept as placeholders, only to hold their vtable slots.
#include <windows.h>
#include <inspectable.h>

namespace ocrabi {

// {5BFFA85A-3384-3540-9940-699120D428A8}
inline constexpr GUID kIidOcrEngineStatics = {0x5bffa85a, 0x3384, 0x3540, {0x99, 0x40, 0x69, 0x91, 0x20, 0xd4, 0x28, 0xa8}};
// {DF0385DB-672F-4A9D-806E-C2442F343E86}
inline constexpr GUID kIidSoftwareBitmapStatics = {0xdf0385db, 0x672f, 0x4a9d, {0x80, 0x6e, 0xc2, 0x44, 0x2f, 0x34, 0x3e, 0x86}};
// {64B89265-D341-4922-B38A-DD4AF8808C4E}
inline constexpr GUID kIidDataWriter = {0x64b89265, 0xd341, 0x4922, {0xb3, 0x8a, 0xdd, 0x4a, 0xf8, 0x80, 0x8c, 0x4e}};
// {00000036-0000-0000-C000-000000000046}
inline constexpr GUID kIidAsyncInfo = {0x00000036, 0x0000, 0x0000, {0xc0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
// IAsyncOperationCompletedHandler<OcrResult>: {989C1371-444A-5E7E-B197-9EAAF9D2829A}
inline constexpr GUID kIidOcrResultCompletedHandler = {0x989c1371, 0x444a, 0x5e7e, {0xb1, 0x97, 0x9e, 0xaa, 0xf9, 0xd2, 0x82, 0x9a}};
// IAgileObject: {94EA2B94-E9CC-49E0-C0FF-EE64CA8F5B90}
inline constexpr GUID kIidAgileObject = {0x94ea2b94, 0xe9cc, 0x49e0, {0xc0, 0xff, 0xee, 0x64, 0xca, 0x8f, 0x5b, 0x90}};

inline constexpr INT32 kBitmapPixelFormatBgra8 = 87;

enum AsyncStatus : INT32 { AsyncStarted = 0, AsyncCompleted = 1, AsyncCanceled = 2, AsyncError = 3 };

struct IOcrEngine;
struct IOcrResult;
struct IOcrLine;
struct IOcrResultOperation;

// Windows.Foundation.IAsyncInfo
struct IAsyncInfo : IInspectable {
  virtual HRESULT STDMETHODCALLTYPE get_Id(UINT32* id) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Status(AsyncStatus* status) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_ErrorCode(HRESULT* errorCode) = 0;
  virtual HRESULT STDMETHODCALLTYPE Cancel() = 0;
  virtual HRESULT STDMETHODCALLTYPE Close() = 0;
};

// IAsyncOperationCompletedHandler<OcrResult>
struct IOcrResultCompletedHandler : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Invoke(IOcrResultOperation* operation, AsyncStatus status) = 0;
};

// IAsyncOperation<OcrResult>
struct IOcrResultOperation : IInspectable {
  virtual HRESULT STDMETHODCALLTYPE put_Completed(IOcrResultCompletedHandler* handler) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Completed(IOcrResultCompletedHandler** handler) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetResults(IOcrResult** results) = 0;
};

// Windows.Media.Ocr.IOcrEngineStatics
struct IOcrEngineStatics : IInspectable {
  virtual HRESULT STDMETHODCALLTYPE get_MaxImageDimension(UINT32* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_AvailableRecognizerLanguages(IInspectable** value) = 0;
  virtual HRESULT STDMETHODCALLTYPE IsLanguageSupported(IInspectable* language, boolean* result) = 0;
  virtual HRESULT STDMETHODCALLTYPE TryCreateFromLanguage(IInspectable* language, IOcrEngine** engine) = 0;
  virtual HRESULT STDMETHODCALLTYPE TryCreateFromUserProfileLanguages(IOcrEngine** engine) = 0;
};

// Windows.Media.Ocr.IOcrEngine
struct IOcrEngine : IInspectable {
  virtual HRESULT STDMETHODCALLTYPE RecognizeAsync(IInspectable* softwareBitmap, IOcrResultOperation** operation) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_RecognizerLanguage(IInspectable** language) = 0;
};

// IVectorView<OcrLine>
struct IOcrLineVector : IInspectable {
  virtual HRESULT STDMETHODCALLTYPE GetAt(UINT32 index, IOcrLine** line) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Size(UINT32* size) = 0;
  virtual HRESULT STDMETHODCALLTYPE IndexOf(IOcrLine* line, UINT32* index, boolean* found) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetMany(UINT32 start, UINT32 capacity, IOcrLine** lines, UINT32* actual) = 0;
};

// Windows.Media.Ocr.IOcrResult
struct IOcrResult : IInspectable {
  virtual HRESULT STDMETHODCALLTYPE get_Lines(IOcrLineVector** lines) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_TextAngle(IInspectable** angle) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Text(HSTRING* text) = 0;
};

// Windows.Media.Ocr.IOcrLine
struct IOcrLine : IInspectable {
  virtual HRESULT STDMETHODCALLTYPE get_Words(IInspectable** words) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Text(HSTRING* text) = 0;
};

// Windows.Graphics.Imaging.ISoftwareBitmapStatics
struct ISoftwareBitmapStatics : IInspectable {
  virtual HRESULT STDMETHODCALLTYPE Copy() = 0;              // placeholder
  virtual HRESULT STDMETHODCALLTYPE Convert() = 0;           // placeholder
  virtual HRESULT STDMETHODCALLTYPE ConvertWithAlpha() = 0;  // placeholder
  virtual HRESULT STDMETHODCALLTYPE CreateCopyFromBuffer(IInspectable* buffer, INT32 format, INT32 width,
                                                         INT32 height, IInspectable** bitmap) = 0;
};

// Windows.Storage.Streams.IDataWriter
struct IDataWriter : IInspectable {
  virtual HRESULT STDMETHODCALLTYPE get_UnstoredBufferLength() = 0;  // placeholder
  virtual HRESULT STDMETHODCALLTYPE get_UnicodeEncoding() = 0;       // placeholder
  virtual HRESULT STDMETHODCALLTYPE put_UnicodeEncoding() = 0;       // placeholder
  virtual HRESULT STDMETHODCALLTYPE get_ByteOrder() = 0;             // placeholder
  virtual HRESULT STDMETHODCALLTYPE put_ByteOrder() = 0;             // placeholder
  virtual HRESULT STDMETHODCALLTYPE WriteByte() = 0;                 // placeholder
  virtual HRESULT STDMETHODCALLTYPE WriteBytes(UINT32 size, BYTE* bytes) = 0;
  virtual HRESULT STDMETHODCALLTYPE WriteBuffer() = 0;       // placeholder
  virtual HRESULT STDMETHODCALLTYPE WriteBufferRange() = 0;  // placeholder
  virtual HRESULT STDMETHODCALLTYPE WriteBoolean() = 0;      // placeholder
  virtual HRESULT STDMETHODCALLTYPE WriteGuid() = 0;         // placeholder
  virtual HRESULT STDMETHODCALLTYPE WriteInt16() = 0;        // placeholder
  virtual HRESULT STDMETHODCALLTYPE WriteInt32() = 0;        // placeholder
  virtual HRESULT STDMETHODCALLTYPE WriteInt64() = 0;        // placeholder
  virtual HRESULT STDMETHODCALLTYPE WriteUInt16() = 0;       // placeholder
  virtual HRESULT STDMETHODCALLTYPE WriteUInt32() = 0;       // placeholder
  virtual HRESULT STDMETHODCALLTYPE WriteUInt64() = 0;       // placeholder
  virtual HRESULT STDMETHODCALLTYPE WriteSingle() = 0;       // placeholder
  virtual HRESULT STDMETHODCALLTYPE WriteDouble() = 0;       // placeholder
  virtual HRESULT STDMETHODCALLTYPE WriteDateTime() = 0;     // placeholder
  virtual HRESULT STDMETHODCALLTYPE WriteTimeSpan() = 0;     // placeholder
  virtual HRESULT STDMETHODCALLTYPE WriteString() = 0;       // placeholder
  virtual HRESULT STDMETHODCALLTYPE MeasureString() = 0;     // placeholder
  virtual HRESULT STDMETHODCALLTYPE StoreAsync() = 0;        // placeholder
  virtual HRESULT STDMETHODCALLTYPE FlushAsync() = 0;        // placeholder
  virtual HRESULT STDMETHODCALLTYPE DetachBuffer(IInspectable** buffer) = 0;
  virtual HRESULT STDMETHODCALLTYPE DetachStream() = 0;      // placeholder
};

}  // namespace ocrabi
