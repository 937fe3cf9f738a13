#include "account/device_identity.h"

std::string DeviceLabelFrom(DeviceIdentitySource& source) {
  std::optional<std::string> name = source.ComputerName();
  return name && !name->empty() ? *name : std::string("Windows PC");
}

std::string DeviceHashFrom(DeviceIdentitySource& source) {
  std::string text = kDeviceHashPrefix;
  std::optional<std::string> guid = source.MachineGuid();
  text += guid && !guid->empty() ? *guid : DeviceLabelFrom(source);
  std::optional<Sha256Digest> digest = source.Sha256(text);
  return digest ? HexDigest(*digest) : std::string(64, '0');
}

std::string HexDigest(const Sha256Digest& digest) {
  static const char kHex[] = "0123456789abcdef";
  std::string hex;
  hex.reserve(digest.size() * 2);
  for (uint8_t byte : digest) {
    hex += kHex[byte >> 4];
    hex += kHex[byte & 0x0F];
  }
  return hex;
}
