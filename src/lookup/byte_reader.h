// A file's bytes in file order, a block at a time; it knows nothing of lines or terms.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/files.h"

namespace tavo {

// How a lookup reads; chosen once for the lookup.
struct ReadSizes {
  std::size_t block = 256 * 1024;  // read at a time
  std::size_t room = 64 * 1024;    // of the bytes before a block that stay in memory
};

// The memory that files are read into: made once for a lookup and lent to each file in turn.
class ReadBuffer {
 public:
  explicit ReadBuffer(const ReadSizes& sizes);
  const ReadSizes& sizes() const { return sizes_; }
  char* room_end() const { return room_end_; }  // where a block is read to; room lies before it

 private:
  ReadSizes sizes_;
  std::unique_ptr<char[]> memory_;  // left uninitialised: a page costs only once read into
  char* room_end_ = nullptr;
};

// Hands out [from, to) of a file in order, a block at a time, into `buffer`: a file that grows
// meanwhile is read up to `to` (its size when opened), in one run of bytes; one that is cut
// shorter ends where the cut is met.
class ByteReader {
 public:
  struct Window {
    const char* data = nullptr;  // the window's first byte
    std::size_t size = 0;        // 0 at the end of the file
    std::uint64_t offset = 0;    // where `data` lies in the file
    std::size_t before = 0;      // how many bytes before `data` are the file's, there too
  };

  // `file` and `buffer` must outlive the reader.
  ByteReader(platform::InputFile& file, std::uint64_t from, std::uint64_t to, ReadBuffer& buffer);
  ByteReader(const ByteReader&) = delete;
  ByteReader& operator=(const ByteReader&) = delete;

  // The next window; of the bytes before it, at least min(keep, room) stay before it. The window
  // handed out before is gone. Throws tavo::Error when the file cannot be read.
  Window next(std::size_t keep);
  // [from, to) of the file into `out`, read again: up to where the file ends now. Throws.
  void read_again(std::uint64_t from, std::uint64_t to, std::string& out);

 private:
  platform::InputFile& file_;
  ReadBuffer& buffer_;
  std::uint64_t end_;   // where the reading ends: `to`, or where the file was found cut
  std::uint64_t next_;  // where the next window begins
  Window window_;
};

}  // namespace tavo
