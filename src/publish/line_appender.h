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
  std::size_t marks = 0;  // the end-of-file marks (character 26) it ends in
  // What its text before them needs so that it ends in CR LF: nothing when it is empty or ends
  // in CR LF, LF after a lone CR, and CR LF after anything else, a lone LF included.
  std::string_view line_end;
};

// The end of a file from its last bytes: all of them, or enough to hold two bytes that are not
// marks. A line ends at CR or CR LF, and COMMAND.COM takes the byte after a CR as its LF: a lone
// LF ends no line, and a line appended after a lone CR would lose its first character.
TextEnd text_end(std::string_view tail);

// A text file open for appending lines. Old editors end a file with marks of 26, and COMMAND.COM
// stops reading at the first: they are taken away, as DOS's own ">>" does, so that what is
// appended is read. A file that does not end in CR LF gets what it lacks of it before the first
// write, so that its last line and the new one stay apart. No other byte of the file changes.
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
  std::string_view line_end_first_;
};

// Appends each line followed by CR LF to `path` in `encoding`, and closes the file. A step that
// fails is skipped and the next one runs; writing to or closing a file that failed to open fails
// in turn. True when every step succeeded.
bool append_lines(platform::FileSystem& files, std::u16string_view path,
                  platform::Encoding encoding, std::initializer_list<std::u16string_view> lines);

}  // namespace tavo
