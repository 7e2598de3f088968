// The conversion flags that each Windows code page accepts.
#include "platform/code_page.h"

namespace tavo::platform {

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

}  // namespace tavo::platform
