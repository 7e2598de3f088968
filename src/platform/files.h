// Text files by Windows-style path, each open one owned by the caller alone.
#pragma once

#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>

#include "platform/error.h"

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

class FileSystem {
 public:
  virtual ~FileSystem() = default;
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
