// Diagnostic report: whether the service's host answers. A bare HEAD request for the root, with no
// key, token, device hash or question, on a session of its own (the tutor's connection cache is not
// touched), so a TLS or certificate failure can be named with its WinHTTP code.
#include <windows.h>
#include <winhttp.h>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include "app/diagnose_probes_win.h"
#include "core/utf.h"
#include "net/winhttp_handle_win.h"

namespace {

constexpr int kStepTimeoutMs = 5000;

// Keeps the certificate problems WinHTTP reports just before it fails with a secure failure.
void CALLBACK NoteSecureFailure(HINTERNET, DWORD_PTR context, DWORD status, LPVOID information, DWORD length) {
  if (status == WINHTTP_CALLBACK_STATUS_SECURE_FAILURE && context && information && length >= sizeof(DWORD)) {
    *reinterpret_cast<DWORD*>(context) = *static_cast<DWORD*>(information);
  }
}

EndpointAnswer HeadRoot(const std::string& url) {
  EndpointAnswer answer;
  const ULONGLONG start = GetTickCount64();
  auto fail = [&answer]() {
    answer.error = GetLastError();
    return answer;
  };
  std::wstring wide = Utf8ToWide(url);
  URL_COMPONENTS parts{};
  parts.dwStructSize = sizeof parts;
  wchar_t host[256] = {};
  parts.lpszHostName = host;
  parts.dwHostNameLength = 256;
  if (!WinHttpCrackUrl(wide.c_str(), 0, 0, &parts)) return fail();
  const bool secure = parts.nScheme == INTERNET_SCHEME_HTTPS;

  const WinHttpHandle session(WinHttpOpen(L"Tavisk/1.0", WINHTTP_ACCESS_TYPE_DEFAULT_PROXY, WINHTTP_NO_PROXY_NAME,
                                          WINHTTP_NO_PROXY_BYPASS, 0));
  if (!session) return fail();
  WinHttpSetTimeouts(session.get(), kStepTimeoutMs, kStepTimeoutMs, kStepTimeoutMs, kStepTimeoutMs);
  const WinHttpHandle connection(WinHttpConnect(session.get(), host, parts.nPort, 0));
  if (!connection) return fail();
  const WinHttpHandle request(WinHttpOpenRequest(connection.get(), L"HEAD", L"/", nullptr, WINHTTP_NO_REFERER,
                                                 WINHTTP_DEFAULT_ACCEPT_TYPES, secure ? WINHTTP_FLAG_SECURE : 0));
  if (!request) return fail();
  DWORD secureFlags = 0;
  WinHttpSetStatusCallback(request.get(), NoteSecureFailure, WINHTTP_CALLBACK_FLAG_SECURE_FAILURE, 0);
  if (!WinHttpSendRequest(request.get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0,
                          reinterpret_cast<DWORD_PTR>(&secureFlags)) ||
      !WinHttpReceiveResponse(request.get(), nullptr)) {
    answer.error = GetLastError();
    answer.secureFlags = secureFlags;
    return answer;
  }
  DWORD status = 0;
  DWORD size = sizeof status;
  WinHttpQueryHeaders(request.get(), WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                      WINHTTP_HEADER_NAME_BY_INDEX, &status, &size, WINHTTP_NO_HEADER_INDEX);
  answer.answered = true;
  answer.status = static_cast<int>(status);
  answer.elapsedMs = static_cast<unsigned>(GetTickCount64() - start);
  return answer;
}

// The request runs on a thread of its own, so a host that never answers costs the report only
// the wait; the thread is left to finish on its own.
struct PendingAnswer {
  std::mutex lock;
  std::condition_variable done;
  bool finished = false;
  EndpointAnswer answer;
};

}  // namespace

EndpointAnswer ProbeEndpoint(const std::string& url, unsigned waitSeconds) {
  auto pending = std::make_shared<PendingAnswer>();
  std::thread([pending, url]() {
    EndpointAnswer answer = HeadRoot(url);
    std::lock_guard<std::mutex> guard(pending->lock);
    pending->answer = answer;
    pending->finished = true;
    pending->done.notify_all();
  }).detach();
  std::unique_lock<std::mutex> guard(pending->lock);
  if (!pending->done.wait_for(guard, std::chrono::seconds(waitSeconds), [&] { return pending->finished; })) {
    EndpointAnswer late;
    late.timedOut = true;
    late.waitedSeconds = waitSeconds;
    return late;
  }
  return pending->answer;
}
