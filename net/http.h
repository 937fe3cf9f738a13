#pragma once
// The result of one HTTP exchange, and the shape of the function that performs it. Portable code
// takes an HttpFn, so tests can script the network; the program passes the WinHTTP client.
#include <functional>
#include <string>
#include <string_view>

struct HttpResult {
  int status = 0;      // HTTP status; 0 when no response was received
  std::string body;    // as received, possibly cut at the size limit
  std::string error;   // empty on a completed exchange, else a transport error text
};

using HttpFn = std::function<HttpResult(const std::wstring& method, const std::string& url,
                                        const std::string& body, const std::string& bearerToken,
                                        const std::string& deviceHash)>;

// Receives a response body piece by piece as it arrives, with the response's status. Called on
// the requesting thread, in order; the pieces joined are the body the result holds.
using HttpPieceFn = std::function<void(int status, std::string_view piece)>;

// A request whose body is handed over as it arrives. A body that ends part way (a failed read, or
// no byte for longer than the request's receive time-out) keeps its status and what arrived, with
// an error text. Matches HttpStreamRequest of the WinHTTP client.
using HttpStreamFn = std::function<HttpResult(const std::wstring& method, const std::string& url,
                                              const std::string& body, const std::string& bearerToken,
                                              const HttpPieceFn& onPiece)>;
