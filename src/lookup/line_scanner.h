// Lines of an 8-bit text file, read a block at a time, and the lines that hold a search term.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "lookup/block_reader.h"
#include "lookup/term.h"
#include "platform/files.h"
#include "platform/threads.h"

namespace tavo {

// A line ends at CR or at CR LF, the line end not included; a line feed alone does not end a
// line, and a last line without a line end is read like any other. The rest of a line is
// carried over into the room before the next block, or, when longer than that room, into a
// buffer of its own, so memory grows only with the longest line. Each line handed out is valid
// until the next call.
class LineScanner {
 public:
  static constexpr std::size_t kBlockSize = 256 * 1024;

  // `file`, and `threads` where given, must outlive the scanner. With `threads`, next_match has
  // every other block read and searched on a thread of its own where a processor is free for it.
  explicit LineScanner(platform::InputFile& file, std::size_t block_size = kBlockSize,
                       platform::Threads* threads = nullptr);

  // The next line, or nullopt at the end of the file. Read failures pass to the caller.
  std::optional<std::string_view> next_line();

  // The next line that holds `term` wholly inside it, or nullopt at the end of the file; lines
  // before it are passed over. An empty term is held by every line that is not empty; a term
  // with a CR is held by no line. Every call must pass the same term: a copy of it is tuned to
  // the file's first block.
  std::optional<std::string_view> next_match(const Term& term);

 private:
  // Puts the next block behind the held bytes; false at the end of the file.
  bool fill();
  // Moves the held bytes, [begin_, end_) of data_, to `to` of `region` (unless they were moved
  // there already), and every place with them.
  void carry(char* region, std::size_t to, bool moved_already = false);
  // Drops the LF of a CR LF whose CR ended the previous line.
  bool drop_line_feed();
  // Hands out [begin_, end) and moves past the line end at `end`.
  std::string_view take_line(std::size_t end);

  std::size_t block_size_;
  std::size_t room_;              // before each block, for the rest of a line
  std::unique_ptr<char[]> long_;  // a line longer than the room, and the block behind it
  std::size_t long_capacity_ = 0;
  char* data_ = nullptr;      // the region that offsets count from: a block's room, or long_
  std::size_t begin_ = 0;     // the first byte of the current line
  std::size_t end_ = 0;       // the end of the bytes read
  std::size_t searched_ = 0;  // no line end, or no start of a hit, lies in [begin_, searched_)
  std::size_t cr_free_ = 0;   // no CR lies in [begin_, cr_free_) while no hit was found
  std::size_t walked_ = 0;    // a character begins here, when begin_ <= walked_
  // Where the last block begins, and whether the reader's thread found no whole match in it:
  // then only a match that begins before it and ends in it is left to find.
  std::size_t block_start_ = 0;
  bool block_clear_ = false;
  std::optional<Term> tuned_;
  bool after_cr_ = false;  // the previous line ended at a CR that was the last byte read
  bool at_end_ = false;
  BlockReader reader_;  // last: its thread ends before the term and the memory it uses go
};

}  // namespace tavo
