#include "net/http_client_win.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <thread>
#include <vector>

#include "net/tests/standin_client.h"

namespace {

constexpr char kOffline[] = "request failed (offline? wrong url?)";

class HttpClient : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(standin::Port(), 0) << "VYK_STANDIN_STATE does not name a running stand-in";
    standin::Reset();
    ResetHttpConnection();
  }

  static HttpResult Post(const std::string& path, const std::string& body = "{}", const std::string& token = "",
                         const std::string& hash = "") {
    return HttpRequest(L"POST", standin::Url() + path, body, token, hash);
  }
};

}  // namespace

TEST_F(HttpClient, SendsExactlyTheDocumentedHeadersAndBody) {
  const std::string body = std::string("{\"text\":\"\xCF\x80 \\\\frac\"}\0tail", 24);
  HttpResult r = Post("/v1/solve", body, "tok-123", "hash-abc");
  EXPECT_EQ(r.status, 200);
  EXPECT_EQ(r.error, "");

  r = Post("/v1/solve", "{}", "", "");
  EXPECT_EQ(r.status, 200);
  r = HttpRequest(L"GET", standin::Url() + "/v1/me", "", "", "only-hash");
  EXPECT_EQ(r.status, 200);

  const auto requests = standin::Requests();
  ASSERT_EQ(requests.size(), 3u);
  const standin::Request& full = requests[0];
  EXPECT_EQ(full.method, "POST");
  EXPECT_EQ(full.path, "/v1/solve");
  EXPECT_EQ(full.body, body);
  ASSERT_NE(full.Header("Content-Type"), nullptr);
  EXPECT_EQ(*full.Header("Content-Type"), "application/json");
  ASSERT_NE(full.Header("User-Agent"), nullptr);
  EXPECT_EQ(*full.Header("User-Agent"), "Tavisk/1.0");
  ASSERT_NE(full.Header("Authorization"), nullptr);
  EXPECT_EQ(*full.Header("Authorization"), "Bearer tok-123");
  ASSERT_NE(full.Header("X-Device-Hash"), nullptr);
  EXPECT_EQ(*full.Header("X-Device-Hash"), "hash-abc");

  EXPECT_EQ(requests[1].Header("Authorization"), nullptr);
  EXPECT_EQ(requests[1].Header("X-Device-Hash"), nullptr);
  EXPECT_NE(requests[1].Header("Content-Type"), nullptr);

  const standin::Request& probe = requests[2];
  EXPECT_EQ(probe.method, "GET");
  EXPECT_EQ(probe.body, "");
  EXPECT_EQ(probe.Header("Authorization"), nullptr);
  ASSERT_NE(probe.Header("Content-Type"), nullptr);
  EXPECT_EQ(*probe.Header("Content-Type"), "application/json");
  ASSERT_NE(probe.Header("X-Device-Hash"), nullptr);
  EXPECT_EQ(*probe.Header("X-Device-Hash"), "only-hash");
}

TEST_F(HttpClient, HeaderValuesCannotInjectHeaderLines) {
  HttpResult r = Post("/v1/solve", "{}", "tok\r\nX-Injected: 1", "h\nX-Other: 2");
  EXPECT_EQ(r.status, 200);
  const auto requests = standin::Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].Header("X-Injected"), nullptr);
  EXPECT_EQ(requests[0].Header("X-Other"), nullptr);
  ASSERT_NE(requests[0].Header("Authorization"), nullptr);
  EXPECT_EQ(*requests[0].Header("Authorization"), "Bearer tokX-Injected: 1");
}

TEST_F(HttpClient, KeepsTheQueryStringInThePath) {
  EXPECT_EQ(Post("/v1/me?probe=1&name=a%20b").status, 404);
  const auto requests = standin::Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].path, "/v1/me?probe=1&name=a%20b");
}

