// The query pipeline bound to the real platform: GDI capture, the OCR engine, the JPEG encoder,
// the WinHTTP client and the hosted solve client.
#include <windows.h>
#include <objbase.h>

#include "screen/capture.h"
#include "screen/ocr.h"
#include "screen/vision_image.h"
#include "tutor/chat_shapes.h"
#include "tutor/hosted_solve.h"
#include "core/unique_handle_win.h"
#include "net/http_client_win.h"
#include "tutor/question_detect.h"
#include "tutor/solve_query.h"

namespace {

std::wstring RecognizeInApartment(const ScreenImage& image) {
  // The worker thread joins the multithreaded apartment for the platform step.
  ScopedApartment apartment(ScopedApartment::Kind::ComMultithreaded);
  return RecognizeScreenText(image);
}

std::string EncodeInApartment(ScreenImage& image) {
  ScopedApartment apartment(ScopedApartment::Kind::ComMultithreaded);
  return EncodeVisionImage(image);
}

QueryPlatform SystemQueryPlatform(const TutorConfig& config) {
  QueryPlatform platform;
  const bool allMonitors = config.allMonitors;
  platform.captureScreen = [allMonitors](int maxSide) { return CaptureFullScreen(allMonitors, maxSide); };
  platform.captureRect = CaptureScreenRect;
  platform.recognizeText = RecognizeInApartment;
  platform.encodeImage = EncodeInApartment;
  platform.looksLikeQuestion = [](const std::wstring& text) { return LooksLikeQuestion(text); };
  platform.http = HttpRequest;
  platform.httpStream = [](const std::wstring& method, const std::string& url, const std::string& body,
                           const std::string& bearerToken, const HttpPieceFn& onPiece) {
    return HttpStreamRequest(method, url, body, bearerToken, std::string(), onPiece);
  };
  platform.chatShapes = &ProcessChatShapes();
  platform.hostedSolve = [config](QueryKind kind, QueryQuality quality, const std::string& text,
                                  const std::string& image) { return HostedSolve(config, kind, quality, text, image); };
  return platform;
}

}  // namespace

TutorReply SolveQuery(TutorConfig config, QueryKind kind, QueryQuality quality, std::wstring text,
                      const LiveTextFn& live) {
  return SolveQueryWith(config, SystemQueryPlatform(config), kind, quality, text, live);
}
