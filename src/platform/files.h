// Text files by Windows-style path, each open one owned by the caller alone.
#pragma once

#include <array>
#include <cstddef>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "base/error.h"

namespace tavo::platform {

// An open file. Text is written in the system's 8-bit encoding (the ANSI code page on
// Windows, UTF-8 elsewhere); a text that the encoding cannot hold exactly is not written.
class TextFile {
 public:
  virtual ~TextFile() = default;
  // Throws tavo::Error when the text cannot be encoded or written.
  virtual void write(std::u16string_view text) = 0;
  // Throws tavo::Error when the file cannot be flushed and closed.
  virtual void close() = 0;
};

// A file open for reading, read as raw bytes a block at a time; closed when destroyed.
class InputFile {
 public:
  virtual ~InputFile() = default;
  // Reads up to `size` bytes into `buffer` and returns how many; 0 only at the end of the file.
  // Throws tavo::Error when the file cannot be read.
  virtual std::size_t read(char* buffer, std::size_t size) = 0;
};

// The bytes that begin a two-byte character of a double-byte code page (932, 936, 949, 950).
// None are marked on a single-byte code page, nor on UTF-8, where no character begins inside
// another.
using LeadBytes = std::array<bool, 256>;

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // Opens an existing plain file for reading. Throws tavo::Error when it is missing or cannot be
  // read, and when the name is that of a folder or a device (NUL, CON, a pipe), which could
  // otherwise block or never end.
  virtual std::unique_ptr<InputFile> open_read(std::u16string_view path) = 0;
  // Creates the file, or cuts it to length 0 when it exists; throws tavo::Error when it cannot.
  virtual std::unique_ptr<TextFile> open_write(std::u16string_view path) = 0;
  // The text of bytes in the system's 8-bit encoding. Never fails: a byte sequence that the
  // encoding does not define becomes U+FFFD.
  virtual std::u16string decode(std::string_view bytes) const = 0;
  // The bytes of `text` in the system's 8-bit encoding, or nullopt when the encoding cannot hold
  // it exactly.
  virtual std::optional<std::string> encode(std::u16string_view text) const = 0;
  // The lead bytes of the system's 8-bit encoding.
  virtual LeadBytes lead_bytes() const = 0;
  // Throws tavo::Error when there is no such file or it cannot be deleted.
  virtual void remove(std::u16string_view path) = 0;
  // Opens for appending, creating the file when missing; throws tavo::Error when it cannot.
  virtual std::unique_ptr<TextFile> open_append(std::u16string_view path) = 0;
};

// Opens `path` for appending, writes each line followed by CR LF, and closes the file. A
// step that fails is skipped and the next one runs; writing to or closing a file that failed
// to open fails in turn. True when every step succeeded.
inline bool append_lines(FileSystem& files, std::u16string_view path,
                         std::initializer_list<std::u16string_view> lines) {
  std::unique_ptr<TextFile> file;
  const auto opened = [&]() -> TextFile& {
    if (!file) throw Error("the file is not open");
    return *file;
  };
  bool ok = attempt([&] { file = files.open_append(path); });
  for (const std::u16string_view line : lines) {
    ok &= attempt([&] { opened().write(std::u16string(line) + u"\r\n"); });
  }
  ok &= attempt([&] { opened().close(); });
  return ok;
}

}  // namespace tavo::platform
