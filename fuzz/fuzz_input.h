// FuzzInput: takes typed values off the front of a fuzzer's byte string,
// so one input drives several choices (a separator, a number, a text).
// Reads past the end give zeros and empty texts, never fail. One thread.
#ifndef ZEL_FUZZ_FUZZ_INPUT_H_
#define ZEL_FUZZ_FUZZ_INPUT_H_

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace zel::fuzz {

class FuzzInput {
 public:
  FuzzInput(const std::uint8_t* data, std::size_t size)
      : bytes_(reinterpret_cast<const char*>(data), size) {}

  bool empty() const { return bytes_.empty(); }

  std::uint8_t Byte() {
    if (bytes_.empty()) return 0;
    const auto byte = static_cast<std::uint8_t>(bytes_.front());
    bytes_.remove_prefix(1);
    return byte;
  }

  bool Flag() { return (Byte() & 1) != 0; }

  // Any 64-bit pattern, NaNs and infinities included.
  double Double() {
    std::uint64_t bits = 0;
    for (int i = 0; i < 8; ++i) bits = (bits << 8) | Byte();
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
  }

  // A text whose length (at most `max`) is the next byte.
  std::string Text(std::size_t max = 255) {
    const std::size_t length = std::min<std::size_t>(Byte(), std::min(max, bytes_.size()));
    std::string text(bytes_.substr(0, length));
    bytes_.remove_prefix(length);
    return text;
  }

  // Whatever is left.
  std::string Rest() {
    std::string rest(bytes_);
    bytes_ = {};
    return rest;
  }

 private:
  std::string_view bytes_;
};

}  // namespace zel::fuzz

#endif  // ZEL_FUZZ_FUZZ_INPUT_H_
