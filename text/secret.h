#pragma once
// A password in memory of its own. Its bytes live on the heap from the first
// one on, so a move hands over the pointer and leaves no copy behind (a short
// std::string would copy them into the other object and keep its own); it
// cannot be copied; and every buffer it gives up is overwritten first: when
// it grows, when it is wiped and when it goes.

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace orvane {

// Overwrites the bytes so that the compiler cannot drop the writes as dead
// stores.
void WipeBytes(char* bytes, std::size_t size);
inline void WipeString(std::string& text) {
  WipeBytes(text.data(), text.size());
  text.clear();
}

class Secret {
 public:
  Secret() = default;
  // Takes a copy of text; wiping the original is the caller's.
  explicit Secret(std::string_view text);
  Secret(Secret&& other) noexcept;
  Secret& operator=(Secret&& other) noexcept;
  Secret(const Secret&) = delete;
  Secret& operator=(const Secret&) = delete;
  ~Secret() { Wipe(); }

  void Append(char c);
  void PopBack() {
    if (size_ > 0) bytes_[--size_] = '\0';
  }
  std::string_view View() const { return {bytes_.get(), size_}; }
  bool Empty() const { return size_ == 0; }
  // Overwrites the bytes and frees them.
  void Wipe();

 private:
  std::unique_ptr<char[]> bytes_;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
};

}  // namespace orvane
