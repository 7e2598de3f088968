// Lines of an 8-bit text file, and the lines that hold a search term.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include "lookup/byte_reader.h"
#include "lookup/term.h"

namespace tavo {

// A line ends at CR or at CR LF, the line end not included; a line feed alone does not end a
// line, and a last line without a line end is read like any other. Only the bytes that the
// reader holds are searched: a line costs no memory of its own unless it is handed out, when
// it is copied, or read again from the file where it is longer than what the reader keeps.
class LineScanner {
 public:
  // The lines of `reader`, from its first byte; where that lies inside the file, from the first
  // line that begins there or after it. With `term` (which must outlive the scanner), the lines
  // that hold it. The reader's room must hold the term.
  explicit LineScanner(ByteReader& reader, const Term* term = nullptr);

  // Only lines that begin before `offset` are read, the last of them to its end.
  void stop_at(std::uint64_t offset) { stop_ = offset; }

  // The next line, or nullopt at the end of the file. Valid until the next call. Read failures
  // pass to the caller.
  std::optional<std::string_view> next_line();

  // The next line that holds the term wholly inside it, or nullopt at the end of the file. An
  // empty term is held by every line that is not empty; a term with a CR is held by no line.
  // On a code page with two-byte characters, a term that begins on a character's second byte
  // is not held there.
  std::optional<std::string_view> next_match();

  // Where the scanner found the file's end, once it has: its size when opened, or less where it
  // was cut shorter.
  std::uint64_t file_end() const { return file_end_; }

 private:
  std::optional<std::string_view> next(bool every_line);
  // What is in memory: [memory_begin(), memory_end()) of the file, from memory() on.
  const char* memory() const { return window_.data - window_.before; }
  std::uint64_t memory_begin() const { return window_.offset - window_.before; }
  std::uint64_t memory_end() const { return window_.offset + window_.size; }
  // Where the byte at `offset` of the file is held, and the offset of a byte held.
  const char* place(std::uint64_t offset) const {
    return memory() + static_cast<std::size_t>(offset - memory_begin());
  }
  std::uint64_t offset_of(const char* held) const {
    return memory_begin() + static_cast<std::uint64_t>(held - memory());
  }
  char at(std::uint64_t offset) const { return *place(offset); }
  // The first CR held at or after `from`, and the last held in [from, to); the largest
  // uint64_t where there is none.
  std::uint64_t first_cr(std::uint64_t from) const;
  std::uint64_t last_cr(std::uint64_t from, std::uint64_t to) const;
  // The next window, keeping what is in memory from `keep_from` on; false at the end of the file.
  bool advance(std::uint64_t keep_from);
  // The first window; where the reader begins inside the file, the first line that begins there.
  bool start();
  // The line begins after the CR at `cr`, and after a LF that follows it.
  void line_after(std::uint64_t cr);
  void settle();
  // The current line, which holds a hit at `hit`, up to its end: copied, then the scanner is
  // past it. False when the file was found cut before it.
  bool take_line(std::uint64_t hit);

  ByteReader& reader_;
  const Term* term_;
  ByteReader::Window window_;
  std::uint64_t line_ = 0;      // where the current line begins
  bool after_cr_ = false;       // line_ follows a CR, and a LF there is still to be passed over
  std::uint64_t searched_ = 0;  // no hit begins in [line_, searched_)
  std::uint64_t stop_ = std::numeric_limits<std::uint64_t>::max();
  std::uint64_t file_end_ = std::numeric_limits<std::uint64_t>::max();
  bool started_ = false;
  bool done_ = false;
  bool reread_ = false;  // the line was read again, and found cut shorter
  std::string line_copy_;
};

}  // namespace tavo
