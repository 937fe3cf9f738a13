#pragma once
// The one network entry point of the program, over WinHTTP. Every request of every thread goes
// through one process-wide lock, one session and one cached connection to the last host.
#include <string>

#include "net/http.h"

// The client's time-outs: connecting, sending the request, and receiving (each wait for data).
inline constexpr int kHttpConnectTimeoutMs = 10000;
inline constexpr int kHttpSendTimeoutMs = 10000;
inline constexpr int kHttpReceiveTimeoutMs = 120000;

// Sends one request and reads the whole response (cut after 8 MiB). Never throws for network
// problems: a transport failure gives status 0 and an error text. Matches HttpFn.
HttpResult HttpRequest(const std::wstring& method, const std::string& url, const std::string& body,
                       const std::string& bearerToken, const std::string& deviceHash);

// The same request with the body handed to `onPiece` as it arrives, on the calling thread. The
// blocking calls run on a helper thread, so the program's own clock ends an exchange that brings no
// status line, or no byte of the body, for `stallTimeoutMs` (WinHTTP's own receive time-out, set a
// little later, is only a backstop). The result then keeps its status and what arrived, with the error "response stalled"
// ("response cut off" when a read failed); the request handle is closed and the cached connection
// reset. The body limit holds over the whole response. Matches HttpStreamFn once the time-out and
// device hash are bound.
HttpResult HttpStreamRequest(const std::wstring& method, const std::string& url, const std::string& body,
                             const std::string& bearerToken, const std::string& deviceHash,
                             const HttpPieceFn& onPiece, int stallTimeoutMs = kHttpReceiveTimeoutMs);

// Closes the cached connection and session; the next request opens fresh ones.
void ResetHttpConnection();

// How many connection handles the client has opened so far (tests check the connection cache with it).
unsigned HttpConnectionsOpened();

// The largest response body HttpRequest returns; longer bodies are cut to this size.
inline constexpr size_t kMaxHttpBodyBytes = 8u * 1024u * 1024u;
