#include "account/sign_in.h"

#include <gtest/gtest.h>

#include "account/session_blob.h"
#include "account/tests/account_fakes.h"

namespace {

TutorConfig HostedConfig() {
  TutorConfig config;
  config.hosted = true;
  config.backendUrl = "http://127.0.0.1:8765//";
  return config;
}

class SignIn : public ::testing::Test {
 protected:
  FakeHosted fake;
  HostedContext context = fake.Context();
  TutorConfig config = HostedConfig();
};

}  // namespace

TEST_F(SignIn, SendCodePostsTheEmailOnce) {
  fake.network.Reply(200, "{}");
  AuthResult result = SendCode(config, context, L"ad\u00e9\"a@example.org");
  EXPECT_TRUE(result.ok);
  EXPECT_EQ(result.message, L"Code sent. Check your email.");
  ASSERT_EQ(fake.network.sent.size(), 1u);
  ExpectRequest(fake.network.sent[0], L"POST", "http://127.0.0.1:8765/v1/auth/send-code",
                "{\"email\":\"ad\xc3\xa9\\\"a@example.org\"}", "");
}

TEST_F(SignIn, SendCodeFailureMessages) {
  fake.network.Unreachable();
  EXPECT_EQ(SendCode(config, context, L"a@b").message, L"Couldn't reach Tavisk server.");
  fake.network.Reply(400, "{\"error\":\"That address looks wrong \xe2\x80\x94 check it.\"}");
  AuthResult withError = SendCode(config, context, L"a@b");
  EXPECT_FALSE(withError.ok);
  EXPECT_EQ(withError.message, L"That address looks wrong \u2014 check it.");
  for (const char* body : {"{}", "", "not json", "{\"error\":5}", "{\"error\":\"\"}"}) {
    fake.network.Reply(400, body);
    EXPECT_EQ(SendCode(config, context, L"a@b").message, L"Could not send verification code.") << body;
  }
  // A transport error counts as failure even with a status.
  fake.network.replies.push_back(HttpResult{200, "{}", "request failed (offline? wrong url?)"});
  EXPECT_FALSE(SendCode(config, context, L"a@b").ok);
}

TEST_F(SignIn, VerifySavesTheSessionAndNamesTheAccount) {
  fake.network.Reply(200,
                     "{\"access_token\":\"acc-1\",\"refresh_token\":\"ref-1\",\"email\":\"Ada@Example.org\","
                     "\"account\":{\"email\":\"ada@example.org\",\"plan\":\"free\"}}");
  AuthResult result = VerifyCode(config, context, L"ada@example.org", L" 123456");
  EXPECT_TRUE(result.ok);
  EXPECT_EQ(result.message, L"Signed in.");
  EXPECT_TRUE(result.account.hosted);
  EXPECT_TRUE(result.account.signedIn);
  EXPECT_EQ(result.account.email, L"ada@example.org");
  ExpectRequest(fake.network.sent[0], L"POST", "http://127.0.0.1:8765/v1/auth/verify",
                "{\"email\":\"ada@example.org\",\"code\":\" 123456\"}", "");
  EXPECT_EQ(fake.store.Read(), (SessionTokens{"acc-1", "ref-1", "Ada@Example.org"}));
  EXPECT_EQ(fake.vault.entries["TaviskSession"].userName, "Ada@Example.org");
}

TEST_F(SignIn, VerifyWithoutEmailInTheReplyKeepsTheTypedOne) {
  fake.network.Reply(200, "{\"access_token\":\"acc-1\",\"refresh_token\":\"ref-1\",\"email\":\"\"}");
  AuthResult result = VerifyCode(config, context, L"typed@example.org", L"1");
  EXPECT_TRUE(result.ok);
  EXPECT_EQ(fake.store.Read().email, "typed@example.org");
  // No "account" object: signed in, no e-mail named.
  EXPECT_TRUE(result.account.signedIn);
  EXPECT_EQ(result.account.email, L"");
}

TEST_F(SignIn, VerifyFailuresSaveNothing) {
  fake.network.Reply(400, "");
  EXPECT_EQ(VerifyCode(config, context, L"a@b", L"1").message, L"Invalid or expired verification code.");
  fake.network.Reply(200, "{\"access_token\":\"acc-1\"}");
  AuthResult missingRefresh = VerifyCode(config, context, L"a@b", L"1");
  EXPECT_FALSE(missingRefresh.ok);
  EXPECT_EQ(missingRefresh.message, L"Invalid or expired verification code.");
  fake.network.Reply(200, "{\"access_token\":\"acc-1\",\"refresh_token\":null}");
  EXPECT_FALSE(VerifyCode(config, context, L"a@b", L"1").ok);
  fake.network.Reply(403, "{\"error\":\"Too many attempts.\"}");
  EXPECT_EQ(VerifyCode(config, context, L"a@b", L"1").message, L"Too many attempts.");
  fake.network.Unreachable();
  EXPECT_EQ(VerifyCode(config, context, L"a@b", L"1").message, L"Couldn't reach Tavisk server.");
  EXPECT_EQ(fake.store.Read(), SessionTokens{});
  EXPECT_TRUE(fake.vault.entries.empty());
}

TEST_F(SignIn, LocalModeNeverTouchesTheNetwork) {
  config.hosted = false;
  for (AuthResult result : {SendCode(config, context, L"a@b"), VerifyCode(config, context, L"a@b", L"1")}) {
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.message, L"Local API key mode active (vyk.cfg).");
    EXPECT_FALSE(result.account.hosted);
    EXPECT_FALSE(result.account.signedIn);
  }
  EXPECT_TRUE(fake.network.sent.empty());
}
