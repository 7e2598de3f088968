// Files of tavo.exe.
#pragma once

#include "platform/files.h"

namespace tavo::platform::win32 {

// Files through their own handles; text is in the ANSI or the OEM code page. Only disk files can
// be opened for reading.
class Win32FileSystem final : public FileSystem {
 public:
  void remove(std::u16string_view path) override;
  std::unique_ptr<AppendFile> open_append(std::u16string_view path, Encoding encoding) override;
  std::unique_ptr<InputFile> open_read(std::u16string_view path) override;
  std::unique_ptr<TextFile> open_write(std::u16string_view path) override;
  std::u16string decode(std::string_view bytes) const override;
  std::optional<std::string> encode(std::u16string_view text, Encoding encoding) const override;
  // IsDBCSLeadByteEx on the ANSI code page.
  LeadBytes lead_bytes() const override;
};

}  // namespace tavo::platform::win32
