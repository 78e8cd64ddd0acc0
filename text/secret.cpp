#include "text/secret.h"

#include <cstring>
#include <utility>

namespace orvane {

void WipeBytes(char* bytes, std::size_t size) {
  volatile char* target = bytes;
  for (std::size_t i = 0; i < size; ++i) target[i] = 0;
}

Secret::Secret(std::string_view text) {
  for (const char c : text) Append(c);
}

Secret::Secret(Secret&& other) noexcept
    : bytes_(std::move(other.bytes_)),
      size_(std::exchange(other.size_, 0)),
      capacity_(std::exchange(other.capacity_, 0)) {}

Secret& Secret::operator=(Secret&& other) noexcept {
  if (this != &other) {
    Wipe();
    bytes_ = std::move(other.bytes_);
    size_ = std::exchange(other.size_, 0);
    capacity_ = std::exchange(other.capacity_, 0);
  }
  return *this;
}

void Secret::Append(char c) {
  if (size_ == capacity_) {
    // 64 bytes hold any password a person types; a longer one grows by
    // copying into a new buffer and wiping the old one.
    const std::size_t size = size_;
    const std::size_t capacity = capacity_ == 0 ? 64 : capacity_ * 2;
    auto bytes = std::make_unique<char[]>(capacity);
    if (size > 0) std::memcpy(bytes.get(), bytes_.get(), size);
    Wipe();
    bytes_ = std::move(bytes);
    size_ = size;
    capacity_ = capacity;
  }
  bytes_[size_++] = c;
}

void Secret::Wipe() {
  if (bytes_) WipeBytes(bytes_.get(), capacity_);
  bytes_.reset();
  size_ = capacity_ = 0;
}

}  // namespace orvane
