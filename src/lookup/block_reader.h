// A file's blocks in file order, read and searched ahead on a thread of its own where it can.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <memory>
#include <string_view>

#include "lookup/term.h"
#include "platform/files.h"
#include "platform/threads.h"

namespace tavo {

// Hands out a file's blocks in order, each in a slot with room before it that is the caller's.
// Once asked to search for a term, and where a second processor is free for it, a thread of
// its own takes the next blocks that nobody has taken yet, up to a ring of slots ahead, reads
// each and searches it; the caller does the same with any block it needs that the thread has
// not taken: the system's copying and the search run on both processors, each on memory that
// its own processor has just written. A thread that has held a block too long (its processor
// taken from it) is left to finish alone, and the caller reads the rest of the file in turn.
class BlockReader {
 public:
  struct Block {
    char* data = nullptr;     // its first byte; the `room` bytes before it are the caller's
    std::size_t size = 0;     // 0 at the end of the file
    bool searched = false;    // the reader's thread searched it: holds_term says what it found
    bool holds_term = false;  // a whole match of the term lies inside it
  };

  // `file` and `threads` (where given) must outlive the reader.
  BlockReader(platform::InputFile& file, std::size_t block_size, std::size_t room,
              platform::Threads* threads);
  // Stops the thread, which may be writing into the slots.
  ~BlockReader();
  BlockReader(const BlockReader&) = delete;
  BlockReader& operator=(const BlockReader&) = delete;

  // From the next block on, blocks are also read on a thread of its own, which searches them
  // for `term`; `term` must outlive the reader.
  void search_for(const Term& term);
  // The next block, with `carry` (the rest of a line, at most `room` bytes) just before it. The
  // blocks handed out before are gone: `carry` may lie in the last of them.
  Block next(std::string_view carry);

 private:
  static constexpr std::size_t kRing = 4;

  struct Slot {
    char* data = nullptr;
    std::atomic<std::uint64_t> filled{0};  // one more than the block the thread put here
    Block found;
    std::exception_ptr failure;
  };

  // The thread: takes blocks while the ring has room ahead of the caller, and fills them.
  void run();
  // Reads block `index` from `file` into its ring slot and searches it; false when the file
  // ended in it.
  bool fill(platform::InputFile& file, std::uint64_t index);
  // Takes block `index` for the caller or the thread; false when another took it.
  bool take(std::uint64_t index);
  // Reads from `offset` of `file` into `data`: a whole block, unless the file ends first.
  std::size_t read_block(platform::InputFile& file, std::uint64_t offset, char* data);
  // Waits until `ready()`: a while by spinning, then letting other threads run, then resting.
  template <typename Ready>
  void wait_until(Ready ready);
  // The ring slot of block `index`.
  Slot& ring_slot(std::uint64_t index) { return ring_[index % kRing]; }

  platform::InputFile& file_;                      // the caller's
  std::unique_ptr<platform::InputFile> own_file_;  // the thread's
  std::size_t block_size_;
  std::unique_ptr<char[]> buffer_;  // left uninitialised: a page costs only once read into
  char* own_[2] = {};               // the slots of blocks read in turn
  Slot ring_[kRing];                // the slots of blocks read by both
  platform::Threads* candidate_threads_;
  platform::Threads* threads_ = nullptr;  // while both read
  const Term* term_ = nullptr;
  std::uint64_t handed_ = 0;         // blocks handed out
  std::uint64_t offset_ = 0;         // where the next block begins in the file, read in turn
  bool in_turn_since_ring_ = false;  // the thread was left: read positions from offset_
  bool at_end_ = false;
  std::uint64_t base_ = 0;     // where the thread's counting of blocks begins in the file
  std::uint64_t current_ = 0;  // the caller's next block, counted so
  std::atomic<std::uint64_t> next_free_{0};  // the first block that nobody has taken
  // One more than the caller's block (0 while it holds a block read in turn): the thread takes
  // blocks up to a ring after it.
  std::atomic<std::uint64_t> in_use_{0};
  std::atomic<bool> stop_{false};
  std::unique_ptr<platform::Thread> thread_;  // last: it ends first
};

}  // namespace tavo
