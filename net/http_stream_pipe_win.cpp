#include "net/http_stream_pipe_win.h"

#include <algorithm>
#include <system_error>
#include <thread>

int ResponseStatus(HINTERNET request) {
  DWORD status = 0;
  DWORD size = sizeof status;
  if (!WinHttpQueryHeaders(request, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                           WINHTTP_HEADER_NAME_BY_INDEX, &status, &size, WINHTTP_NO_HEADER_INDEX)) {
    return 0;
  }
  return static_cast<int>(status);
}

StreamedResponse::StreamedResponse(HINTERNET request, std::wstring headers, std::string body)
    : request_(request), headers_(std::move(headers)), body_(std::move(body)) {}

std::shared_ptr<StreamedResponse> StreamedResponse::Start(HINTERNET request, std::wstring headers,
                                                          std::string body) {
  auto response = std::make_shared<StreamedResponse>(request, std::move(headers), std::move(body));
  try {
    std::thread([response] { response->Run(); }).detach();
  } catch (const std::system_error&) {
    response->Close();
    return nullptr;
  }
  return response;
}

bool StreamedResponse::Closed() {
  std::lock_guard<std::mutex> guard(lock_);
  return closed_;
}

void StreamedResponse::Publish(std::function<void()> change) {
  {
    std::lock_guard<std::mutex> guard(lock_);
    if (closed_) return;
    change();
  }
  changed_.notify_all();
}

// How much of what is available one read asks for. Never all of it while there is more than a
// byte: Wine's WinHTTP, on a read that takes the last byte of a chunk, goes on to wait for the next
// chunk's size line before it returns, which would hold each piece until the next one arrives.
static DWORD ReadSize(DWORD available) {
  return std::min(available > 1 ? available - 1 : available, kMaxHttpReadChunk);
}

// The helper thread. It checks before each call that the requester has not closed the handle; a
// call already under way when it does is ended by the close.
void StreamedResponse::Run() {
  const DWORD length = static_cast<DWORD>(body_.size());
  void* data = body_.empty() ? WINHTTP_NO_REQUEST_DATA : const_cast<char*>(body_.data());
  const bool sent = !Closed() &&
                    WinHttpSendRequest(request_, headers_.c_str(), static_cast<DWORD>(-1), data, length, length, 0) &&
                    WinHttpReceiveResponse(request_, nullptr);
  const int status = sent ? ResponseStatus(request_) : 0;
  Publish([&] {
    headArrived_ = true;
    sendFailed_ = !sent;
    status_ = status;
  });
  if (!sent || status == 0) return;
  for (;;) {
    DWORD available = 0;
    if (Closed()) return;
    const bool queried = WinHttpQueryDataAvailable(request_, &available);
    std::string piece(queried ? ReadSize(available) : 0, '\0');
    DWORD read = 0;
    const bool ok = !piece.empty() && !Closed() &&
                    WinHttpReadData(request_, piece.data(), static_cast<DWORD>(piece.size()), &read);
    piece.resize(ok ? read : 0);
    const bool failed = !queried || (available > 0 && !ok);
    const bool end = failed || piece.empty();
    Publish([&] {
      if (!piece.empty()) pieces_.push_back(std::move(piece));
      ended_ = end;
      readFailed_ = failed;
    });
    if (end) return;
  }
}

StreamedResponse::Head StreamedResponse::WaitForHead(std::chrono::milliseconds timeout, int& status) {
  std::unique_lock<std::mutex> guard(lock_);
  if (!changed_.wait_for(guard, timeout, [this] { return headArrived_; })) return Head::Stalled;
  status = status_;
  return sendFailed_ ? Head::Failed : Head::Arrived;
}

StreamedResponse::Step StreamedResponse::WaitForPieces(std::chrono::milliseconds timeout,
                                                       std::deque<std::string>& pieces) {
  std::unique_lock<std::mutex> guard(lock_);
  if (!changed_.wait_for(guard, timeout, [this] { return !pieces_.empty() || ended_; })) return Step::Stalled;
  if (!pieces_.empty()) {
    pieces.clear();
    pieces.swap(pieces_);
    return Step::Pieces;
  }
  return readFailed_ ? Step::CutOff : Step::Ended;
}

void StreamedResponse::Close() {
  HINTERNET request = nullptr;
  {
    std::lock_guard<std::mutex> guard(lock_);
    if (closed_) return;
    closed_ = true;
    request = request_;
  }
  WinHttpCloseHandle(request);
}
