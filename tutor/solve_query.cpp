#include "tutor/solve_query.h"

#include <climits>
#include <cwchar>
#include <cstdint>

#include "core/log.h"
#include "core/utf.h"
#include "screen/capture.h"
#include "tutor/chat_solve.h"

namespace {

const wchar_t* const kCaptureFailed = L"Couldn't capture the screen. Try scanning again.";

// What a kind sends: the raw query text for the hosted service, the prompt for the chat model,
// and an image data URL (empty for text queries).
struct QueryInput {
  std::string text;
  std::string prompt;
  std::string image;
};

// Either the input of a query or the reply that ends it early.
struct Prepared {
  std::optional<QueryInput> input;
  TutorReply early;
};

Prepared Finish(TutorReply reply) { return {std::nullopt, std::move(reply)}; }
Prepared Ready(QueryInput input) { return {std::move(input), {}}; }

TutorReply StatusReply(TutorReply::Status status) {
  TutorReply reply;
  reply.status = status;
  return reply;
}

bool IsBlankScreenText(const std::wstring& text) {
  return text.find_first_not_of(L" \r\n\t") == std::wstring::npos;
}

bool IsHighSurrogateUnit(wchar_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }

// UTF-16 code units of one wide character: a character above U+FFFF takes two where wchar_t
// holds whole code points; where it holds UTF-16 every element is one unit.
std::size_t Utf16Units(wchar_t c) {
#if WCHAR_MAX > 0xFFFF
  return static_cast<std::uint32_t>(c) > 0xFFFF ? 2 : 1;
#else
  (void)c;
  return 1;
#endif
}

std::size_t CountUtf16Units(const std::wstring& text) {
  std::size_t units = 0;
  for (wchar_t c : text) units += Utf16Units(c);
  return units;
}

// Runs a platform step that throws on failure (OCR, JPEG encoding); nothing on a throw, which is
// logged with what it said.
template <typename Step>
auto Attempt(const char* what, Step&& step) -> std::optional<decltype(step())> {
  try {
    return step();
  } catch (...) {
    LogCaughtException(what);
    return std::nullopt;
  }
}

Prepared PrepareScan(const QueryPlatform& platform) {
  const ScreenImage image = platform.captureScreen(0);
  if (!IsUsable(image)) return Finish(TutorReply::MakeError(kCaptureFailed));
  const std::optional<std::wstring> text = Attempt("screen text not read", [&] { return platform.recognizeText(image); });
  if (!text)
    return Finish(TutorReply::MakeError(L"Couldn't read the screen. Check your Windows OCR language or use Ask."));
  if (IsBlankScreenText(*text)) return Finish(StatusReply(TutorReply::NoQuestion));
  std::size_t units = 0;
  const std::string queryText = WideToUtf8(CutToUtf16Units(*text, kMaxScanTextUnits, units));
  VykLog("[vyk] scanned %zu characters\n", units);
  return Ready({queryText, "Screen text (OCR):\n" + queryText, {}});
}

// Encodes a captured image into its data URL; nothing when encoding failed or gave nothing.
std::optional<std::string> EncodeImage(const QueryPlatform& platform, ScreenImage& image) {
  std::optional<std::string> dataUrl = Attempt("image not encoded", [&] { return platform.encodeImage(image); });
  if (dataUrl && dataUrl->empty()) return std::nullopt;
  return dataUrl;
}

Prepared PrepareVisionScan(const QueryPlatform& platform) {
  ScreenImage image = platform.captureScreen(kVisionMaxSide);
  if (!IsUsable(image)) return Finish(TutorReply::MakeError(kCaptureFailed));
  std::optional<std::string> dataUrl = EncodeImage(platform, image);
  if (!dataUrl) return Finish(TutorReply::MakeError(L"Couldn't encode the screen image. Try again."));
  VykLog("[vyk] vision-scanned %dx%d (%zu KB base64)\n", image.width, image.height, dataUrl->size() / 1024);
  return Ready({{}, "Solve only the topmost question shown on this screen.", std::move(*dataUrl)});
}

Prepared PrepareSnip(const QueryPlatform& platform, const std::wstring& text) {
  const std::optional<PixelRect> rect = ParseSnipRect(text);
  if (!rect) return Finish(TutorReply::MakeError(L"Invalid snip region. Try snipping again."));
  ScreenImage image =
      platform.captureRect(rect->left, rect->top, rect->Width(), rect->Height(), kSnipMaxSide);
  if (!IsUsable(image)) return Finish(TutorReply::MakeError(L"Couldn't capture the snipped area. Try again."));
  std::optional<std::string> dataUrl = EncodeImage(platform, image);
  if (!dataUrl) return Finish(TutorReply::MakeError(L"Couldn't encode the snipped image. Try again."));
  VykLog("[vyk] snipped %dx%d (%zu KB base64)\n", image.width, image.height, dataUrl->size() / 1024);
  return Ready({{}, "Solve the question shown in this screen snip.", std::move(*dataUrl)});
}

Prepared PrepareAsk(const std::wstring& text) {
  std::string question = WideToUtf8(text);
  return Ready({question, "Question:\n" + question, {}});
}

Prepared PrepareInput(const QueryPlatform& platform, QueryKind kind, const std::wstring& text) {
  switch (kind) {
    case QueryKind::Scan: return PrepareScan(platform);
    case QueryKind::VisionScan: return PrepareVisionScan(platform);
    case QueryKind::Snip: return PrepareSnip(platform, text);
    default: return PrepareAsk(text);
  }
}

// The hands-free check: is there a question on the screen? No tutor is contacted.
TutorReply CheckForQuestion(const QueryPlatform& platform) {
  const ScreenImage image = platform.captureScreen(0);
  if (!IsUsable(image)) return StatusReply(TutorReply::NoQuestion);
  const std::optional<bool> found =
      Attempt("question check failed", [&] { return platform.looksLikeQuestion(platform.recognizeText(image)); });
  return StatusReply(found.value_or(false) ? TutorReply::Answer : TutorReply::NoQuestion);
}

// Reads one "%d" the way the C scanner does: leading blanks, an optional sign, at least one digit.
// Values outside 32 bits are refused instead of wrapping.
bool ReadInt(std::wstring_view text, std::size_t& pos, int& value) {
  while (pos < text.size() && (text[pos] == L' ' || (text[pos] >= L'\t' && text[pos] <= L'\r'))) ++pos;
  bool negative = false;
  if (pos < text.size() && (text[pos] == L'+' || text[pos] == L'-')) negative = text[pos++] == L'-';
  const std::size_t digitsStart = pos;
  std::int64_t magnitude = 0;
  for (; pos < text.size() && text[pos] >= L'0' && text[pos] <= L'9'; ++pos) {
    magnitude = magnitude * 10 + (text[pos] - L'0');
    if (magnitude > std::int64_t(INT_MAX) + 1) return false;
  }
  if (pos == digitsStart) return false;
  const std::int64_t signedValue = negative ? -magnitude : magnitude;
  if (signedValue > INT_MAX) return false;
  value = static_cast<int>(signedValue);
  return true;
}

}  // namespace

