// Sign-in, probe and hosted solve through WinHTTP against the local stand-in, with the real
// session store and device identity.
#include <gtest/gtest.h>

#include "account/device_identity.h"
#include "account/session_refresh.h"
#include "account/session_store.h"
#include "account/sign_in.h"
#include "tutor/hosted_solve.h"
#include "net/http_client_win.h"
#include "net/tests/standin_client.h"

namespace {

class HostedFlows : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(standin::Port(), 0) << "VYK_STANDIN_STATE does not name a running stand-in";
    standin::Reset();
    ProcessSessionStore().Clear();
    config.hosted = true;
    config.backendUrl = standin::Url() + "/";
  }
  void TearDown() override { ProcessSessionStore().Clear(); }

  // Every request carried this machine's device hash.
  static void ExpectDeviceHashOn(const std::vector<standin::Request>& requests) {
    for (const standin::Request& request : requests) {
      ASSERT_NE(request.Header("X-Device-Hash"), nullptr) << request.path;
      EXPECT_EQ(*request.Header("X-Device-Hash"), DeviceHash());
    }
  }
  // Signed in with "acc-old"/"ref-old", and the service answers `path` with 401 once.
  static void ExpireSessionAt(const std::string& path) {
    ProcessSessionStore().Save(SessionTokens{"acc-old", "ref-old", "ada@example.org"});
    standin::Add(standin::Reply(path, 401, "{}"));
  }
  static std::string BearerOf(const standin::Request& request) {
    const std::string* header = request.Header("Authorization");
    return header ? *header : std::string();
  }

  TutorConfig config;
};

}  // namespace

TEST_F(HostedFlows, SendCodeThenVerifySignsIn) {
  standin::Add(standin::Reply("/v1/auth/verify", 200,
                              "{\"access_token\":\"acc-\\\"1\\\\\",\"refresh_token\":\"ref-1\","
                              "\"account\":{\"email\":\"ada@example.org\"}}"));
  AuthResult sent = SendCode(config, SystemHostedContext(), L"ada@example.org");
  EXPECT_TRUE(sent.ok);
  EXPECT_EQ(sent.message, L"Code sent. Check your email.");
  AuthResult verified = VerifyCode(config, SystemHostedContext(), L"ada@example.org", L"246810");
  EXPECT_TRUE(verified.ok);
  EXPECT_EQ(verified.account.email, L"ada@example.org");
  EXPECT_EQ(SessionStore(SystemCredentialVault()).Read(),
            (SessionTokens{"acc-\"1\\", "ref-1", "ada@example.org"}));

  auto requests = standin::Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].path, "/v1/auth/send-code");
  EXPECT_EQ(requests[0].body, "{\"email\":\"ada@example.org\"}");
  EXPECT_EQ(requests[1].path, "/v1/auth/verify");
  EXPECT_EQ(requests[1].body, "{\"email\":\"ada@example.org\",\"code\":\"246810\"}");
  EXPECT_EQ(BearerOf(requests[1]), "");
  ExpectDeviceHashOn(requests);
}

TEST_F(HostedFlows, SendCodeShowsTheServiceError) {
  standin::Add(standin::Reply("/v1/auth/send-code", 400, "{\"error\":\"Unknown address.\"}"));
  EXPECT_EQ(SendCode(config, SystemHostedContext(), L"x@example.org").message, L"Unknown address.");
}

TEST_F(HostedFlows, ProbeWith401RefreshesAndReturnsTheRefreshedAccount) {
  ExpireSessionAt("/v1/me");
  standin::Add(standin::Reply("/v1/auth/refresh", 200,
                              "{\"access_token\":\"acc-new\",\"refresh_token\":\"ref-new\","
                              "\"account\":{\"email\":\"ada@example.org\"}}"));
  AccountInfo account = ProbeAccount(config, SystemHostedContext());
  EXPECT_TRUE(account.signedIn);
  EXPECT_EQ(account.email, L"ada@example.org");

  auto requests = standin::Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].method, "GET");
  EXPECT_EQ(requests[0].path, "/v1/me");
  EXPECT_EQ(BearerOf(requests[0]), "Bearer acc-old");
  EXPECT_EQ(requests[1].path, "/v1/auth/refresh");
  EXPECT_EQ(requests[1].body, "{\"refresh_token\":\"ref-old\"}");
  ExpectDeviceHashOn(requests);
  EXPECT_EQ(SessionStore(SystemCredentialVault()).Read().accessToken, "acc-new");
}

TEST_F(HostedFlows, SolveWith401RefreshesAndRepeatsOnce) {
  ExpireSessionAt("/v1/solve");
  standin::Add(standin::Reply("/v1/solve", 200,
                              "{\"reply\":{\"status\":\"answer\",\"answer\":\"x = 4\","
                              "\"explanation\":\"Subtract 3.\",\"option\":3}}"));
  TutorReply reply = HostedSolve(config, QueryKind::Snip, QueryQuality::Deep, "",
                                 "data:image/jpeg;base64,/9j/4AAQ");
  EXPECT_EQ(reply.status, TutorReply::Answer);
  EXPECT_EQ(reply.text, L"x = 4");
  EXPECT_EQ(reply.option, 2);

  auto requests = standin::Requests();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_EQ(requests[0].path, "/v1/solve");
  EXPECT_EQ(requests[0].body,
            "{\"kind\":\"snip\",\"quality\":\"deep\",\"device_label\":\"" + DeviceLabel() +
                "\",\"image_b64\":\"data:image/jpeg;base64,/9j/4AAQ\"}");
  EXPECT_EQ(BearerOf(requests[0]), "Bearer acc-old");
  EXPECT_EQ(requests[1].path, "/v1/auth/refresh");
  EXPECT_EQ(requests[2].path, "/v1/solve");
  EXPECT_EQ(requests[2].body, requests[0].body);
  EXPECT_NE(BearerOf(requests[2]), "Bearer acc-old");
  EXPECT_EQ(BearerOf(requests[2]), "Bearer " + ProcessSessionStore().Read().accessToken);
  ExpectDeviceHashOn(requests);
}

TEST_F(HostedFlows, UnreachableServiceGivesTheOfflineMessages) {
  config.backendUrl = "http://127.0.0.1:1";
  EXPECT_EQ(HostedSolve(config, QueryKind::Ask, QueryQuality::Fast, "2+2?", "").text,
            L"Couldn't reach Tavisk server. Check your internet connection.");
  EXPECT_EQ(SendCode(config, SystemHostedContext(), L"a@example.org").message,
            L"Couldn't reach Tavisk server.");
}
