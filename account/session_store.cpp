#include "account/session_store.h"

#include "account/session_blob.h"

namespace {
// The credential's user name: the e-mail address, or the product's name when there is none.
std::string CredentialUserName(const SessionTokens& tokens) {
  return tokens.email.empty() ? std::string("Tavisk") : tokens.email;
}
}  // namespace

SessionTokens SessionStore::Read() {
  std::lock_guard<std::mutex> lock(mutex_);
  LoadOnce();
  return tokens_;
}

void SessionStore::Save(const SessionTokens& tokens) {
  std::lock_guard<std::mutex> lock(mutex_);
  SaveLocked(tokens);
}

void SessionStore::Clear() {
  std::lock_guard<std::mutex> lock(mutex_);
  ClearLocked();
}

SessionTokens SessionStore::SaveIfCurrent(const std::string& refreshedFrom,
                                          const SessionTokens& tokens) {
  std::lock_guard<std::mutex> lock(mutex_);
  LoadOnce();
  if (tokens_.refreshToken == refreshedFrom) SaveLocked(tokens);
  return tokens_;
}

SessionTokens SessionStore::ClearIfCurrent(const std::string& refreshedFrom) {
  std::lock_guard<std::mutex> lock(mutex_);
  LoadOnce();
  if (tokens_.refreshToken == refreshedFrom) ClearLocked();
  return tokens_;
}

void SessionStore::LoadOnce() {
  if (loaded_) return;
  loaded_ = true;
  if (std::optional<std::string> blob = LoadSessionBlob(vault_)) ApplySessionBlob(*blob, tokens_);
}

void SessionStore::SaveLocked(const SessionTokens& tokens) {
  loaded_ = true;
  tokens_ = tokens;
  // A refused write keeps the session for this run only; the stored copy is removed rather than
  // left behind stale.
  StoreSessionBlob(vault_, CredentialUserName(tokens_), SessionBlob(tokens_));
}

void SessionStore::ClearLocked() {
  loaded_ = true;
  tokens_ = SessionTokens{};
  RemoveSessionBlob(vault_);
}
