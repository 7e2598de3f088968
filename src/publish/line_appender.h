// Appending whole lines to a text file, so that they begin on a line of their own.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/files.h"

namespace tavo {

// How a text file ends, as appending needs to know it.
struct TextEnd {
  std::size_t marks = 0;        // the end-of-file marks (character 26) it ends in
  bool needs_line_end = false;  // its text before them is not empty and does not end a line
};

// The end of a file from its last bytes: all of them, or enough to hold one byte that is not a
// mark. CR and LF each end a line.
TextEnd text_end(std::string_view tail);

// A text file open for appending lines. Old editors end a file with marks of 26, and COMMAND.COM
// stops reading at the first: they are taken away, as DOS's own ">>" does, so that what is
// appended is read. A file whose last line has no line end gets CR LF before the first write,
// so that its last line and the new one stay apart. The rest of the file is left as it was.
class LineAppender {
 public:
  // Opens `path`, creating it when missing. Throws tavo::Error when it cannot be opened, read
  // or cut.
  LineAppender(platform::FileSystem& files, std::u16string_view path, platform::Encoding encoding);
  // Writes `text`, whose lines each end in CR LF, in one write. Throws tavo::Error.
  void write(std::u16string_view text);
  // Throws tavo::Error when the file cannot be closed.
  void close();

 private:
  std::unique_ptr<platform::AppendFile> file_;
  bool line_end_first_ = false;
};

// Appends each line followed by CR LF to `path` in `encoding`, and closes the file. A step that
// fails is skipped and the next one runs; writing to or closing a file that failed to open fails
// in turn. True when every step succeeded.
bool append_lines(platform::FileSystem& files, std::u16string_view path,
                  platform::Encoding encoding, std::initializer_list<std::u16string_view> lines);

}  // namespace tavo
