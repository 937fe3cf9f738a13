#include "net/http_client_win.h"

#include <windows.h>
#include <winhttp.h>

#include <algorithm>
#include <chrono>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>

#include "core/utf.h"
#include "net/http_stream_pipe_win.h"
#include "net/winhttp_handle_win.h"

namespace {

constexpr wchar_t kUserAgent[] = L"Tavisk/1.0";
constexpr char kRequestFailed[] = "request failed (offline? wrong url?)";
constexpr char kStalled[] = "response stalled";
constexpr char kCutOff[] = "response cut off";
constexpr int kStallBackstopMs = 5000;

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
  WinHttpSetTimeouts(client.session.get(), 0, kHttpConnectTimeoutMs, kHttpSendTimeoutMs, kHttpReceiveTimeoutMs);
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

// Reads until the response ends, a read fails, or the body passes the size limit.
std::string ReadBody(HINTERNET request) {
  std::string body;
  for (;;) {
    DWORD available = 0;
    if (!WinHttpQueryDataAvailable(request, &available) || available == 0) break;
    const size_t before = body.size();
    body.resize(before + std::min(available, kMaxHttpReadChunk));
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

// A request handle on the cached (or a new) session and connection; null when the attempt ended,
// with its error in `result` and how it ended in `outcome`.
WinHttpHandle OpenRequest(Client& client, const std::wstring& method, const Target& target, HttpResult& result,
                          Attempt& outcome) {
  outcome = Attempt::Stop;
  if (!EnsureSession(client)) {
    result.error = "WinHttpOpen failed";
    return {};
  }
  if (!EnsureConnection(client, target)) {
    result.error = "connect failed";
    return {};
  }
  WinHttpHandle request(WinHttpOpenRequest(client.connection.get(), method.c_str(),
                                           target.path.empty() ? nullptr : target.path.c_str(), nullptr,
                                           WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES,
                                           target.secure ? WINHTTP_FLAG_SECURE : 0));
  if (!request) {
    result.error = "open request failed";
    outcome = Attempt::Retry;
  }
  return request;
}

// One attempt on the cached (or a new) session and connection. Fills `result`.
Attempt TryOnce(Client& client, const std::wstring& method, const Target& target, const std::wstring& headers,
                const std::string& body, HttpResult& result) {
  Attempt outcome;
  WinHttpHandle request = OpenRequest(client, method, target, result, outcome);
  if (!request) return outcome;
  const DWORD length = static_cast<DWORD>(body.size());
  void* data = body.empty() ? WINHTTP_NO_REQUEST_DATA : const_cast<char*>(body.data());
  if (!WinHttpSendRequest(request.get(), headers.c_str(), static_cast<DWORD>(-1), data, length, length, 0) ||
      !WinHttpReceiveResponse(request.get(), nullptr)) {
    result.error = kRequestFailed;
    return Attempt::Retry;
  }
  result.status = ResponseStatus(request.get());
  result.error.clear();
  if (result.status == 0) {
    result.error = kRequestFailed;  // a response without a readable status line
    return Attempt::Stop;
  }
  result.body = ReadBody(request.get());
  return Attempt::Done;
}

// Appends what fits under the body limit and hands it on; false once the limit is reached.
bool TakePiece(std::string& piece, HttpResult& result, const HttpPieceFn& onPiece) {
  const size_t room = kMaxHttpBodyBytes - result.body.size();
  if (piece.size() > room) piece.resize(room);
  result.body += piece;
  if (!piece.empty()) onPiece(result.status, piece);
  return result.body.size() < kMaxHttpBodyBytes;
}

// Reads the body of a streamed response piece by piece until it ends, fails, stalls or fills the
// limit (which, as for a whole body, is no error).
void ReadPieces(StreamedResponse& response, std::chrono::milliseconds stall, HttpResult& result,
                const HttpPieceFn& onPiece) {
  std::deque<std::string> pieces;
  for (;;) {
    const StreamedResponse::Step step = response.WaitForPieces(stall, pieces);
    if (step == StreamedResponse::Step::Ended) return;
    if (step != StreamedResponse::Step::Pieces) {
      result.error = step == StreamedResponse::Step::Stalled ? kStalled : kCutOff;
      return;
    }
    for (std::string& piece : pieces) {
      if (!TakePiece(piece, result, onPiece)) return;
    }
  }
}

// One attempt whose response body is handed over as it arrives. Whatever ends a response part way
// also resets the client: its connection may still be busy with the unread rest.
Attempt TryOnceStreamed(Client& client, const std::wstring& method, const Target& target,
                        const std::wstring& headers, const std::string& body, HttpResult& result,
                        const HttpPieceFn& onPiece, int stallTimeoutMs) {
  Attempt outcome;
  WinHttpHandle request = OpenRequest(client, method, target, result, outcome);
  if (!request) return outcome;
  // The program's clock ends a stall; WinHTTP's own receive time-out (which Wine applies to body
  // reads only) stays a backstop a little later, so a stall always ends the same way.
  WinHttpSetTimeouts(request.get(), 0, kHttpConnectTimeoutMs, kHttpSendTimeoutMs,
                     stallTimeoutMs + kStallBackstopMs);
  const std::shared_ptr<StreamedResponse> response = StreamedResponse::Start(request.release(), headers, body);
  if (!response) {
    result.error = kRequestFailed;
    return Attempt::Stop;
  }
  // However this attempt ends (a piece's receiver may throw), the handle is closed.
  const std::unique_ptr<StreamedResponse, void (*)(StreamedResponse*)> closer(response.get(),
                                                                             [](StreamedResponse* r) { r->Close(); });
  const std::chrono::milliseconds stall(stallTimeoutMs);
  int status = 0;
  const StreamedResponse::Head head = response->WaitForHead(stall, status);
  if (head != StreamedResponse::Head::Arrived || status == 0) {
    result.error = head == StreamedResponse::Head::Stalled ? kStalled : kRequestFailed;
    if (head == StreamedResponse::Head::Failed) return Attempt::Retry;
    client.ResetLocked();
    return Attempt::Stop;
  }
  result.status = status;
  result.error.clear();
  ReadPieces(*response, stall, result, onPiece);
  if (!result.error.empty() || result.body.size() >= kMaxHttpBodyBytes) client.ResetLocked();
  return Attempt::Done;
}

using AttemptFn = std::function<Attempt(Client& client, const Target& target, const std::wstring& headers,
                                        HttpResult& result)>;

// Under the client lock: splits the URL, then makes up to two attempts, the second on fresh handles.
HttpResult Exchange(const std::string& url, const std::string& bearerToken, const std::string& deviceHash,
                    const AttemptFn& attempt) {
  Client& client = TheClient();
  std::lock_guard<std::mutex> guard(client.lock);
  HttpResult result;
  Target target;
  if (!CrackUrl(Utf8ToWide(url), target)) {
    result.error = "bad url '" + url + "'";
    return result;
  }
  const std::wstring headers = BuildHeaders(bearerToken, deviceHash);
  for (int round = 0; round < 2; ++round) {
    if (attempt(client, target, headers, result) != Attempt::Retry) return result;
    client.ResetLocked();
  }
  return result;
}

}  // namespace

HttpResult HttpRequest(const std::wstring& method, const std::string& url, const std::string& body,
                       const std::string& bearerToken, const std::string& deviceHash) {
  return Exchange(url, bearerToken, deviceHash,
                  [&](Client& client, const Target& target, const std::wstring& headers, HttpResult& result) {
                    return TryOnce(client, method, target, headers, body, result);
                  });
}

HttpResult HttpStreamRequest(const std::wstring& method, const std::string& url, const std::string& body,
                             const std::string& bearerToken, const std::string& deviceHash,
                             const HttpPieceFn& onPiece, int stallTimeoutMs) {
  return Exchange(url, bearerToken, deviceHash,
                  [&](Client& client, const Target& target, const std::wstring& headers, HttpResult& result) {
                    return TryOnceStreamed(client, method, target, headers, body, result, onPiece, stallTimeoutMs);
                  });
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
