// Files of the Linux build.
#pragma once

#include <string>
#include <string_view>

#include "platform/files.h"

namespace tavo::platform::posix {

// Files through the C library; text is UTF-8 in both encodings. Paths are Windows-style, as
// to_posix_path maps them.
class PosixFileSystem final : public FileSystem {
 public:
  void remove(std::u16string_view path) override;
  std::unique_ptr<AppendFile> open_append(std::u16string_view path, Encoding encoding) override;
  std::unique_ptr<InputFile> open_read(std::u16string_view path) override;
  std::unique_ptr<TextFile> open_write(std::u16string_view path) override;
  std::u16string decode(std::string_view bytes) const override;
  std::optional<std::string> encode(std::u16string_view text, Encoding encoding) const override;
  // None: UTF-8 has no two-byte characters of that kind.
  LeadBytes lead_bytes() const override { return {}; }
};

// Writes all of `bytes`; false when the system refuses (errno tells why).
bool write_all(int descriptor, std::string_view bytes);

}  // namespace tavo::platform::posix
