#pragma once
// This machine's identity for the hosted service: the device hash sent as a header on every
// hosted request, and the short device label sent with each solve.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

using Sha256Digest = std::array<uint8_t, 32>;

// The platform services the identity is made from.
class DeviceIdentitySource {
 public:
  virtual ~DeviceIdentitySource() = default;
  // The machine's stable identifier in UTF-8, or nothing when it cannot be read.
  virtual std::optional<std::string> MachineGuid() = 0;
  // The computer's name in UTF-8, or nothing when it cannot be read.
  virtual std::optional<std::string> ComputerName() = 0;
  // The SHA-256 digest of `bytes`, or nothing when hashing failed.
  virtual std::optional<Sha256Digest> Sha256(const std::string& bytes) = 0;
};

inline constexpr const char* kDeviceHashPrefix = "taviskorn-v1:";

// The computer name, or "Windows PC" when it is unknown or empty.
std::string DeviceLabelFrom(DeviceIdentitySource& source);
// 64 lower-case hex digits of SHA-256("taviskorn-v1:" + machine GUID, or the device label when
// the GUID is unknown or empty); 64 '0' characters when hashing fails.
std::string DeviceHashFrom(DeviceIdentitySource& source);
// Two lower-case hex digits a byte, high nibble first.
std::string HexDigest(const Sha256Digest& digest);

// Windows: the registry's MachineGuid, the computer name and CNG.
DeviceIdentitySource& SystemDeviceIdentity();
// Windows: computed on first use (thread-safe), then the same for the life of the process.
std::string DeviceHash();
std::string DeviceLabel();
