#pragma once
// One streamed response, read on a helper thread. The helper makes WinHTTP's blocking calls (send,
// receive, query and read) and queues what arrives; the requesting thread waits for each step on
// its own clock. Wine does not apply WinHTTP's receive time-out, and Windows applies it only per
// call, so a server that stops sending can never hold the requester longer than it chooses to wait.
#include <windows.h>
#include <winhttp.h>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

// The most one read asks WinHTTP for.
inline constexpr DWORD kMaxHttpReadChunk = 1024 * 1024;

// The numeric status of a received response; 0 when it has none.
int ResponseStatus(HINTERNET request);

class StreamedResponse {
 public:
  // Takes over the request handle and starts sending on a helper thread; null (with the handle
  // closed) when no thread can be started.
  static std::shared_ptr<StreamedResponse> Start(HINTERNET request, std::wstring headers, std::string body);

  enum class Head { Arrived, Failed, Stalled };
  // Waits for the status line: Failed when the send or receive failed (status 0 then).
  Head WaitForHead(std::chrono::milliseconds timeout, int& status);

  enum class Step { Pieces, Ended, CutOff, Stalled };
  // Waits for body pieces (moved into `pieces`) or the end. CutOff: a read failed; Stalled: nothing
  // arrived within the time-out.
  Step WaitForPieces(std::chrono::milliseconds timeout, std::deque<std::string>& pieces);

  // Closes the request handle, which also ends a read the helper is blocked in; from then on the
  // helper touches nothing. Called once the response is done with, however it ended.
  void Close();

  StreamedResponse(HINTERNET request, std::wstring headers, std::string body);

 private:
  void Run();
  bool Closed();
  void Publish(std::function<void()> change);

  std::mutex lock_;
  std::condition_variable changed_;
  HINTERNET request_;
  const std::wstring headers_;
  const std::string body_;
  bool headArrived_ = false;
  bool sendFailed_ = false;
  int status_ = 0;
  std::deque<std::string> pieces_;
  bool ended_ = false;
  bool readFailed_ = false;
  bool closed_ = false;
};
