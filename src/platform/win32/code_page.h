// Text between the core's UTF-16 and the system's code pages: ANSI for programs, OEM for the
// command interpreters.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "platform/files.h"

namespace tavo::platform::win32 {

// The core's UTF-16 text as the W functions take it, and back.
std::wstring to_wide(std::u16string_view text);
std::u16string from_wide(std::wstring_view text);

// `text` in the ANSI or the OEM code page exactly, or nullopt when the code page cannot hold it
// (no best-fit replacement, no default character) or it holds a NUL.
std::optional<std::string> encode(std::u16string_view text, Encoding encoding);
inline std::optional<std::string> to_ansi(std::u16string_view text) {
  return encode(text, Encoding::ansi);
}
// `text` in the ANSI code page for showing: what the code page cannot hold becomes its default
// character. Never fails.
std::string to_ansi_shown(std::u16string_view text);
// Bytes in the ANSI code page as text. A sequence that the code page does not define is
// decoded as the system decodes it for display. Never fails.
std::u16string from_ansi(std::string_view bytes);

}  // namespace tavo::platform::win32
