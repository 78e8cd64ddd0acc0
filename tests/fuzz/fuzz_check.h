#pragma once
// What every fuzz target shares: the input as bytes, and a check that stops the
// run with a message when a property does not hold. libFuzzer takes the abort
// as a finding and saves the input that caused it.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace orvane::fuzz {

inline std::string_view Bytes(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

[[noreturn]] inline void Fail(const char* what, const char* file, int line) {
  std::fprintf(stderr, "%s:%d: property does not hold: %s\n", file, line, what);
  std::abort();
}

}  // namespace orvane::fuzz

#define FUZZ_CHECK(condition) \
  ((condition) ? void(0) : ::orvane::fuzz::Fail(#condition, __FILE__, __LINE__))