TEST_F(HttpClient, ReturnsNon200StatusWithBodyAndNoError) {
  standin::Add(standin::Reply("/v1/solve", 503, "{\"message\":\"busy\"}"));
  standin::Add(standin::Reply("/v1/auth/verify", 400, ""));
  HttpResult r = Post("/v1/solve");
  EXPECT_EQ(r.status, 503);
  EXPECT_EQ(r.body, "{\"message\":\"busy\"}");
  EXPECT_EQ(r.error, "");
  r = Post("/v1/auth/verify");
  EXPECT_EQ(r.status, 400);
  EXPECT_EQ(r.body, "");
  EXPECT_EQ(r.error, "");
}

// WinHTTP keeps idle sockets in a pool of its own, so the stand-in's connection ids show whether
// keep-alive works, and the client's connection count shows whether its cached handle is reused.
TEST_F(HttpClient, ReusesOneConnectionPerHostAndReplacesItOnHostSwitch) {
  const std::string local = standin::Url("localhost");
  const unsigned opened = HttpConnectionsOpened();
  ASSERT_EQ(Post("/a").error, "");
  ASSERT_EQ(Post("/b").error, "");
  EXPECT_EQ(HttpConnectionsOpened(), opened + 1);
  ASSERT_EQ(HttpRequest(L"POST", local + "/c", "{}", "", "").error, "");
  ASSERT_EQ(HttpRequest(L"POST", local + "/d", "{}", "", "").error, "");
  EXPECT_EQ(HttpConnectionsOpened(), opened + 2);
  ASSERT_EQ(Post("/e").error, "");
  EXPECT_EQ(HttpConnectionsOpened(), opened + 3);
  const auto r = standin::Requests();
  ASSERT_EQ(r.size(), 5u);
  EXPECT_EQ(r[0].connection, r[1].connection);
  EXPECT_NE(r[2].connection, r[1].connection);
  EXPECT_EQ(r[2].connection, r[3].connection);
}

TEST_F(HttpClient, ResetHttpConnectionForcesANewConnection) {
  const unsigned opened = HttpConnectionsOpened();
  ASSERT_EQ(Post("/a").error, "");
  ResetHttpConnection();
  ResetHttpConnection();  // harmless when nothing is open
  ASSERT_EQ(Post("/b").error, "");
  EXPECT_EQ(HttpConnectionsOpened(), opened + 2);
}

TEST_F(HttpClient, RetriesOnceWithFreshHandlesAfterADroppedRequest) {
  ASSERT_EQ(Post("/v1/solve").status, 200);
  standin::Add(standin::Drop("/v1/solve", 1));
  const unsigned opened = HttpConnectionsOpened();
  HttpResult r = Post("/v1/solve", "{\"n\":2}");
  EXPECT_EQ(HttpConnectionsOpened(), opened + 1);
  EXPECT_EQ(r.status, 200);
  EXPECT_EQ(r.error, "");
  EXPECT_NE(r.body.find("\"reply\""), std::string::npos);
  const auto requests = standin::Requests();
  ASSERT_EQ(requests.size(), 3u);
  const standin::Request& retried = requests.back();
  EXPECT_EQ(retried.body, "{\"n\":2}");
  EXPECT_NE(retried.connection, requests[0].connection);
  // The request after the retry stays on the retry's new connection.
  ASSERT_EQ(Post("/v1/solve").status, 200);
  EXPECT_EQ(standin::Requests().back().connection, retried.connection);
}

TEST_F(HttpClient, GivesUpAfterTwoDroppedAttempts) {
  standin::Add(standin::Drop("/v1/solve", -1));
  HttpResult r = Post("/v1/solve");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.body, "");
  EXPECT_EQ(r.error, kOffline);
  const auto requests = standin::Requests();
  ASSERT_EQ(requests.size(), 2u) << "exactly two attempts";
  EXPECT_NE(requests[0].connection, requests[1].connection);
  standin::Reset();
  EXPECT_EQ(Post("/v1/solve").status, 200);  // the client recovers once the server answers
}

TEST_F(HttpClient, ClosedPortGivesStatusZeroAndOfflineError) {
  HttpResult r = HttpRequest(L"POST", "http://127.0.0.1:1/v1/solve", "{}", "tok", "");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.body, "");
  EXPECT_EQ(r.error, kOffline);
}

