#include "account/device_identity.h"

#include <gtest/gtest.h>

namespace {

// Records the text it is asked to hash and answers with a digest derived from its length.
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
    for (size_t i = 0; i < digest.size(); ++i) digest[i] = static_cast<uint8_t>(i * 17 + bytes.size());
    return digest;
  }
};

}  // namespace

TEST(DeviceIdentity, HashesThePrefixedMachineGuid) {
  FakeIdentity source;
  source.guid = "6f1e0c4a-98b2-4d51-a3a7-2cbb1f0e9d11";
  source.name = "DESK-7";
  std::string hash = DeviceHashFrom(source);
  EXPECT_EQ(source.hashedText, "taviskorn-v1:6f1e0c4a-98b2-4d51-a3a7-2cbb1f0e9d11");
  ASSERT_EQ(hash.size(), 64u);
  EXPECT_EQ(hash.find_first_not_of("0123456789abcdef"), std::string::npos);
}

TEST(DeviceIdentity, FallsBackToTheDeviceLabelWithoutAMachineGuid) {
  FakeIdentity source;
  source.name = "DESK-7";
  DeviceHashFrom(source);
  EXPECT_EQ(source.hashedText, "taviskorn-v1:DESK-7");
  source.guid = "";
  DeviceHashFrom(source);
  EXPECT_EQ(source.hashedText, "taviskorn-v1:DESK-7");
  source.name.reset();
  DeviceHashFrom(source);
  EXPECT_EQ(source.hashedText, "taviskorn-v1:Windows PC");
}

TEST(DeviceIdentity, FailedHashingGivesZeros) {
  FakeIdentity source;
  source.guid = "g";
  source.hashFails = true;
  EXPECT_EQ(DeviceHashFrom(source), std::string(64, '0'));
}

TEST(DeviceIdentity, LabelIsTheComputerNameOrAGenericName) {
  FakeIdentity source;
  source.name = "LAB-PC-04";
  EXPECT_EQ(DeviceLabelFrom(source), "LAB-PC-04");
  source.name = "";
  EXPECT_EQ(DeviceLabelFrom(source), "Windows PC");
  source.name.reset();
  EXPECT_EQ(DeviceLabelFrom(source), "Windows PC");
}

TEST(DeviceIdentity, HexDigestIsLowerCaseHighNibbleFirst) {
  Sha256Digest digest{};
  digest[0] = 0xA5;
  digest[1] = 0x0F;
  digest[31] = 0xF0;
  std::string hex = HexDigest(digest);
  EXPECT_EQ(hex.substr(0, 4), "a50f");
  EXPECT_EQ(hex.substr(62), "f0");
  EXPECT_EQ(hex.size(), 64u);
}
