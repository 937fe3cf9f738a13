// Arbitrary model and endpoint output through the chat extraction, the reply parser, the option
// reader and the snip-rectangle reader: no crash, no undefined behaviour, and every result within
// its documented range.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/utf.h"
#include "tutor/chat_request.h"
#include "tutor/reply_parse.h"
#include "tutor/solve_query.h"

namespace {

void CheckReply(const TutorReply& reply) {
  if (reply.option < -1 || reply.option > 3) std::abort();
  if (reply.status == TutorReply::Error && (reply.text.empty() || reply.option != -1)) std::abort();
  if (reply.status == TutorReply::NoQuestion && !reply.text.empty()) std::abort();
}

void CheckText(const std::string& text) {
  for (QueryKind kind : {QueryKind::Scan, QueryKind::VisionScan, QueryKind::Snip, QueryKind::Ask})
    CheckReply(ParseTutorReply(text, kind));
  for (bool allowBare : {false, true}) {
    const int index = OptionIndex(text, allowBare);
    if (index < -1 || index > 3) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  CheckText(bytes);
  std::string content;
  if (ExtractChatContent(bytes, content)) CheckText(content);

  const std::wstring wide = Utf8ToWide(bytes);
  if (const std::optional<PixelRect> rect = ParseSnipRect(wide)) {
    if (rect->left >= rect->right || rect->top >= rect->bottom) std::abort();
  }
  std::size_t units = 0;
  const std::wstring cut = CutToUtf16Units(wide, 7, units);
  if (units > 7 || cut.size() > wide.size() || wide.compare(0, cut.size(), cut) != 0) std::abort();
  return 0;
}
