#pragma once
// Byte storage for pixels that a capture or a conversion writes in full. Unlike a vector of bytes,
// growing it leaves the new bytes unwritten instead of zero-filling them first: a full-screen
// capture would otherwise write 8 MB of zeros just before GetDIBits overwrites them. Copies are
// plain memory copies. Otherwise it behaves like that vector, converts to it and compares with it.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <utility>
#include <vector>

class PixelBytes {
 public:
  using value_type = std::uint8_t;
  using size_type = std::size_t;
  using iterator = std::uint8_t*;
  using const_iterator = const std::uint8_t*;

  PixelBytes() = default;
  // `size` unwritten bytes.
  explicit PixelBytes(std::size_t size) { resize(size); }
  PixelBytes(std::initializer_list<std::uint8_t> bytes) { Assign(bytes.begin(), bytes.size()); }
  PixelBytes(const PixelBytes& other) { Assign(other.data(), other.size()); }
  PixelBytes(PixelBytes&& other) noexcept { Take(other); }
  PixelBytes& operator=(const PixelBytes& other) {
    if (this != &other) Assign(other.data(), other.size());
    return *this;
  }
  PixelBytes& operator=(PixelBytes&& other) noexcept {
    if (this != &other) Take(other);
    return *this;
  }
  PixelBytes& operator=(std::initializer_list<std::uint8_t> bytes) {
    Assign(bytes.begin(), bytes.size());
    return *this;
  }

  std::size_t size() const noexcept { return size_; }
  bool empty() const noexcept { return size_ == 0; }
  std::uint8_t* data() noexcept { return bytes_.get(); }
  const std::uint8_t* data() const noexcept { return bytes_.get(); }
  std::uint8_t& operator[](std::size_t i) noexcept { return bytes_[i]; }
  const std::uint8_t& operator[](std::size_t i) const noexcept { return bytes_[i]; }
  iterator begin() noexcept { return data(); }
  iterator end() noexcept { return data() + size_; }
  const_iterator begin() const noexcept { return data(); }
  const_iterator end() const noexcept { return data() + size_; }

  // Keeps the first bytes up to the new size; bytes added are unwritten.
  void resize(std::size_t size);
  void assign(std::size_t size, std::uint8_t value);
  void push_back(std::uint8_t value);

  operator std::vector<std::uint8_t>() const { return std::vector<std::uint8_t>(begin(), end()); }
  friend bool operator==(const PixelBytes& a, const PixelBytes& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end());
  }
  friend bool operator==(const PixelBytes& a, const std::vector<std::uint8_t>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end());
  }

 private:
  void Reserve(std::size_t capacity);
  void Assign(const std::uint8_t* bytes, std::size_t size);
  void Take(PixelBytes& other) noexcept {
    bytes_ = std::move(other.bytes_);
    size_ = std::exchange(other.size_, 0);
    capacity_ = std::exchange(other.capacity_, 0);
  }

  std::unique_ptr<std::uint8_t[]> bytes_;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
};
