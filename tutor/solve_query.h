#pragma once
// The worker-side body of one query: capture and read or encode the screen as the kind asks,
// then route the query to the hosted service or the chat-completions endpoint. Every outcome,
// failures included, is one TutorReply.
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/config.h"
#include "core/geometry.h"
#include "screen/screen_image.h"
#include "net/http.h"
#include "tutor/live_text.h"
#include "tutor/tutor_types.h"

class ChatShapeMemory;

// The pieces of a query that touch the platform, so the pipeline runs natively over fakes.
struct QueryPlatform {
  // The full screen area (primary monitor or every monitor, from the configuration), scaled to
  // at most maxSide on the longer side (0: full resolution). Empty on failure.
  std::function<ScreenImage(int maxSide)> captureScreen;
  // A desktop rectangle, scaled likewise. Empty on failure.
  std::function<ScreenImage(int left, int top, int width, int height, int maxSide)> captureRect;
  // The text of the image; throws when no recognition engine exists or the engine fails.
  std::function<std::wstring(const ScreenImage& image)> recognizeText;
  // The complete JPEG data URL, or empty; may throw. May modify the image's fourth bytes.
  std::function<std::string(ScreenImage& image)> encodeImage;
  // Whether recognised screen text looks like a study question.
  std::function<bool(const std::wstring& text)> looksLikeQuestion;
  // The chat-completions transport (local API-key mode), and the one that hands a streamed answer
  // over as it arrives.
  HttpFn http;
  HttpStreamFn httpStream;
  // What chat endpoints have refused, shared by the queries of a run; none: every query starts
  // with the full request.
  ChatShapeMemory* chatShapes = nullptr;
  // The hosted service's solve call (hosted mode).
  std::function<TutorReply(QueryKind kind, QueryQuality quality, const std::string& text, const std::string& image)>
      hostedSolve;
};

inline constexpr std::size_t kMaxScanTextUnits = 3000;

// Solves one query; `text` is the typed question (Ask), the snip rectangle "left,top,right,bottom"
// (Snip), or ignored. With `live`, a query in local API-key mode asks for its answer to stream in
// and hands the growing text to `live`; hosted queries never stream. Throws only what a platform
// piece throws outside the steps that catch.
TutorReply SolveQueryWith(const TutorConfig& config, const QueryPlatform& platform, QueryKind kind,
                          QueryQuality quality, const std::wstring& text, const LiveTextFn& live = {});

// `text` cut to at most `maxUnits` UTF-16 code units without splitting a surrogate pair; the
// number of UTF-16 code units kept goes to `keptUnits`.
std::wstring CutToUtf16Units(const std::wstring& text, std::size_t maxUnits, std::size_t& keptUnits);

// A snip rectangle in desktop pixels. Reads "left,top,right,bottom" (decimal, optional sign and leading blanks per number, text after
// the fourth number ignored). Nothing unless all four were read, left < right, top < bottom and
// both sides fit a 32-bit signed size.
std::optional<PixelRect> ParseSnipRect(std::wstring_view text);

// Windows: SolveQueryWith over the real capture, OCR, encoder, WinHTTP client and hosted service.
TutorReply SolveQuery(TutorConfig config, QueryKind kind, QueryQuality quality, std::wstring text,
                      const LiveTextFn& live = {});
