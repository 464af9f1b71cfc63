// What the fuzz targets share: a property check that stops the run, and the
// fuzzer's bytes read one decision or one text at a time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace qfuzz {

inline void check(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "property failed: %s\n", what);
    std::abort();
  }
}

// The fuzzer's bytes, one decision at a time; zeros once they run out.
class Bytes {
 public:
  Bytes(const std::uint8_t* data, std::size_t size) : at_(data), end_(data + size) {}
  unsigned take() { return at_ < end_ ? *at_++ : 0; }
  // The bytes up to the next 0xFF (passed over) or the end.
  std::string text() {
    std::string out;
    while (at_ < end_ && *at_ != 0xFF) out += static_cast<char>(*at_++);
    if (at_ < end_) ++at_;
    return out;
  }

 private:
  const std::uint8_t* at_;
  const std::uint8_t* end_;
};

}  // namespace qfuzz
