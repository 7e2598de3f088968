// Turning a fuzzer's bytes into the texts that tavo reads.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tavo::fuzz {

// Reads pieces off the front of the input, one after another.
class Input {
 public:
  Input(const std::uint8_t* data, std::size_t size)
      : bytes_(reinterpret_cast<const char*>(data), size) {}

  // One byte, or 0 when none are left.
  std::uint8_t byte() {
    if (bytes_.empty()) return 0;
    const auto b = static_cast<std::uint8_t>(bytes_.front());
    bytes_.remove_prefix(1);
    return b;
  }
  // Bytes up to the next `separator` byte (not included), or all that are left.
  std::string piece(char separator) {
    const std::size_t end = bytes_.find(separator);
    std::string out(bytes_.substr(0, end));
    bytes_.remove_prefix(end == std::string_view::npos ? bytes_.size() : end + 1);
    return out;
  }
  // The rest as UTF-16, two bytes a unit; an odd last byte is one unit of its own.
  std::u16string utf16() {
    std::u16string out;
    for (std::size_t i = 0; i < bytes_.size(); i += 2) {
      const auto low = static_cast<unsigned char>(bytes_[i]);
      const auto high = i + 1 < bytes_.size() ? static_cast<unsigned char>(bytes_[i + 1]) : 0U;
      out.push_back(static_cast<char16_t>(low | (high << 8)));
    }
    bytes_ = {};
    return out;
  }
  // The rest, each byte one UTF-16 unit (Latin-1), for texts that are mostly ASCII.
  std::u16string latin1() {
    std::u16string out;
    for (const char c : bytes_) out.push_back(static_cast<char16_t>(static_cast<unsigned char>(c)));
    bytes_ = {};
    return out;
  }

 private:
  std::string_view bytes_;
};

// Fails the run: the fuzzer reports the input that led here.
[[noreturn]] inline void violated() {
  __builtin_trap();
}

}  // namespace tavo::fuzz
