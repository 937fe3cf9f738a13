// Diagnostic report: whether the credential store, which keeps the hosted session, can be written,
// read and cleaned up. Only a test entry of its own is touched.
#include <windows.h>

#include "account/credential_vault.h"
#include "app/diagnose_probes_win.h"

namespace {
constexpr char kTestTarget[] = "TaviskDiagnose";
constexpr char kTestBlob[] = "Tavisk diagnostic test entry";
}  // namespace

DiagnosticLine ProbeCredentialStore() {
  const char* check = "Credential store";
  CredentialVault& vault = SystemCredentialVault();
  if (!vault.Write(kTestTarget, "Tavisk", kTestBlob)) {
    return Failed(check, "a test entry could not be written", FormatWin32Error(GetLastError()));
  }
  const std::optional<std::string> back = vault.Read(kTestTarget);
  const DWORD readError = GetLastError();
  const bool removed = vault.Remove(kTestTarget);
  const DWORD removeError = GetLastError();
  if (!back || *back != kTestBlob) {
    return Failed(check, "a test entry was written but could not be read back", FormatWin32Error(readError));
  }
  if (!removed) return Failed(check, "the test entry could not be removed again", FormatWin32Error(removeError));
  return Passed(check, "a test entry was written, read back and removed");
}
