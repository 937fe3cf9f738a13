#pragma once
// In-memory stand-ins for the credential store and the network, for the account and hosted tests.
#include <gtest/gtest.h>

#include <deque>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "account/credential_vault.h"
#include "account/hosted_context.h"
#include "account/session_store.h"

// Behaves like the Credential Manager: refuses blobs over its size limit, and can be told to
// refuse writes or deletes of chosen targets.
class FakeVault : public CredentialVault {
 public:
  struct Entry {
    std::string userName;
    std::string blob;
  };
  std::map<std::string, Entry> entries;
  std::set<std::string> refuseWrites;
  bool refuseAllWrites = false;
  bool refuseRemoves = false;
  int reads = 0;

  std::optional<std::string> Read(const std::string& target) override {
    ++reads;
    auto it = entries.find(target);
    if (it == entries.end()) return std::nullopt;
    return it->second.blob;
  }
  bool Write(const std::string& target, const std::string& userName, const std::string& blob) override {
    if (refuseAllWrites || refuseWrites.count(target) || blob.size() > kMaxCredentialBlobBytes) {
      return false;
    }
    entries[target] = Entry{userName, blob};
    return true;
  }
  bool Remove(const std::string& target) override {
    if (refuseRemoves) return false;
    return entries.erase(target) > 0;
  }
};

struct SentRequest {
  std::wstring method;
  std::string url;
  std::string body;
  std::string bearerToken;
  std::string deviceHash;
};

// Checks every field of a request sent through FakeHosted (the device hash is always the fake's).
inline void ExpectRequest(const SentRequest& sent, const std::wstring& method, const std::string& url,
                          const std::string& body, const std::string& bearerToken);

// Answers requests from a script, in order, and records what was sent. When the script runs
// out it answers as an unreachable network would.
class ScriptedNetwork {
 public:
  std::deque<HttpResult> replies;
  std::vector<SentRequest> sent;

  void Reply(int status, std::string body) { replies.push_back(HttpResult{status, std::move(body), ""}); }
  void Unreachable() { replies.push_back(HttpResult{0, "", "request failed (offline? wrong url?)"}); }

  HttpFn Fn() {
    return [this](const std::wstring& method, const std::string& url, const std::string& body,
                  const std::string& token, const std::string& hash) {
      sent.push_back(SentRequest{method, url, body, token, hash});
      if (replies.empty()) return HttpResult{0, "", "request failed (offline? wrong url?)"};
      HttpResult next = replies.front();
      replies.pop_front();
      return next;
    };
  }
};

inline constexpr const char* kTestDeviceHash =
    "0f1e2d3c4b5a69788796a5b4c3d2e1f00f1e2d3c4b5a69788796a5b4c3d2e1f0";

// A hosted context over the fakes, with a fixed identity.
struct FakeHosted {
  FakeVault vault;
  SessionStore store{vault};
  ScriptedNetwork network;

  HostedContext Context() {
    HostedContext context;
    context.http = network.Fn();
    context.session = &store;
    context.deviceHash = [] { return std::string(kTestDeviceHash); };
    context.deviceLabel = [] { return std::string("DESK-7"); };
    return context;
  }
};

inline void ExpectRequest(const SentRequest& sent, const std::wstring& method, const std::string& url,
                          const std::string& body, const std::string& bearerToken) {
  EXPECT_EQ(sent.method, method);
  EXPECT_EQ(sent.url, url);
  EXPECT_EQ(sent.body, body);
  EXPECT_EQ(sent.bearerToken, bearerToken);
  EXPECT_EQ(sent.deviceHash, kTestDeviceHash);
}
