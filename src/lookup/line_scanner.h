// Lines of an 8-bit text file, read a block at a time, and the lines that hold a search term.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "lookup/term.h"
#include "platform/files.h"

namespace tavo {

// A line ends at CR or at CR LF, the line end not included; a line feed alone does not end a
// line, and a last line without a line end is read like any other. Only the current line, at
// most a page before it and one block are held, so memory grows only with the longest line.
// Each line handed out is valid until the next call.
class LineScanner {
 public:
  static constexpr std::size_t kBlockSize = 256 * 1024;

  // `file` must outlive the scanner.
  explicit LineScanner(platform::InputFile& file, std::size_t block_size = kBlockSize);

  // The next line, or nullopt at the end of the file. Read failures pass to the caller.
  std::optional<std::string_view> next_line();

  // The next line that holds `term` wholly inside it, or nullopt at the end of the file; lines
  // before it are passed over. An empty term is held by every line that is not empty; a term
  // with a CR is held by no line. Every call must pass the same term: a copy of it is tuned to
  // the file's first block.
  std::optional<std::string_view> next_match(const Term& term);

 private:
  // Reads one more block behind the held bytes; false at the end of the file.
  bool fill();
  // Drops the LF of a CR LF whose CR ended the previous line.
  bool drop_line_feed();
  // Hands out [begin_, end) and moves past the line end at `end`.
  std::string_view take_line(std::size_t end);

  platform::InputFile& file_;
  std::size_t block_size_;
  std::size_t align_;  // reads land on a multiple of it
  // Left uninitialised: a page of it costs the system only when a read first fills it.
  std::unique_ptr<char[]> buffer_;
  char* data_ = nullptr;  // the first page boundary in the buffer, where offsets count from
  std::size_t capacity_ = 0;
  std::size_t begin_ = 0;     // the first byte of the current line
  std::size_t end_ = 0;       // the end of the bytes read
  std::size_t searched_ = 0;  // no line end, or no start of a hit, lies in [begin_, searched_)
  std::size_t cr_free_ = 0;   // no CR lies in [begin_, cr_free_) while no hit was found
  std::size_t walked_ = 0;    // a character begins here, when begin_ <= walked_
  std::optional<Term> tuned_;
  bool after_cr_ = false;  // the previous line ended at a CR that was the last byte read
  bool at_end_ = false;
};

}  // namespace tavo
