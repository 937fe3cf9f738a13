// This machine's identity from the registry's MachineGuid, the computer name and CNG SHA-256.
#include <windows.h>
#include <bcrypt.h>

#include <cwchar>

#include "account/device_identity.h"
#include "core/unique_handle_win.h"
#include "core/utf.h"

namespace {

using RegistryKey = UniqueHandle<HKEY, [](HKEY key) { RegCloseKey(key); }>;
using AlgorithmProvider =
    UniqueHandle<BCRYPT_ALG_HANDLE, [](BCRYPT_ALG_HANDLE h) { BCryptCloseAlgorithmProvider(h, 0); }>;
using HashObject = UniqueHandle<BCRYPT_HASH_HANDLE, [](BCRYPT_HASH_HANDLE h) { BCryptDestroyHash(h); }>;

bool Ok(NTSTATUS status) { return status >= 0; }

class WindowsIdentity final : public DeviceIdentitySource {
 public:
  std::optional<std::string> MachineGuid() override {
    RegistryKey key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Cryptography", 0,
                      KEY_READ | KEY_WOW64_64KEY, key.put()) != ERROR_SUCCESS) {
      return std::nullopt;
    }
    wchar_t buffer[128] = {};  // 256 bytes
    DWORD type = 0;
    DWORD size = sizeof buffer;
    LSTATUS status = RegQueryValueExW(key.get(), L"MachineGuid", nullptr, &type,
                                      reinterpret_cast<BYTE*>(buffer), &size);
    if (status != ERROR_SUCCESS || type != REG_SZ || size <= 1) return std::nullopt;
    // The stated length may or may not count a terminating zero.
    size_t length = wcsnlen(buffer, size / sizeof(wchar_t));
    return WideToUtf8(std::wstring_view(buffer, length));
  }

  std::optional<std::string> ComputerName() override {
    wchar_t buffer[16] = {};
    DWORD length = 16;
    if (!GetComputerNameW(buffer, &length)) return std::nullopt;
    return WideToUtf8(std::wstring_view(buffer, length));
  }

  std::optional<Sha256Digest> Sha256(const std::string& bytes) override {
    AlgorithmProvider algorithm;
    HashObject hash;
    Sha256Digest digest{};
    bool ok = Ok(BCryptOpenAlgorithmProvider(algorithm.put(), BCRYPT_SHA256_ALGORITHM, nullptr, 0)) &&
              Ok(BCryptCreateHash(algorithm.get(), hash.put(), nullptr, 0, nullptr, 0, 0)) &&
              Ok(BCryptHashData(hash.get(),
                                reinterpret_cast<UCHAR*>(const_cast<char*>(bytes.data())),
                                static_cast<ULONG>(bytes.size()), 0)) &&
              Ok(BCryptFinishHash(hash.get(), digest.data(), static_cast<ULONG>(digest.size()), 0));
    if (!ok) return std::nullopt;
    return digest;
  }
};

}  // namespace

DeviceIdentitySource& SystemDeviceIdentity() {
  static WindowsIdentity identity;
  return identity;
}

std::string DeviceHash() {
  static const std::string hash = DeviceHashFrom(SystemDeviceIdentity());
  return hash;
}

std::string DeviceLabel() { return DeviceLabelFrom(SystemDeviceIdentity()); }
