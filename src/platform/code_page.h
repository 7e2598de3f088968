// How text goes to and from a Windows code page exactly: the flags that each code page accepts.
#pragma once

#include <cstdint>

namespace tavo::platform {

inline constexpr std::uint32_t kUtf8CodePage = 65001;
// The flag values of WideCharToMultiByte and MultiByteToWideChar.
inline constexpr std::uint32_t kWcErrInvalidChars = 0x80;
inline constexpr std::uint32_t kWcNoBestFitChars = 0x400;
inline constexpr std::uint32_t kMbErrInvalidChars = 0x08;

// The arguments that make a conversion exact, or make it fail, on one code page. UTF-8 accepts
// only the flags 0 and WC_ERR_INVALID_CHARS, and no default-character arguments; the stateful
// and the UTF-7 code pages accept only 0 for both, so best-fit cannot be turned off there and
// only decoding the result again shows a replaced character.
struct CodePageRules {
  std::uint32_t encode_flags;  // dwFlags of WideCharToMultiByte
  bool ask_default_used;       // pass lpUsedDefaultChar, and refuse a text that needed it
  bool compare_round_trip;     // decode the result and refuse it unless it gives the text back
  std::uint32_t decode_flags;  // dwFlags of MultiByteToWideChar for an exact reading
};

CodePageRules code_page_rules(std::uint32_t code_page);

}  // namespace tavo::platform
