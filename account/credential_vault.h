#pragma once
// A per-user store of small secret entries, each named by a target and holding one byte blob
// (the platform's credential manager). The session store is written against this interface.
#include <cstddef>
#include <optional>
#include <string>

class CredentialVault {
 public:
  virtual ~CredentialVault() = default;
  // The entry's blob, or nothing when there is no readable entry.
  virtual std::optional<std::string> Read(const std::string& target) = 0;
  // Creates or replaces the entry; false when the store refused it. `userName` is UTF-8.
  virtual bool Write(const std::string& target, const std::string& userName,
                     const std::string& blob) = 0;
  // Deletes the entry; false when it could not be deleted (including when there was none).
  virtual bool Remove(const std::string& target) = 0;
};

// The largest blob the Windows Credential Manager accepts (CRED_MAX_CREDENTIAL_BLOB_SIZE).
inline constexpr std::size_t kMaxCredentialBlobBytes = 5 * 512;

// Windows: the Credential Manager, generic credentials persisted for the local machine.
CredentialVault& SystemCredentialVault();