TEST_F(HttpClient, HttpsNeverFallsBackToPlainText) {
  ASSERT_EQ(Post("/v1/solve").status, 200);
  std::string url = standin::Url();
  url.replace(0, 4, "https");  // the stand-in speaks plain HTTP only
  HttpResult r = HttpRequest(L"POST", url + "/v1/solve", "{}", "tok", "");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.error, kOffline);
  const auto requests = standin::Requests();  // the token never travelled in clear text
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].Header("Authorization"), nullptr);
}

TEST_F(HttpClient, UnsplittableUrlsGiveTheBadUrlError) {
  for (const std::string& url : {std::string("127.0.0.1:8080/v1/solve"), std::string(""),
                                std::string("api.example/v1"), std::string("http://")}) {
    HttpResult r = HttpRequest(L"POST", url, "{}", "", "");
    EXPECT_EQ(r.status, 0) << url;
    EXPECT_EQ(r.error, "bad url '" + url + "'");
  }
  EXPECT_TRUE(standin::Requests().empty());
}

TEST_F(HttpClient, CutsBodiesOverEightMebibytesWithoutError) {
  standin::Add(standin::Huge("/big", 9LL * 1024 * 1024));
  standin::Add(standin::Huge("/exact", static_cast<long long>(kMaxHttpBodyBytes)));
  HttpResult r = Post("/big");
  EXPECT_EQ(r.status, 200);
  EXPECT_EQ(r.error, "");
  EXPECT_EQ(r.body.size(), kMaxHttpBodyBytes);
  EXPECT_EQ(r.body.find_first_not_of('x'), std::string::npos);
  r = Post("/exact");
  EXPECT_EQ(r.error, "");
  EXPECT_EQ(r.body.size(), kMaxHttpBodyBytes);
  EXPECT_EQ(Post("/v1/solve").status, 200);  // the cut response leaves the client usable
}

TEST_F(HttpClient, ARequestWaitsWhileAnotherThreadsRequestIsInFlight) {
  standin::Script slow = standin::Reply("/slow", 200, "slow");
  slow.delayMs = 500;
  standin::Add(slow);
  std::thread first([] { EXPECT_EQ(HttpRequest(L"POST", standin::Url() + "/slow", "{}", "", "").body, "slow"); });
  const auto seen = standin::WaitForRequests([](const auto& r) { return !r.empty(); });
  ASSERT_EQ(seen.size(), 1u);
  HttpResult r = Post("/v1/solve");
  first.join();
  EXPECT_EQ(r.status, 200);
  const auto requests = standin::Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].path, "/slow");
  ASSERT_GE(requests[0].answeredMs, 0);
  EXPECT_GE(requests[1].receivedMs, requests[0].answeredMs) << "the second request overtook the first";
}

TEST_F(HttpClient, ConcurrentCallersEachGetTheirOwnReply) {
  constexpr int kThreads = 4;
  constexpr int kPerThread = 6;
  for (int t = 0; t < kThreads; ++t) {
    standin::Add(standin::Reply("/t" + std::to_string(t), 200, "reply-" + std::to_string(t), -1));
  }
  std::vector<std::string> failures(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([t, &failures] {
      for (int i = 0; i < kPerThread; ++i) {
        // Alternate hosts so the cached connection is replaced while others wait.
        const std::string host = (t + i) % 2 ? "localhost" : "127.0.0.1";
        HttpResult r = HttpRequest(L"POST", standin::Url(host) + "/t" + std::to_string(t), "{}", "", "");
        if (r.status != 200 || r.body != "reply-" + std::to_string(t)) {
          failures[t] = "status " + std::to_string(r.status) + " body " + r.body + " error " + r.error;
        }
      }
    });
  }
  for (auto& thread : threads) thread.join();
  for (int t = 0; t < kThreads; ++t) EXPECT_EQ(failures[t], "") << "thread " << t;
  EXPECT_EQ(standin::Requests().size(), static_cast<size_t>(kThreads * kPerThread));
}
