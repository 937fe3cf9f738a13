// Arbitrary bytes as a streamed chat body, cut into reads where the input says: the event reader
// and the partial-reply reader never crash, the text only ever grows, and how the body is cut
// never changes what it carries.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "tutor/chat_stream.h"
#include "tutor/partial_reply.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::size_t step = 1 + data[0] % 17;
  const std::string_view body(reinterpret_cast<const char*>(data) + 1, size - 1);

  ChatStreamReader whole;
  whole.Feed(body);
  const ChatStreamReader::End wholeEnd = whole.Finish();

  ChatStreamReader pieces;
  std::string before;
  for (std::size_t at = 0; at < body.size(); at += step) {
    pieces.Feed(body.substr(at, step));
    if (pieces.Text().compare(0, before.size(), before) != 0) std::abort();  // text only grows
    before = pieces.Text();
    ReadPartialReply(pieces.Text());
  }
  if (pieces.Finish() != wholeEnd || pieces.Text() != whole.Text()) std::abort();
  if (pieces.LiveText() != pieces.Text()) std::abort();  // once it ends, nothing is left pending
  ReadPartialReply(body);
  return 0;
}
