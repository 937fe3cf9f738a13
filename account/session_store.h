#pragma once
// The signed-in session of the hosted service, kept in memory and in the credential store.
#include <mutex>
#include <string>

#include "account/credential_vault.h"

struct SessionTokens {
  std::string accessToken;   // empty when signed out
  std::string refreshToken;  // empty when signed out
  std::string email;         // may be empty

  bool operator==(const SessionTokens&) const = default;
};

// One mutex guards the tokens and every credential call, so no reader sees a half-written session.
// The stored session is loaded on the first Read only; Save and Clear make loading unnecessary.
class SessionStore {
 public:
  explicit SessionStore(CredentialVault& vault) : vault_(vault) {}
  SessionStore(const SessionStore&) = delete;
  SessionStore& operator=(const SessionStore&) = delete;

  SessionTokens Read();
  // Replaces the session; a write the credential store refuses keeps it in memory for this run.
  void Save(const SessionTokens& tokens);
  // Signs out locally: empties the session and deletes the stored one.
  void Clear();

  // Compare-and-set forms for a refresh, which runs without the lock while the request is on the
  // wire: each acts only when the held refresh token is still `refreshedFrom`, so a refresh never
  // undoes a sign-out or a newer refresh made meanwhile. Both return the session now held.
  SessionTokens SaveIfCurrent(const std::string& refreshedFrom, const SessionTokens& tokens);
  SessionTokens ClearIfCurrent(const std::string& refreshedFrom);

 private:
  void LoadOnce();
  void SaveLocked(const SessionTokens& tokens);
  void ClearLocked();

  std::mutex mutex_;
  CredentialVault& vault_;
  SessionTokens tokens_;
  bool loaded_ = false;
};

// Windows: the one store of the process, over the Credential Manager.
SessionStore& ProcessSessionStore();
