#pragma once
// What every request to the hosted tutor service needs besides the configuration: the network,
// the signed-in session and this machine's identity. Portable code takes it as a value, so tests
// can script the network and keep the session in memory; the program binds the real services.
#include <functional>
#include <string>

#include "net/http.h"

class SessionStore;

struct HostedContext {
  HttpFn http;
  SessionStore* session = nullptr;
  std::function<std::string()> deviceHash;
  std::function<std::string()> deviceLabel;
};

// The service's base URL with every trailing '/' removed, followed by `path` ("/v1/...").
std::string HostedUrl(const std::string& baseUrl, const std::string& path);

// Windows: the WinHTTP client, the process-wide session store and this machine's identity.
HostedContext SystemHostedContext();
