#pragma once
// Builds the event stream an endpoint sends for an assistant text, cut at random places the way
// tokens and network reads cut it, with the noise real endpoints add (keep-alive comments, role
// and reasoning deltas, tool calls, text parts, CR LF line ends).
#include <cstddef>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "net/json.h"

namespace chat_stream_fixture {

inline std::string Event(const std::string& json, bool crlf) {
  const char* end = crlf ? "\r\n" : "\n";
  return "data: " + json + end + end;
}

inline std::string ContentDelta(const std::string& piece, bool asParts) {
  const std::string content =
      asParts ? "[{\"type\":\"text\",\"text\":" + JsonQuote(piece) + "}]" : JsonQuote(piece);
  return "{\"id\":\"c1\",\"choices\":[{\"index\":0,\"delta\":{\"content\":" + content + "},\"finish_reason\":null}]}";
}

// The body of a streamed reply carrying `text`, in deltas of 1 to `maxDelta` bytes.
inline std::string StreamBody(std::string_view text, std::mt19937& random, size_t maxDelta = 8) {
  const bool crlf = random() % 4 == 0;
  std::string body = ": keep-alive\n\n";
  body += Event(R"({"choices":[{"index":0,"delta":{"role":"assistant","content":""}}]})", crlf);
  for (size_t at = 0; at < text.size();) {
    const size_t length = 1 + random() % maxDelta;
    const std::string piece(text.substr(at, length));
    at += piece.size();
    switch (random() % 12) {
      case 0: body += ":\n"; break;
      case 1: body += Event(R"({"choices":[{"delta":{"reasoning_content":"thinking \"hard\""}}]})", crlf); break;
      case 2: body += Event(R"({"choices":[{"delta":{"tool_calls":[{"index":0}]}}]})", crlf); break;
      case 3: body += "event: message\nid: 7\n"; break;
      default: break;
    }
    body += Event(ContentDelta(piece, random() % 5 == 0), crlf);
  }
  body += Event(R"({"choices":[{"index":0,"delta":{},"finish_reason":"stop"}]})", crlf);
  body += Event("[DONE]", crlf);
  return body;
}

// `bytes` cut into reads of 1 to `maxRead` bytes.
inline std::vector<std::string> Reads(std::string_view bytes, std::mt19937& random, size_t maxRead = 40) {
  std::vector<std::string> reads;
  for (size_t at = 0; at < bytes.size();) {
    const size_t length = 1 + random() % maxRead;
    reads.emplace_back(bytes.substr(at, length));
    at += reads.back().size();
  }
  return reads;
}

}  // namespace chat_stream_fixture
