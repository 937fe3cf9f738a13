#include "account/session_refresh.h"

#include <gtest/gtest.h>

#include "account/session_blob.h"
#include "account/tests/account_fakes.h"

namespace {

constexpr const char* kRefreshReply =
    "{\"access_token\":\"acc-2\",\"refresh_token\":\"ref-2\",\"account\":{\"email\":\"new@example.org\"}}";

class Refresh : public ::testing::Test {
 protected:
  void SetUp() override {
    config.hosted = true;
    config.backendUrl = "http://127.0.0.1:8765";
    fake.store.Save(SessionTokens{"acc-1", "ref-1", "ada@example.org"});
  }
  FakeHosted fake;
  HostedContext context = fake.Context();
  TutorConfig config;
};

}  // namespace

TEST_F(Refresh, SuccessReplacesAndSavesTheTokens) {
  fake.network.Reply(200, kRefreshReply);
  SessionTokens tokens = fake.store.Read();
  AccountInfo account;
  EXPECT_TRUE(RefreshSession(config, context, tokens, &account));
  EXPECT_EQ(tokens, (SessionTokens{"acc-2", "ref-2", "ada@example.org"}));
  EXPECT_EQ(SessionStore(fake.vault).Read(), tokens);
  EXPECT_TRUE(account.signedIn);
  EXPECT_EQ(account.email, L"new@example.org");
  ASSERT_EQ(fake.network.sent.size(), 1u);
  ExpectRequest(fake.network.sent[0], L"POST", "http://127.0.0.1:8765/v1/auth/refresh",
                "{\"refresh_token\":\"ref-1\"}", "");
}

TEST_F(Refresh, ReplyEmailReplacesTheStoredOne) {
  fake.network.Reply(200, "{\"access_token\":\"a\",\"refresh_token\":\"r\",\"email\":\"b@example.org\"}");
  SessionTokens tokens = fake.store.Read();
  EXPECT_TRUE(RefreshSession(config, context, tokens, nullptr));
  EXPECT_EQ(fake.store.Read().email, "b@example.org");
}

TEST_F(Refresh, AnyFailureSignsTheUserOut) {
  for (HttpResult failure : {HttpResult{401, "{\"error\":\"revoked\"}", ""},
                             HttpResult{0, "", "request failed (offline? wrong url?)"},
                             HttpResult{200, "{\"access_token\":\"a\"}", ""},
                             HttpResult{200, "[]", ""}}) {
    fake.store.Save(SessionTokens{"acc-1", "ref-1", "ada@example.org"});
    fake.network.replies.push_back(failure);
    SessionTokens tokens = fake.store.Read();
    EXPECT_FALSE(RefreshSession(config, context, tokens, nullptr)) << failure.body;
    EXPECT_EQ(tokens, SessionTokens{});
    EXPECT_EQ(fake.store.Read(), SessionTokens{});
    EXPECT_TRUE(fake.vault.entries.empty());
  }
}

TEST_F(Refresh, WithoutARefreshTokenNothingIsSent) {
  SessionTokens tokens{"acc-1", "", "e"};
  EXPECT_FALSE(RefreshSession(config, context, tokens, nullptr));
  EXPECT_EQ(tokens, (SessionTokens{"acc-1", "", "e"}));
  EXPECT_TRUE(fake.network.sent.empty());
  EXPECT_EQ(fake.store.Read().accessToken, "acc-1");
}

TEST_F(Refresh, ALateRefreshNeverUndoesASignOut) {
  SessionTokens tokens = fake.store.Read();
  // The user signs out while the refresh request is on the wire.
  context.http = [&](auto&&...) {
    fake.store.Clear();
    return HttpResult{200, kRefreshReply, ""};
  };
  EXPECT_FALSE(RefreshSession(config, context, tokens, nullptr));
  EXPECT_EQ(tokens, SessionTokens{});
  EXPECT_EQ(fake.store.Read(), SessionTokens{});
  EXPECT_TRUE(fake.vault.entries.empty());
}

TEST_F(Refresh, AStaleRefreshAdoptsTheNewerSessionInsteadOfSigningOut) {
  SessionTokens tokens = fake.store.Read();
  // Another worker refreshed first; the server then rejects the old refresh token.
  context.http = [&](auto&&...) {
    fake.store.Save(SessionTokens{"acc-9", "ref-9", "ada@example.org"});
    return HttpResult{401, "", ""};
  };
  AccountInfo account;
  EXPECT_TRUE(RefreshSession(config, context, tokens, &account));
  EXPECT_EQ(tokens, (SessionTokens{"acc-9", "ref-9", "ada@example.org"}));
  EXPECT_EQ(fake.store.Read(), tokens);
  EXPECT_TRUE(account.signedIn);
  EXPECT_EQ(account.email, L"ada@example.org");
}

