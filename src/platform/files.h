// Text files by Windows-style path, each open one owned by the caller alone.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace tavo::platform {

// The 8-bit encoding of a text file. Windows programs read the ANSI code page; the command
// interpreters (cmd.exe, COMMAND.COM) read batch files in the OEM code page, that of the console.
// Both are UTF-8 elsewhere, and on a Windows set to UTF-8.
enum class Encoding : std::uint8_t { ansi, oem };

// An open file; text is written in the encoding it was opened with, and a text that the
// encoding cannot hold exactly is not written.
class TextFile {
 public:
  virtual ~TextFile() = default;
  // Throws tavo::Error when the text cannot be encoded or written.
  virtual void write(std::u16string_view text) = 0;
  // Throws tavo::Error when the file cannot be flushed and closed.
  virtual void close() = 0;
};

// A file open for appending: each write goes to its end.
class AppendFile : public TextFile {
 public:
  // The file's last `count` bytes, or all of it when it is shorter. Throws tavo::Error when they
  // cannot be read.
  virtual std::string last_bytes(std::size_t count) = 0;
  // Cuts the last `count` bytes off the file; the next write goes where they were. Throws
  // tavo::Error when it cannot.
  virtual void cut_end(std::size_t count) = 0;
};

// A file open for reading, as raw bytes; closed when destroyed. One thread reads it at a time.
class InputFile {
 public:
  virtual ~InputFile() = default;
  // The file's size when it was opened: a file is read as one run of bytes up to there, and
  // what is appended to it meanwhile is not read.
  virtual std::uint64_t size() const = 0;
  // Reads up to `size` bytes from `offset` into `buffer` and returns how many; 0 only where the
  // file now ends, which a program writing it may have cut shorter. Throws tavo::Error when the
  // file cannot be read.
  virtual std::size_t read_at(std::uint64_t offset, char* buffer, std::size_t size) = 0;
  // The same file once more, for a second thread, whose reads then do not wait for this one's.
  // Throws tavo::Error when it cannot be opened again.
  virtual std::unique_ptr<InputFile> open_again() const = 0;
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
  // Creates the file, or cuts it to length 0 when it exists, for text in the ANSI code page;
  // throws tavo::Error when it cannot.
  virtual std::unique_ptr<TextFile> open_write(std::u16string_view path) = 0;
  // The text of bytes in the system's 8-bit encoding. Never fails: a byte sequence that the
  // encoding does not define becomes U+FFFD.
  virtual std::u16string decode(std::string_view bytes) const = 0;
  // The bytes of `text` in `encoding`, or nullopt when the encoding cannot hold it exactly.
  virtual std::optional<std::string> encode(std::u16string_view text, Encoding encoding) const = 0;
  // The lead bytes of the system's 8-bit encoding.
  virtual LeadBytes lead_bytes() const = 0;
  // Throws tavo::Error when there is no such file or it cannot be deleted.
  virtual void remove(std::u16string_view path) = 0;
  // Opens for reading and appending text in `encoding`, creating the file when missing; no other
  // program may write to it until it is closed. Throws tavo::Error when it cannot.
  virtual std::unique_ptr<AppendFile> open_append(std::u16string_view path, Encoding encoding) = 0;
};

// The system's files.
std::unique_ptr<FileSystem> make_file_system();

}  // namespace tavo::platform
