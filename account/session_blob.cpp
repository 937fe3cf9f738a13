#include "account/session_blob.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

#include "net/json.h"

namespace {

std::string PartTarget(int index) { return std::string(kSessionTarget) + "/" + std::to_string(index); }

// Detects parts of two different writes joined together; not a defence against tampering, which
// the credential store's own access control covers.
std::string Checksum(const std::string& bytes) {
  uint64_t hash = 14695981039346656037ull;
  for (unsigned char c : bytes) {
    hash ^= c;
    hash *= 1099511628211ull;
  }
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
  return text;
}

std::string IndexBlob(int parts, const std::string& blob) {
  return "{\"parts\":" + std::to_string(parts) + ",\"length\":" + std::to_string(blob.size()) +
         ",\"check\":" + JsonQuote(Checksum(blob)) + "}";
}

struct SplitIndex {
  int parts = 0;
  size_t length = 0;
  std::string check;
};

// An index entry has "parts" and never the session's own keys.
std::optional<SplitIndex> ParseIndex(const std::string& blob) {
  JsonValue root = JsonParse(blob);
  if (root.type != JsonValue::Object || JsonFind(root, "access_token")) return std::nullopt;
  const JsonValue* parts = JsonFind(root, "parts");
  const JsonValue* length = JsonFind(root, "length");
  const JsonValue* check = JsonFind(root, "check");
  if (!parts || parts->type != JsonValue::Number) return std::nullopt;
  SplitIndex index;
  bool valid = parts->number >= 2 && parts->number <= kMaxSessionParts &&
               parts->number == std::floor(parts->number) && length &&
               length->type == JsonValue::Number && length->number >= 0 &&
               length->number <= double(kMaxSessionParts * kMaxCredentialBlobBytes) && check &&
               check->type == JsonValue::String;
  if (!valid) return SplitIndex{};  // an index, but an unusable one
  index.parts = static_cast<int>(parts->number);
  index.length = static_cast<size_t>(length->number);
  index.check = check->string;
  return index;
}

std::optional<std::string> JoinParts(CredentialVault& vault, const SplitIndex& index) {
  if (index.parts == 0) return std::nullopt;
  std::string blob;
  for (int i = 1; i <= index.parts; ++i) {
    std::optional<std::string> part = vault.Read(PartTarget(i));
    if (!part) return std::nullopt;
    blob += *part;
  }
  if (blob.size() != index.length || Checksum(blob) != index.check) return std::nullopt;
  return blob;
}

void RemovePartsFrom(CredentialVault& vault, int first) {
  for (int i = first; i <= kMaxSessionParts; ++i) vault.Remove(PartTarget(i));
}

bool StoreSplit(CredentialVault& vault, const std::string& userName, const std::string& blob) {
  const size_t size = kMaxCredentialBlobBytes;
  const int parts = static_cast<int>((blob.size() + size - 1) / size);
  if (parts > kMaxSessionParts) return false;
  for (int i = 0; i < parts; ++i) {
    if (!vault.Write(PartTarget(i + 1), userName, blob.substr(i * size, size))) return false;
  }
  // The index goes last: until it is written, a start still finds the previous entry, whose
  // check no longer matches if it was an index too, and so reads no session at all.
  if (!vault.Write(kSessionTarget, userName, IndexBlob(parts, blob))) return false;
  RemovePartsFrom(vault, parts + 1);
  return true;
}

}  // namespace

std::string SessionBlob(const SessionTokens& tokens) {
  return "{\"access_token\":" + JsonQuote(tokens.accessToken) +
         ",\"refresh_token\":" + JsonQuote(tokens.refreshToken) +
         ",\"email\":" + JsonQuote(tokens.email) + "}";
}

void ApplySessionBlob(const std::string& blob, SessionTokens& tokens) {
  JsonValue root = JsonParse(blob);
  if (root.type != JsonValue::Object) return;
  auto take = [&root](const char* key, std::string& field) {
    const JsonValue* value = JsonFind(root, key);
    if (value && value->type == JsonValue::String) field = value->string;
  };
  take("access_token", tokens.accessToken);
  take("refresh_token", tokens.refreshToken);
  take("email", tokens.email);
}

bool StoreSessionBlob(CredentialVault& vault, const std::string& userName, const std::string& blob) {
  bool stored = false;
  if (blob.size() <= kMaxCredentialBlobBytes) {
    stored = vault.Write(kSessionTarget, userName, blob);
    if (stored) RemovePartsFrom(vault, 1);
  } else {
    stored = StoreSplit(vault, userName, blob);
  }
  if (!stored) RemoveSessionBlob(vault);
  return stored;
}

std::optional<std::string> LoadSessionBlob(CredentialVault& vault) {
  std::optional<std::string> blob = vault.Read(kSessionTarget);
  if (!blob) return std::nullopt;
  std::optional<SplitIndex> index = ParseIndex(*blob);
  if (!index) return blob;
  return JoinParts(vault, *index);
}

void RemoveSessionBlob(CredentialVault& vault) {
  vault.Remove(kSessionTarget);
  RemovePartsFrom(vault, 1);
}