std::wstring CutToUtf16Units(const std::wstring& text, std::size_t maxUnits, std::size_t& keptUnits) {
  keptUnits = CountUtf16Units(text);
  if (keptUnits <= maxUnits) return text;
  keptUnits = 0;
  std::size_t kept = 0;
  for (; kept < text.size(); ++kept) {
    const std::size_t units = Utf16Units(text[kept]);
    if (keptUnits + units > maxUnits) break;
    // Where wchar_t is UTF-16, a high surrogate in the last place would lose its partner.
    if (keptUnits + 1 == maxUnits && IsHighSurrogateUnit(text[kept])) break;
    keptUnits += units;
  }
  return text.substr(0, kept);
}

std::optional<PixelRect> ParseSnipRect(std::wstring_view text) {
  int numbers[4] = {};
  std::size_t pos = 0;
  for (int i = 0; i < 4; ++i) {
    if (i > 0 && (pos >= text.size() || text[pos++] != L',')) return std::nullopt;
    if (!ReadInt(text, pos, numbers[i])) return std::nullopt;
  }
  const PixelRect rect{numbers[0], numbers[1], numbers[2], numbers[3]};
  if (rect.left >= rect.right || rect.top >= rect.bottom) return std::nullopt;
  if (std::int64_t(rect.right) - rect.left > INT_MAX || std::int64_t(rect.bottom) - rect.top > INT_MAX)
    return std::nullopt;
  return rect;
}

TutorReply SolveQueryWith(const TutorConfig& config, const QueryPlatform& platform, QueryKind kind,
                          QueryQuality quality, const std::wstring& text, const LiveTextFn& live) {
  if (kind == QueryKind::QuestionCheck) return CheckForQuestion(platform);
  Prepared prepared = PrepareInput(platform, kind, text);
  if (!prepared.input) return std::move(prepared.early);
  const QueryInput& input = *prepared.input;
  if (config.hosted) return platform.hostedSolve(kind, quality, input.text, input.image);
  const ChatStreaming streaming{platform.httpStream, live};
  const bool streams = live && platform.httpStream;
  return SolveWithChat(config, platform.http, platform.chatShapes, kind, quality, input.prompt, input.image,
                       streams ? &streaming : nullptr);
}
