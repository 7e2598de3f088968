// Text between UTF-16 and the ANSI and OEM code pages, exactly where it must be.
#include "platform/win32/code_page.h"

#include "platform/win32/rules.h"

namespace tavo::platform::win32 {

static_assert(kWcNoBestFitChars == WC_NO_BEST_FIT_CHARS);
static_assert(kMbErrInvalidChars == MB_ERR_INVALID_CHARS);

namespace {

// The code page of `encoding` as the conversion functions name it, and its number.
UINT code_page_id(Encoding encoding) {
  return encoding == Encoding::oem ? CP_OEMCP : CP_ACP;
}
UINT code_page_number(Encoding encoding) {
  return encoding == Encoding::oem ? GetOEMCP() : GetACP();
}

// `bytes` decoded with `flags`, or nullopt when the code page refuses them.
std::optional<std::u16string> decode_with(std::string_view bytes, Encoding encoding, DWORD flags) {
  if (bytes.empty()) return std::u16string();
  const UINT code_page = code_page_id(encoding);
  const int size = static_cast<int>(bytes.size());
  const int length = MultiByteToWideChar(code_page, flags, bytes.data(), size, nullptr, 0);
  if (length <= 0) return std::nullopt;
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  if (MultiByteToWideChar(code_page, flags, bytes.data(), size, wide.data(), length) != length) {
    return std::nullopt;
  }
  return from_wide(wide);
}

// One conversion under `rules`; nullopt when it fails or is not exact.
std::optional<std::string> encode_with(const std::wstring& wide, Encoding encoding,
                                       const CodePageRules& rules) {
  SetLastError(NO_ERROR);
  const UINT code_page = code_page_id(encoding);
  BOOL used_default = FALSE;
  BOOL* const ask = rules.ask_default_used ? &used_default : nullptr;
  const int length = static_cast<int>(wide.size());
  const int size = WideCharToMultiByte(code_page, rules.encode_flags, wide.data(), length, nullptr,
                                       0, nullptr, ask);
  if (size <= 0 || used_default) return std::nullopt;
  std::string out(static_cast<std::size_t>(size), '\0');
  if (WideCharToMultiByte(code_page, rules.encode_flags, wide.data(), length, out.data(), size,
                          nullptr, ask) != size ||
      used_default) {
    return std::nullopt;
  }
  if (rules.compare_round_trip) {
    const auto back = decode_with(out, encoding, 0);
    if (!back || to_wide(*back) != wide) return std::nullopt;
  }
  return out;
}

}  // namespace

std::wstring to_wide(std::u16string_view text) {
  return std::wstring(text.begin(), text.end());
}

std::u16string from_wide(std::wstring_view text) {
  return std::u16string(text.begin(), text.end());
}

std::optional<std::string> encode(std::u16string_view text, Encoding encoding) {
  if (text.empty()) return std::string();
  if (text.find(u'\0') != std::u16string_view::npos) return std::nullopt;
  const std::wstring wide = to_wide(text);
  if (auto exact = encode_with(wide, encoding, code_page_rules(code_page_number(encoding)))) {
    return exact;
  }
  // Windows 95 and NT 4.0 do not know WC_NO_BEST_FIT_CHARS; with no flags at all, only the
  // round trip shows a replaced character.
  if (GetLastError() == ERROR_INVALID_FLAGS || GetLastError() == ERROR_INVALID_PARAMETER) {
    return encode_with(wide, encoding, CodePageRules{0, false, true, 0});
  }
  return std::nullopt;
}

std::string to_ansi_shown(std::u16string_view text) {
  if (text.empty()) return {};
  const std::wstring wide = to_wide(text);
  const int length = static_cast<int>(wide.size());
  const int size =
      WideCharToMultiByte(CP_ACP, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return std::string(text.size(), '?');
  std::string out(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.data(), length, out.data(), size, nullptr, nullptr);
  return out;
}

std::u16string from_ansi(std::string_view bytes) {
  constexpr Encoding kAnsi = Encoding::ansi;
  if (auto exact = decode_with(bytes, kAnsi, code_page_rules(GetACP()).decode_flags)) {
    return *exact;
  }
  if (auto shown = decode_with(bytes, kAnsi, 0)) return *shown;
  return std::u16string(bytes.size(), u'\uFFFD');
}

}  // namespace tavo::platform::win32
