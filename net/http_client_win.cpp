#include "net/http_client_win.h"

#include <windows.h>
#include <winhttp.h>

#include <algorithm>
#include <mutex>

#include "core/utf.h"
#include "net/winhttp_handle_win.h"

namespace {

constexpr wchar_t kUserAgent[] = L"Tavisk/1.0";
constexpr int kConnectTimeoutMs = 10000;
constexpr int kSendTimeoutMs = 10000;
constexpr int kReceiveTimeoutMs = 120000;
constexpr DWORD kMaxReadChunk = 1024 * 1024;
constexpr char kRequestFailed[] = "request failed (offline? wrong url?)";

struct Target {
  std::wstring host;
  INTERNET_PORT port = 0;
  bool secure = false;
  std::wstring path;  // path plus query string

  bool SameServer(const Target& other) const {
    return host == other.host && port == other.port && secure == other.secure;
  }
};

// The process-wide client. Deliberately never destroyed: the handles live until the process ends.
struct Client {
  std::mutex lock;
  WinHttpHandle session;
  WinHttpHandle connection;
  Target connected;  // host, port and TLS flag of `connection`
  unsigned connectionsOpened = 0;

  void ResetLocked() {
    connection.reset();
    session.reset();
    connected = Target();
  }
};

Client& TheClient() {
  static Client* client = new Client();
  return *client;
}

bool CrackUrl(const std::wstring& url, Target& target) {
  URL_COMPONENTS parts = {};
  parts.dwStructSize = sizeof parts;
  parts.dwSchemeLength = static_cast<DWORD>(-1);
  parts.dwHostNameLength = static_cast<DWORD>(-1);
  parts.dwUserNameLength = static_cast<DWORD>(-1);
  parts.dwPasswordLength = static_cast<DWORD>(-1);
  parts.dwUrlPathLength = static_cast<DWORD>(-1);
  parts.dwExtraInfoLength = static_cast<DWORD>(-1);
  if (!WinHttpCrackUrl(url.c_str(), static_cast<DWORD>(url.size()), 0, &parts)) return false;
  if (!parts.lpszHostName || parts.dwHostNameLength == 0) return false;
  target.host.assign(parts.lpszHostName, parts.dwHostNameLength);
  target.secure = parts.nScheme == INTERNET_SCHEME_HTTPS;
  target.port = parts.nPort ? parts.nPort
                            : (target.secure ? INTERNET_DEFAULT_HTTPS_PORT : INTERNET_DEFAULT_HTTP_PORT);
  if (parts.lpszUrlPath) target.path.assign(parts.lpszUrlPath, parts.dwUrlPathLength);
  if (parts.lpszExtraInfo) target.path.append(parts.lpszExtraInfo, parts.dwExtraInfoLength);
  return true;
}

// A header value never carries a line break, so a value cannot add header lines of its own.
std::wstring HeaderValue(const std::string& utf8) {
  std::wstring value = Utf8ToWide(utf8);
  value.erase(std::remove_if(value.begin(), value.end(),
                             [](wchar_t c) { return c == L'\r' || c == L'\n' || c == L'\0'; }),
              value.end());
  return value;
}

std::wstring BuildHeaders(const std::string& bearerToken, const std::string& deviceHash) {
  std::wstring headers = L"Content-Type: application/json\r\n";
  if (!bearerToken.empty()) headers += L"Authorization: Bearer " + HeaderValue(bearerToken) + L"\r\n";
  if (!deviceHash.empty()) headers += L"X-Device-Hash: " + HeaderValue(deviceHash) + L"\r\n";
  return headers;
}

bool EnsureSession(Client& client) {
  if (client.session) return true;
  client.session.reset(WinHttpOpen(kUserAgent, WINHTTP_ACCESS_TYPE_DEFAULT_PROXY, WINHTTP_NO_PROXY_NAME,
                                   WINHTTP_NO_PROXY_BYPASS, 0));
  if (!client.session) return false;
  WinHttpSetTimeouts(client.session.get(), 0, kConnectTimeoutMs, kSendTimeoutMs, kReceiveTimeoutMs);
  return true;
}

bool EnsureConnection(Client& client, const Target& target) {
  if (client.connection && client.connected.SameServer(target)) return true;
  client.connection.reset();
  client.connected = Target();
  client.connection.reset(WinHttpConnect(client.session.get(), target.host.c_str(), target.port, 0));
  if (!client.connection) return false;
  ++client.connectionsOpened;
  client.connected = target;
  return true;
}

int ReadStatus(HINTERNET request) {
  DWORD status = 0;
  DWORD size = sizeof status;
  if (!WinHttpQueryHeaders(request, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                           WINHTTP_HEADER_NAME_BY_INDEX, &status, &size, WINHTTP_NO_HEADER_INDEX)) {
    return 0;
  }
  return static_cast<int>(status);
}

// Reads until the response ends, a read fails, or the body passes the size limit.
std::string ReadBody(HINTERNET request) {
  std::string body;
  for (;;) {
    DWORD available = 0;
    if (!WinHttpQueryDataAvailable(request, &available) || available == 0) break;
    const size_t before = body.size();
    body.resize(before + std::min(available, kMaxReadChunk));
    DWORD read = 0;
    const bool ok = WinHttpReadData(request, body.data() + before, static_cast<DWORD>(body.size() - before), &read);
    body.resize(before + (ok ? read : 0));
    if (!ok || read == 0) break;
    if (body.size() > kMaxHttpBodyBytes) {
      body.resize(kMaxHttpBodyBytes);
      break;
    }
  }
  return body;
}

enum class Attempt { Done, Retry, Stop };

// One attempt on the cached (or a new) session and connection. Fills `result`.
Attempt TryOnce(Client& client, const std::wstring& method, const Target& target, const std::wstring& headers,
                const std::string& body, HttpResult& result) {
  if (!EnsureSession(client)) {
    result.error = "WinHttpOpen failed";
    return Attempt::Stop;
  }
  if (!EnsureConnection(client, target)) {
    result.error = "connect failed";
    return Attempt::Stop;
  }
  WinHttpHandle request(WinHttpOpenRequest(client.connection.get(), method.c_str(),
                                           target.path.empty() ? nullptr : target.path.c_str(), nullptr,
                                           WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES,
                                           target.secure ? WINHTTP_FLAG_SECURE : 0));
  if (!request) {
    result.error = "open request failed";
    return Attempt::Retry;
  }
  const DWORD length = static_cast<DWORD>(body.size());
  void* data = body.empty() ? WINHTTP_NO_REQUEST_DATA : const_cast<char*>(body.data());
  if (!WinHttpSendRequest(request.get(), headers.c_str(), static_cast<DWORD>(-1), data, length, length, 0) ||
      !WinHttpReceiveResponse(request.get(), nullptr)) {
    result.error = kRequestFailed;
    return Attempt::Retry;
  }
  result.status = ReadStatus(request.get());
  result.error.clear();
  if (result.status == 0) {
    result.error = kRequestFailed;  // a response without a readable status line
    return Attempt::Stop;
  }
  result.body = ReadBody(request.get());
  return Attempt::Done;
}

}  // namespace

HttpResult HttpRequest(const std::wstring& method, const std::string& url, const std::string& body,
                       const std::string& bearerToken, const std::string& deviceHash) {
  Client& client = TheClient();
  std::lock_guard<std::mutex> guard(client.lock);
  HttpResult result;
  Target target;
  if (!CrackUrl(Utf8ToWide(url), target)) {
    result.error = "bad url '" + url + "'";
    return result;
  }
  const std::wstring headers = BuildHeaders(bearerToken, deviceHash);
  for (int attempt = 0; attempt < 2; ++attempt) {
    const Attempt outcome = TryOnce(client, method, target, headers, body, result);
    if (outcome != Attempt::Retry) return result;
    client.ResetLocked();
  }
  return result;
}

void ResetHttpConnection() {
  Client& client = TheClient();
  std::lock_guard<std::mutex> guard(client.lock);
  client.ResetLocked();
}

unsigned HttpConnectionsOpened() {
  Client& client = TheClient();
  std::lock_guard<std::mutex> guard(client.lock);
  return client.connectionsOpened;
}
