#include "account/device_identity.h"

#include <gtest/gtest.h>

namespace {

// Records the text it is asked to hash; answers with the bytes (i * 0x11) mod 256.
class FakeIdentity : public DeviceIdentitySource {
 public:
  std::optional<std::string> guid;
  std::optional<std::string> name;
  bool hashFails = false;
  std::string hashedText;

  std::optional<std::string> MachineGuid() override { return guid; }
  std::optional<std::string> ComputerName() override { return name; }
  std::optional<Sha256Digest> Sha256(const std::string& bytes) override {
    hashedText = bytes;
    if (hashFails) return std::nullopt;
    Sha256Digest digest{};
    for (size_t i = 0; i < digest.size(); ++i) digest[i] = static_cast<uint8_t>(i * 0x11);
    return digest;
  }
};

}  // namespace

TEST(DeviceIdentity, HashesThePrefixedGuidOrFallsBackToTheLabel) {
  FakeIdentity source;
  source.guid = "6f1e0c4a-98b2-4d51-a3a7-2cbb1f0e9d11";
  source.name = "DESK-7";
  EXPECT_EQ(DeviceHashFrom(source), "00112233445566778899aabbccddeeff102132435465768798a9bacbdcedfe0f");
  EXPECT_EQ(source.hashedText, "taviskorn-v1:6f1e0c4a-98b2-4d51-a3a7-2cbb1f0e9d11");
  for (std::optional<std::string> missing : {std::optional<std::string>(), std::optional<std::string>("")}) {
    source.guid = missing;
    DeviceHashFrom(source);
    EXPECT_EQ(source.hashedText, "taviskorn-v1:DESK-7");
  }
  source.name = "";
  DeviceHashFrom(source);
  EXPECT_EQ(source.hashedText, "taviskorn-v1:Windows PC");
  source.hashFails = true;
  EXPECT_EQ(DeviceHashFrom(source), std::string(64, '0'));
}

TEST(DeviceIdentity, LabelIsTheComputerNameOrAGenericName) {
  FakeIdentity source;
  source.name = "LAB-PC-04";
  EXPECT_EQ(DeviceLabelFrom(source), "LAB-PC-04");
  source.name.reset();
  EXPECT_EQ(DeviceLabelFrom(source), "Windows PC");
}
