// Feeds arbitrary bytes to everything that reads hosted-service replies or stored sessions:
// the solve, verify, refresh and probe replies, and the credential entries of a session.
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

#include "account/session_blob.h"
#include "account/session_refresh.h"
#include "account/sign_in.h"
#include "tutor/hosted_solve.h"

namespace {

class MemoryVault : public CredentialVault {
 public:
  std::map<std::string, std::string> entries;
  std::optional<std::string> Read(const std::string& target) override {
    auto it = entries.find(target);
    if (it == entries.end()) return std::nullopt;
    return it->second;
  }
  bool Write(const std::string& target, const std::string&, const std::string& blob) override {
    if (blob.size() > kMaxCredentialBlobBytes) return false;
    entries[target] = blob;
    return true;
  }
  bool Remove(const std::string& target) override { return entries.erase(target) > 0; }
};

// The main entry and up to two parts, separated by NUL bytes in the input.
void LoadStoredSession(const std::string& input) {
  MemoryVault vault;
  size_t first = input.find('\0');
  vault.entries[kSessionTarget] = input.substr(0, first);
  if (first != std::string::npos) {
    size_t second = input.find('\0', first + 1);
    vault.entries["TaviskSession/1"] = input.substr(first + 1, second - first - 1);
    if (second != std::string::npos) vault.entries["TaviskSession/2"] = input.substr(second + 1);
  }
  SessionStore store(vault);
  store.Read();
}

// Every exchange answers with the same status and body.
void AnswerEveryRequest(int status, const std::string& body) {
  MemoryVault vault;
  SessionStore store(vault);
  store.Save(SessionTokens{"a", "r", "e"});
  HostedContext context;
  context.http = [&](auto&&...) { return HttpResult{status, body, ""}; };
  context.session = &store;
  TutorConfig config;
  config.backendUrl = "http://127.0.0.1:1/";
  HostedSolve(config, context, QueryKind::Ask, QueryQuality::Fast, body, "");
  VerifyCode(config, context, L"e", L"c");
  ProbeAccount(config, context);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  std::string rest(reinterpret_cast<const char*>(data) + 1, size - 1);
  static const int kStatuses[] = {200, 401, 429, 503, 0};
  if (data[0] & 0x80) {
    LoadStoredSession(rest);
  } else {
    AnswerEveryRequest(kStatuses[data[0] % 5], rest);
  }
  return 0;
}
