// The session store and device identity against the real Credential Manager, registry and CNG.
#include <windows.h>
#include <wincred.h>
#include <wincrypt.h>

#include <gtest/gtest.h>

#include <memory>

#include "account/device_identity.h"
#include "account/session_blob.h"
#include "account/session_store.h"

namespace {

struct StoredCredential {
  bool found = false;
  DWORD error = 0;
  DWORD type = 0;
  DWORD persist = 0;
  std::wstring userName;
  std::string blob;
};

// Reads the entry straight from the Credential Manager, past the code under test.
StoredCredential ReadCredential(const wchar_t* target) {
  StoredCredential stored;
  CREDENTIALW* raw = nullptr;
  if (!CredReadW(target, CRED_TYPE_GENERIC, 0, &raw)) {
    stored.error = GetLastError();
    return stored;
  }
  std::unique_ptr<CREDENTIALW, decltype(&CredFree)> credential(raw, &CredFree);
  stored.found = true;
  stored.type = credential->Type;
  stored.persist = credential->Persist;
  stored.userName = credential->UserName ? credential->UserName : L"";
  stored.blob.assign(reinterpret_cast<const char*>(credential->CredentialBlob),
                     credential->CredentialBlobSize);
  return stored;
}

class CredentialStore : public ::testing::Test {
 protected:
  void SetUp() override { SessionStore(SystemCredentialVault()).Clear(); }
  void TearDown() override { SessionStore(SystemCredentialVault()).Clear(); }
};

// The SHA-256 of `text` through the older CryptoAPI, independent of the CNG path under test.
std::string CryptoApiSha256Hex(const std::string& text) {
  HCRYPTPROV provider = 0;
  if (!CryptAcquireContextW(&provider, nullptr, nullptr, PROV_RSA_AES, CRYPT_VERIFYCONTEXT)) return "";
  HCRYPTHASH hash = 0;
  std::string hex;
  if (CryptCreateHash(provider, CALG_SHA_256, 0, 0, &hash)) {
    BYTE digest[32];
    DWORD size = sizeof digest;
    if (CryptHashData(hash, reinterpret_cast<const BYTE*>(text.data()), static_cast<DWORD>(text.size()), 0) &&
        CryptGetHashParam(hash, HP_HASHVAL, digest, &size, 0) && size == 32) {
      char pair[3];
      for (BYTE b : digest) {
        wsprintfA(pair, "%02x", b);
        hex += pair;
      }
    }
    CryptDestroyHash(hash);
  }
  CryptReleaseContext(provider, 0);
  return hex;
}

}  // namespace

TEST_F(CredentialStore, RoundTripsValuesWithQuotesAndBackslashes) {
  SessionTokens saved{"eyJ\"access\\token\"", "re\\fresh \"\xc3\xa9\"", "ad\xc3\xa9@example.org"};
  SessionStore(SystemCredentialVault()).Save(saved);

  StoredCredential stored = ReadCredential(L"TaviskSession");
  ASSERT_TRUE(stored.found);
  EXPECT_EQ(stored.type, static_cast<DWORD>(CRED_TYPE_GENERIC));
  EXPECT_EQ(stored.persist, static_cast<DWORD>(CRED_PERSIST_LOCAL_MACHINE));
  EXPECT_EQ(stored.userName, L"ad\u00e9@example.org");
  EXPECT_EQ(stored.blob,
            "{\"access_token\":\"eyJ\\\"access\\\\token\\\"\",\"refresh_token\":\"re\\\\fresh "
            "\\\"\xc3\xa9\\\"\",\"email\":\"ad\xc3\xa9@example.org\"}");

  EXPECT_EQ(SessionStore(SystemCredentialVault()).Read(), saved);
}

TEST_F(CredentialStore, EmptyEmailIsStoredUnderTavisk) {
  SessionStore(SystemCredentialVault()).Save(SessionTokens{"a", "r", ""});
  StoredCredential stored = ReadCredential(L"TaviskSession");
  ASSERT_TRUE(stored.found);
  EXPECT_EQ(stored.userName, L"Tavisk");
  EXPECT_EQ(stored.blob, "{\"access_token\":\"a\",\"refresh_token\":\"r\",\"email\":\"\"}");
}

TEST_F(CredentialStore, ClearThenReadGivesEmptyTokens) {
  SessionStore store(SystemCredentialVault());
  store.Save(SessionTokens{"a", "r", "e@example.org"});
  store.Clear();
  EXPECT_EQ(store.Read(), SessionTokens{});
  EXPECT_EQ(SessionStore(SystemCredentialVault()).Read(), SessionTokens{});
  EXPECT_EQ(ReadCredential(L"TaviskSession").error, static_cast<DWORD>(ERROR_NOT_FOUND));
}

TEST_F(CredentialStore, TokensTooLongForOneCredentialSurviveARestart) {
  SessionTokens saved{"", "r-\"long\"", "ada@example.org"};
  saved.accessToken.assign(3000 - SessionBlob(saved).size(), 'x');
  ASSERT_EQ(SessionBlob(saved).size(), 3000u);

  SessionStore store(SystemCredentialVault());
  store.Save(saved);
  EXPECT_EQ(store.Read(), saved);
  EXPECT_EQ(SessionStore(SystemCredentialVault()).Read(), saved);

  StoredCredential index = ReadCredential(L"TaviskSession");
  ASSERT_TRUE(index.found);
  EXPECT_LE(index.blob.size(), kMaxCredentialBlobBytes);
  EXPECT_EQ(index.blob.find("access_token"), std::string::npos);
  EXPECT_TRUE(ReadCredential(L"TaviskSession/2").found);

  store.Clear();
  EXPECT_FALSE(ReadCredential(L"TaviskSession/1").found);
  EXPECT_FALSE(ReadCredential(L"TaviskSession/2").found);
}

TEST(DeviceIdentityWin, HashIsSha256OfThePrefixedMachineGuid) {
  wchar_t guid[128] = {};
  DWORD size = sizeof guid;
  ASSERT_EQ(RegGetValueW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Cryptography", L"MachineGuid",
                         RRF_RT_REG_SZ | RRF_SUBKEY_WOW6464KEY, nullptr, guid, &size),
            ERROR_SUCCESS);
  char narrow[128] = {};
  ASSERT_GT(WideCharToMultiByte(CP_UTF8, 0, guid, -1, narrow, sizeof narrow, nullptr, nullptr), 1);
  std::string expected = CryptoApiSha256Hex(std::string("taviskorn-v1:") + narrow);
  ASSERT_EQ(expected.size(), 64u);
  EXPECT_EQ(DeviceHash(), expected);
  EXPECT_EQ(DeviceHash(), expected);  // the same value on every call
  // The independent hash itself is right: SHA-256 of "abc".
  EXPECT_EQ(CryptoApiSha256Hex("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
}

TEST(DeviceIdentityWin, LabelIsTheComputerName) {
  char name[MAX_COMPUTERNAME_LENGTH + 1] = {};
  DWORD length = sizeof name;
  ASSERT_TRUE(GetComputerNameA(name, &length));
  EXPECT_EQ(DeviceLabel(), std::string(name, length));
}

