// A certificate from an authority the Wine prefix does not trust: WinHTTP refuses the connection
// and the query ends in the sentence for an unreachable service. Run by tutor/tests/https_e2e.py,
// which serves such a certificate over HTTPS and names the server in VYK_UNTRUSTED_HTTPS_URL, then
// checks that the server got no byte of a request; skipped in the suite's plain run.
#include <gtest/gtest.h>

#include <string>

#include "core/environment_win.h"
#include "core/utf.h"
#include "net/http_client_win.h"
#include "tutor/solve_query.h"

namespace {

TEST(HttpsRefusal, UntrustedAuthorityEndsInTheUnreachableSentence) {
  std::string url;
  if (!ReadEnvironmentVariable("VYK_UNTRUSTED_HTTPS_URL", url) || url.empty()) {
    GTEST_SKIP() << "run by tutor/tests/https_e2e.py, which serves the untrusted certificate";
  }
  ResetHttpConnection();
  const HttpResult result = HttpRequest(L"POST", url + "/v1/chat/completions", "{}", "", "");
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.error, "request failed (offline? wrong url?)");

  TutorConfig config;
  config.hosted = false;
  config.baseUrl = url + "/v1";
  config.model = "gpt-4o-mini";
  config.apiKey = "sk-untrusted-test";
  const TutorReply reply = SolveQuery(config, QueryKind::Ask, QueryQuality::Fast, L"What is 7 times 6?");
  EXPECT_EQ(reply.status, TutorReply::Error);
  EXPECT_EQ(reply.text, L"Couldn't reach the tutor service. Check your connection and base_url.");
}

}  // namespace
