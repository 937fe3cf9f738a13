#pragma once
// The stored form of a session: the JSON blob, and how it is laid out in the credential store.
#include <optional>
#include <string>

#include "account/credential_vault.h"
#include "account/session_store.h"

inline constexpr const char* kSessionTarget = "TaviskSession";
// A blob too large for one entry is split over at most this many part entries.
inline constexpr int kMaxSessionParts = 8;

// {"access_token":A,"refresh_token":R,"email":E} with JSON-quoted values, no blanks.
std::string SessionBlob(const SessionTokens& tokens);
// Takes each of the three keys that is present with a string value; the others keep their value.
// A blob that is not a JSON object changes nothing.
void ApplySessionBlob(const std::string& blob, SessionTokens& tokens);

// Writes the blob under kSessionTarget: as the entry itself when it fits, otherwise as parts
// "TaviskSession/1".. with a small index in the main entry, written last. On any refused write
// every entry is removed, so a later start never reads a stale or half-written session.
// Returns whether the blob is stored.
bool StoreSessionBlob(CredentialVault& vault, const std::string& userName, const std::string& blob);
// The stored blob, joined from its parts when split; nothing when absent or inconsistent.
std::optional<std::string> LoadSessionBlob(CredentialVault& vault);
// Deletes the main entry and every part entry; missing entries are not an error.
void RemoveSessionBlob(CredentialVault& vault);
