#pragma once
// The result of one HTTP exchange, and the shape of the function that performs it. Portable code
// takes an HttpFn, so tests can script the network; the program passes the WinHTTP client.
#include <functional>
#include <string>

struct HttpResult {
  int status = 0;      // HTTP status; 0 when no response was received
  std::string body;    // as received, possibly cut at the size limit
  std::string error;   // empty on a completed exchange, else a transport error text
};

using HttpFn = std::function<HttpResult(const std::wstring& method, const std::string& url,
                                        const std::string& body, const std::string& bearerToken,
                                        const std::string& deviceHash)>;
