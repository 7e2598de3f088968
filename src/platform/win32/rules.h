// Rules of Windows that hold without it, so that tests on any system reach them: the flags that
// each code page accepts, and how the argument text is cut from the command line.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tavo::platform::win32 {

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

// The argument text of `command_line` (as GetCommandLine gives it): the program's name, quoted
// or not, and the one blank or tab after it are dropped; every other character stays.
std::u16string argument_text_of(std::u16string_view command_line);

}  // namespace tavo::platform::win32
