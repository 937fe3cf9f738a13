// The credential vault over the Windows Credential Manager: generic credentials, persisted for
// the local machine.
#include <windows.h>
#include <wincred.h>

#include <memory>

#include "account/credential_vault.h"
#include "core/unique_handle_win.h"
#include "core/utf.h"

namespace {

using CredentialPtr = UniqueHandle<CREDENTIALW*, [](CREDENTIALW* credential) { CredFree(credential); }>;

class CredentialManagerVault final : public CredentialVault {
 public:
  std::optional<std::string> Read(const std::string& target) override {
    std::wstring name = Utf8ToWide(target);
    CREDENTIALW* raw = nullptr;
    if (!CredReadW(name.c_str(), CRED_TYPE_GENERIC, 0, &raw)) return std::nullopt;
    const CredentialPtr owner(raw);
    if (!raw->CredentialBlob || raw->CredentialBlobSize == 0) return std::string();
    return std::string(reinterpret_cast<const char*>(raw->CredentialBlob), raw->CredentialBlobSize);
  }

  bool Write(const std::string& target, const std::string& userName, const std::string& blob) override {
    if (blob.size() > kMaxCredentialBlobBytes) return false;
    std::wstring name = Utf8ToWide(target);
    std::wstring user = Utf8ToWide(userName);
    std::string bytes = blob;
    CREDENTIALW credential{};
    credential.Type = CRED_TYPE_GENERIC;
    credential.TargetName = name.data();
    credential.Persist = CRED_PERSIST_LOCAL_MACHINE;
    credential.UserName = user.data();
    credential.CredentialBlobSize = static_cast<DWORD>(bytes.size());
    credential.CredentialBlob = bytes.empty() ? nullptr : reinterpret_cast<BYTE*>(bytes.data());
    return CredWriteW(&credential, 0) != FALSE;
  }

  bool Remove(const std::string& target) override {
    std::wstring name = Utf8ToWide(target);
    return CredDeleteW(name.c_str(), CRED_TYPE_GENERIC, 0) != FALSE;
  }
};

}  // namespace

CredentialVault& SystemCredentialVault() {
  static CredentialManagerVault vault;
  return vault;
}
