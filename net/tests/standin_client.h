#pragma once
// Test-side client of the local stand-in service (tools/standin.py): where it listens, scripting its
// replies and reading back the requests it saw. Uses its own WinHTTP session for every control call,
// so it never touches the program's cached connection.
#include <windows.h>
#include <winhttp.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "core/environment_win.h"
#include "core/utf.h"
#include "net/json.h"
#include "net/winhttp_handle_win.h"

namespace standin {

// One request as the stand-in received it.
struct Request {
  std::string method;
  std::string path;  // with the query string
  std::vector<std::pair<std::string, std::string>> headers;
  std::string body;  // exact bytes
  int connection = 0;  // the same number for requests on one TCP connection
  double receivedMs = 0;  // when the stand-in read the request, on its own monotonic clock
  double answeredMs = -1;  // when it finished answering; -1 while it has not
  double firstContentMs = -1;  // when a stream wrote its first token; -1 when none has

  // The first header of that name (case-insensitive), or nothing.
  const std::string* Header(const std::string& name) const {
    for (const auto& h : headers) {
      if (_stricmp(h.first.c_str(), name.c_str()) == 0) return &h.second;
    }
    return nullptr;
  }
};

// How the stand-in answers the next request(s) to `path` (without query; "*" for any path).
struct Script {
  std::string path;
  int status = 200;
  std::string body;
  std::vector<std::pair<std::string, std::string>> headers;
  int delayMs = 0;
  std::string action = "reply";  // "reply", "drop" (close without answering) or "huge"
  long long hugeBytes = 0;
  int count = 1;  // how many requests it answers; -1 for all
  std::string moreJson;  // further members for the script object, e.g. "\"chunk_bytes\":3"
};

// Common scripts.
inline Script Reply(std::string path, int status, std::string body, int count = 1) {
  Script s;
  s.path = std::move(path);
  s.status = status;
  s.body = std::move(body);
  s.count = count;
  return s;
}
inline Script Drop(std::string path, int count = 1) {
  Script s;
  s.path = std::move(path);
  s.action = "drop";
  s.count = count;
  return s;
}
// A chat-completions event stream carrying `content`; `more` adds stream fields (tools/standin.py).
inline Script Stream(std::string content, std::string more = "") {
  Script s;
  s.path = "*";
  s.action = "stream";
  s.moreJson = "\"content\":" + JsonQuote(content) + (more.empty() ? "" : "," + more);
  return s;
}
inline Script Huge(std::string path, long long bytes) {
  Script s;
  s.path = std::move(path);
  s.action = "huge";
  s.hugeBytes = bytes;
  return s;
}

inline std::string Base64Decode(const std::string& text) {
  auto value = [](char c) -> int {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    return -1;
  };
  std::string out;
  unsigned buffer = 0;
  int bits = 0;
  for (char c : text) {
    const int v = value(c);
    if (v < 0) continue;
    buffer = (buffer << 6) | static_cast<unsigned>(v);
    bits += 6;
    if (bits >= 8) {
      bits -= 8;
      out.push_back(static_cast<char>((buffer >> bits) & 0xFF));
    }
  }
  return out;
}

// The port from $VYK_STANDIN_STATE/port; a Unix path there is read through Wine's Z: drive.
inline int Port() {
  std::string dir;
  if (!ReadEnvironmentVariable("VYK_STANDIN_STATE", dir) || dir.empty()) return 0;
  if (dir[0] == '/') dir = "Z:" + dir;
  FILE* f = _wfopen(Utf8ToWide(dir + "/port").c_str(), L"rb");
  if (!f) return 0;
  int port = 0;
  if (std::fscanf(f, "%d", &port) != 1) port = 0;
  std::fclose(f);
  return port;
}

inline std::string Url(const std::string& host = "127.0.0.1") {
  return "http://" + host + ":" + std::to_string(Port());
}

// Control calls name the stand-in's address in a spelling of its own: WinHTTP pools idle sockets per
// host name across all sessions, and a control call must never take over a socket of the client
// under test.
constexpr wchar_t kControlHost[] = L"127.1";

// A plain exchange with the stand-in on a throw-away session; returns the body, or "" on failure.
inline std::string Control(const wchar_t* method, const std::wstring& path, const std::string& body = "") {
  WinHttpHandle session(WinHttpOpen(L"standin-test", WINHTTP_ACCESS_TYPE_NO_PROXY, WINHTTP_NO_PROXY_NAME,
                                    WINHTTP_NO_PROXY_BYPASS, 0));
  WinHttpHandle connection(session ? WinHttpConnect(session.get(), kControlHost,
                                                    static_cast<INTERNET_PORT>(Port()), 0)
                                   : nullptr);
  WinHttpHandle request(connection ? WinHttpOpenRequest(connection.get(), method, path.c_str(), nullptr,
                                                        WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES, 0)
                                   : nullptr);
  if (!request) return "";
  const DWORD length = static_cast<DWORD>(body.size());
  // Control connections are closed after each call, so they never mix with the client's pooled ones.
  if (!WinHttpSendRequest(request.get(), L"Connection: close\r\n", static_cast<DWORD>(-1),
                          length ? const_cast<char*>(body.data()) : WINHTTP_NO_REQUEST_DATA, length, length, 0) ||
      !WinHttpReceiveResponse(request.get(), nullptr)) {
    return "";
  }
  std::string reply;
  char chunk[16384];
  DWORD read = 0;
  while (WinHttpReadData(request.get(), chunk, sizeof chunk, &read) && read > 0) reply.append(chunk, read);
  return reply;
}

inline void Reset() { ASSERT_NE(Control(L"POST", L"/_standin/reset"), "") << "stand-in not reachable"; }

inline void Add(const Script& s) {
  std::string json = "{\"path\":" + JsonQuote(s.path) + ",\"status\":" + std::to_string(s.status) +
                     ",\"body\":" + JsonQuote(s.body) + ",\"delay_ms\":" + std::to_string(s.delayMs) +
                     ",\"action\":" + JsonQuote(s.action) + ",\"huge_bytes\":" + std::to_string(s.hugeBytes) +
                     ",\"count\":" + std::to_string(s.count) + ",\"headers\":{";
  for (size_t i = 0; i < s.headers.size(); ++i) {
    json += (i ? "," : "") + JsonQuote(s.headers[i].first) + ":" + JsonQuote(s.headers[i].second);
  }
  json += "}";
  if (!s.moreJson.empty()) json += "," + s.moreJson;
  json += "}";
  ASSERT_NE(Control(L"POST", L"/_standin/script", json), "") << "stand-in not reachable";
}

inline std::string StringMember(const JsonValue& object, const char* key) {
  const JsonValue* v = JsonFind(object, key);
  return v && v->type == JsonValue::String ? v->string : std::string();
}

// Every request the stand-in saw since the last Reset, oldest first.
inline std::vector<Request> Requests() {
  std::vector<Request> out;
  const JsonValue all = JsonParse(Control(L"GET", L"/_standin/requests"));
  const JsonValue* list = JsonFind(all, "requests");
  if (!list) return out;
  for (const JsonValue& item : list->items) {
    Request r;
    r.method = StringMember(item, "method");
    r.path = StringMember(item, "path");
    r.body = Base64Decode(StringMember(item, "body_base64"));
    if (const JsonValue* id = JsonFind(item, "connection")) r.connection = static_cast<int>(id->number);
    if (const JsonValue* t = JsonFind(item, "received_ms")) r.receivedMs = t->number;
    if (const JsonValue* t = JsonFind(item, "answered_ms")) r.answeredMs = t->number;
    if (const JsonValue* t = JsonFind(item, "first_content_ms")) r.firstContentMs = t->number;
    if (const JsonValue* headers = JsonFind(item, "headers")) {
      for (const JsonValue& pair : headers->items) {
        if (pair.items.size() == 2) r.headers.emplace_back(pair.items[0].string, pair.items[1].string);
      }
    }
    out.push_back(std::move(r));
  }
  return out;
}

// Polls the request log until `done` holds for it or `timeoutMs` passes; returns the last log read.
template <typename Condition>
std::vector<Request> WaitForRequests(Condition done, DWORD timeoutMs = 30000) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  std::vector<Request> requests = Requests();
  while (!done(requests) && GetTickCount64() < deadline) {
    Sleep(10);  // a polling interval, not a wait for an outcome
    requests = Requests();
  }
  return requests;
}

}  // namespace standin
