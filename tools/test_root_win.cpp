// test-root.exe: trusts (or stops trusting) a test certificate authority inside a Wine prefix, so
// that the HTTPS tests can give the stand-in service a certificate of their own making.
//
//   test-root.exe add CA.der      adds the DER certificate to the current user's root store
//   test-root.exe remove CA.der   removes it again
//
// It changes the root store of the Wine prefix it runs in and nothing else; it refuses to run
// outside Wine, so it can never make a real Windows machine trust a test authority. Exits 0 when
// done, 1 with a line on standard output when not.
#include <windows.h>
#include <wincrypt.h>

#include <cstdio>
#include <cwchar>
#include <vector>

#include "core/unique_handle_win.h"

namespace {

void CloseStore(HCERTSTORE store) noexcept { CertCloseStore(store, 0); }
void FreeCertificate(PCCERT_CONTEXT certificate) noexcept { CertFreeCertificateContext(certificate); }
using UniqueStore = UniqueHandle<HCERTSTORE, &CloseStore>;
using UniqueCertificate = UniqueHandle<PCCERT_CONTEXT, &FreeCertificate>;

bool UnderWine() {
  const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

std::vector<BYTE> ReadFileBytes(const wchar_t* path) {
  std::vector<BYTE> bytes;
  FILE* file = _wfopen(path, L"rb");
  if (!file) return bytes;
  BYTE chunk[4096];
  size_t read = 0;
  while ((read = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes.insert(bytes.end(), chunk, chunk + read);
  std::fclose(file);
  return bytes;
}

int Fail(const char* what) {
  std::printf("test-root: %s (error 0x%08lX)\n", what, GetLastError());
  return 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 3 || (std::wcscmp(argv[1], L"add") != 0 && std::wcscmp(argv[1], L"remove") != 0)) {
    std::printf("usage: test-root.exe add|remove CA.der\n");
    return 1;
  }
  if (!UnderWine()) {
    std::printf("test-root: refusing to change the root store of a real Windows machine\n");
    return 1;
  }
  const std::vector<BYTE> der = ReadFileBytes(argv[2]);
  UniqueCertificate certificate(
      der.empty() ? nullptr
                  : CertCreateCertificateContext(X509_ASN_ENCODING, der.data(), static_cast<DWORD>(der.size())));
  if (!certificate) return Fail("not a DER certificate");
  // The registry's own part of the root store: it keeps the certificate for later processes.
  UniqueStore root(CertOpenStore(CERT_STORE_PROV_SYSTEM_REGISTRY_W, 0, 0, CERT_SYSTEM_STORE_CURRENT_USER, L"Root"));
  if (!root) return Fail("the root store cannot be opened");
  if (std::wcscmp(argv[1], L"add") == 0) {
    if (!CertAddCertificateContextToStore(root.get(), certificate.get(), CERT_STORE_ADD_REPLACE_EXISTING, nullptr)) {
      return Fail("the certificate cannot be added");
    }
    return 0;
  }
  // The store hands out its own copy; deleting it also frees it.
  PCCERT_CONTEXT stored =
      CertFindCertificateInStore(root.get(), X509_ASN_ENCODING, 0, CERT_FIND_EXISTING, certificate.get(), nullptr);
  if (!stored) return Fail("the certificate is not in the root store");
  if (!CertDeleteCertificateFromStore(stored)) return Fail("the certificate cannot be removed");
  return 0;
}
