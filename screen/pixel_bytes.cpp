#include "screen/pixel_bytes.h"

#include <cstring>

void PixelBytes::resize(std::size_t size) {
  Reserve(size);
  size_ = size;
}

void PixelBytes::assign(std::size_t size, std::uint8_t value) {
  resize(size);
  if (size != 0) std::memset(data(), value, size);
}

void PixelBytes::push_back(std::uint8_t value) {
  if (size_ == capacity_) Reserve(std::max<std::size_t>(16, capacity_ * 2));
  bytes_[size_++] = value;
}

// `new std::uint8_t[n]` without braces: the bytes are allocated, not written.
void PixelBytes::Reserve(std::size_t capacity) {
  if (capacity <= capacity_) return;
  std::unique_ptr<std::uint8_t[]> grown(new std::uint8_t[capacity]);
  if (size_ != 0) std::memcpy(grown.get(), bytes_.get(), size_);
  bytes_ = std::move(grown);
  capacity_ = capacity;
}

void PixelBytes::Assign(const std::uint8_t* bytes, std::size_t size) {
  if (size > capacity_) {
    bytes_.reset(new std::uint8_t[size]);
    capacity_ = size;
  }
  size_ = size;
  if (size != 0) std::memcpy(bytes_.get(), bytes, size);
}
