#pragma once
// The one network entry point of the program, over WinHTTP. Every request of every thread goes
// through one process-wide lock, one session and one cached connection to the last host.
#include <string>

#include "net/http.h"

// Sends one request and reads the whole response (cut after 8 MiB). Never throws for network
// problems: a transport failure gives status 0 and an error text. Matches HttpFn.
HttpResult HttpRequest(const std::wstring& method, const std::string& url, const std::string& body,
                       const std::string& bearerToken, const std::string& deviceHash);

// Closes the cached connection and session; the next request opens fresh ones.
void ResetHttpConnection();

// How many connection handles the client has opened so far (tests check the connection cache with it).
unsigned HttpConnectionsOpened();

// The largest response body HttpRequest returns; longer bodies are cut to this size.
inline constexpr size_t kMaxHttpBodyBytes = 8u * 1024u * 1024u;