TEST_F(Refresh, ProbeNamesTheAccount) {
  fake.network.Reply(200, "{\"account\":{\"email\":\"ada@example.org\"}}");
  AccountInfo account = ProbeAccount(config, context);
  EXPECT_TRUE(account.hosted);
  EXPECT_TRUE(account.signedIn);
  EXPECT_EQ(account.email, L"ada@example.org");
  EXPECT_EQ(account.message, L"");
  ASSERT_EQ(fake.network.sent.size(), 1u);
  ExpectRequest(fake.network.sent[0], L"GET", "http://127.0.0.1:8765/v1/me", "", "acc-1");
}

TEST_F(Refresh, ProbeWith401RefreshesOnceAndReturnsTheRefreshedAccount) {
  fake.network.Reply(401, "");
  fake.network.Reply(200, kRefreshReply);
  AccountInfo account = ProbeAccount(config, context);
  ASSERT_EQ(fake.network.sent.size(), 2u);
  EXPECT_EQ(fake.network.sent[1].url, "http://127.0.0.1:8765/v1/auth/refresh");
  EXPECT_TRUE(account.signedIn);
  EXPECT_EQ(account.email, L"new@example.org");
  EXPECT_EQ(fake.store.Read().accessToken, "acc-2");
}

TEST_F(Refresh, ProbeWhoseRefreshFailsEndsSignedOutAndAsksAgainWithoutAToken) {
  fake.network.Reply(401, "");
  fake.network.Reply(400, "{\"error\":\"expired\"}");
  fake.network.Reply(200, "{\"account\":{}}");
  AccountInfo account = ProbeAccount(config, context);
  ASSERT_EQ(fake.network.sent.size(), 3u);
  EXPECT_EQ(fake.network.sent[2].method, L"GET");
  EXPECT_EQ(fake.network.sent[2].bearerToken, "");
  EXPECT_TRUE(account.hosted);
  EXPECT_FALSE(account.signedIn);
  EXPECT_TRUE(fake.vault.entries.empty());
}

TEST_F(Refresh, ProbeOfflineKeepsTheStoredState) {
  fake.network.Unreachable();
  AccountInfo offline = ProbeAccount(config, context);
  EXPECT_TRUE(offline.signedIn);
  EXPECT_EQ(offline.email, L"ada@example.org");
  EXPECT_EQ(offline.message, L"Offline. Couldn't reach Tavisk server.");

  // A 401 without a refresh token is treated like any other failure.
  fake.store.Save(SessionTokens{"acc-1", "", "ada@example.org"});
  fake.network.Reply(401, "");
  EXPECT_EQ(ProbeAccount(config, context).message, L"Offline. Couldn't reach Tavisk server.");
  EXPECT_EQ(fake.network.sent.size(), 2u);
}

TEST_F(Refresh, ProbeAccountEmailSignsInEvenWithoutAToken) {
  fake.store.Clear();
  fake.network.Reply(200, "{\"account\":{\"email\":\"ada@example.org\"}}");
  AccountInfo named = ProbeAccount(config, context);
  EXPECT_TRUE(named.signedIn);
  fake.network.Reply(200, "{\"account\":\"ada\"}");
  AccountInfo notAnObject = ProbeAccount(config, context);
  EXPECT_TRUE(notAnObject.hosted);
  EXPECT_FALSE(notAnObject.signedIn);
  EXPECT_EQ(notAnObject.email, L"");
}

TEST_F(Refresh, SignOutClearsThenProbes) {
  fake.network.Unreachable();
  AccountInfo account = SignOut(config, context);
  EXPECT_FALSE(account.signedIn);
  EXPECT_EQ(account.email, L"");
  EXPECT_TRUE(fake.vault.entries.empty());
  ASSERT_EQ(fake.network.sent.size(), 1u);
  EXPECT_EQ(fake.network.sent[0].bearerToken, "");
}

TEST_F(Refresh, LocalModeProbeAndSignOutStayOffline) {
  config.hosted = false;
  AccountInfo probed = ProbeAccount(config, context);
  EXPECT_FALSE(probed.hosted);
  EXPECT_FALSE(probed.signedIn);
  EXPECT_FALSE(SignOut(config, context).hosted);
  EXPECT_TRUE(fake.network.sent.empty());
}
