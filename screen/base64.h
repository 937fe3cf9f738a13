#pragma once
// Standard base64 (RFC 4648 alphabet, "=" padding, no line breaks).
#include <cstddef>
#include <cstdint>
#include <string>

std::string Base64Encode(const std::uint8_t* data, std::size_t size);

// Base64Encode appended to `out`, which grows once, so a prefix and the text share one buffer.
void AppendBase64(std::string& out, const std::uint8_t* data, std::size_t size);
