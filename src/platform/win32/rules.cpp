// Rules of Windows that hold without it: code-page flags and the argument text.
#include "platform/win32/rules.h"

namespace tavo::platform::win32 {

namespace {

// Code pages whose conversions take no flags and no default-character arguments: symbol,
// ISO-2022, HZ, GB18030, ISCII and UTF-7.
bool takes_no_flags(std::uint32_t code_page) {
  return code_page == 42 || (code_page >= 50220 && code_page <= 50229) || code_page == 52936 ||
         code_page == 54936 || (code_page >= 57002 && code_page <= 57011) || code_page == 65000;
}

}  // namespace

CodePageRules code_page_rules(std::uint32_t code_page) {
  if (code_page == kUtf8CodePage) {
    // An unpaired surrogate makes the conversion fail instead of becoming U+FFFD.
    return {kWcErrInvalidChars, false, false, kMbErrInvalidChars};
  }
  if (takes_no_flags(code_page)) return {0, false, true, 0};
  return {kWcNoBestFitChars, true, false, kMbErrInvalidChars};
}

std::u16string argument_text_of(std::u16string_view command_line) {
  std::size_t at = 0;
  if (!command_line.empty() && command_line[0] == u'"') {
    const std::size_t closing = command_line.find(u'"', 1);
    at = closing == std::u16string_view::npos ? command_line.size() : closing + 1;
  } else {
    at = command_line.find_first_of(u" \t");
    if (at == std::u16string_view::npos) at = command_line.size();
  }
  if (at < command_line.size() && (command_line[at] == u' ' || command_line[at] == u'\t')) ++at;
  return std::u16string(command_line.substr(at));
}

}  // namespace tavo::platform::win32
