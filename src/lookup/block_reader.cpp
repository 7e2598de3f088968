// A file's blocks in file order, read and searched ahead on a thread of its own where it can.
#include "lookup/block_reader.h"

#include <cstring>
#include <utility>

namespace tavo {

namespace {

constexpr std::size_t kPage = 4096;
// How long the caller waits for a block the thread holds, in looks: the spinning, then some
// thousands of turns given to other threads, milliseconds in all and dozens of times what
// reading and searching a block takes. Longer, and the thread has lost its processor.
constexpr long kPatience = 8192;

}  // namespace

BlockReader::BlockReader(platform::InputFile& file, std::size_t block_size, std::size_t room,
                         platform::Threads* threads)
    : file_(file), block_size_(block_size), candidate_threads_(threads) {
  // Each block begins on a page boundary where it can (room and block in whole pages), where
  // the system copies fastest.
  const std::size_t stride = room + block_size;
  buffer_ = std::make_unique_for_overwrite<char[]>((2 + kRing) * stride + kPage - 1);
  char* at =
      buffer_.get() + (kPage - reinterpret_cast<std::uintptr_t>(buffer_.get()) % kPage) % kPage;
  for (char*& own : own_) own = (at += stride) - block_size;
  for (Slot& slot : ring_) slot.data = (at += stride) - block_size;
}

BlockReader::~BlockReader() {
  stop_.store(true, std::memory_order_release);
  thread_.reset();  // joins, once the block the thread reads is read
}

void BlockReader::search_for(const Term& term) {
  // On one processor, the thread and its caller would only take turns: no gain, and waits.
  if (candidate_threads_ == nullptr || candidate_threads_->processors() < 2 || at_end_ || thread_) {
    return;
  }
  try {
    own_file_ = file_.open_again();
  } catch (const std::exception&) {
    return;  // read in turn, as on one processor
  }
  threads_ = candidate_threads_;
  term_ = &term;
  base_ = offset_;
  thread_ = threads_->start([this] { run(); });
}

BlockReader::Block BlockReader::next(std::string_view carry) {
  Block block;
  const auto place_carry = [&](char* data) {
    if (!carry.empty()) std::memmove(data - carry.size(), carry.data(), carry.size());
    block.data = data;
  };
  if (threads_ == nullptr) {
    place_carry(own_[handed_ % 2]);
    if (!at_end_) {
      block.size = in_turn_since_ring_ ? read_block(file_, offset_, block.data)
                                       : file_.read(block.data, block_size_);
    }
    offset_ += block.size;
    if (block.size == 0 || (in_turn_since_ring_ && block.size < block_size_)) at_end_ = true;
  } else {
    const std::uint64_t index = current_++;
    Slot& slot = ring_slot(index);
    // The rest of the line goes before its block first; then the block it came from may take
    // a block ahead.
    place_carry(slot.data);
    in_use_.store(index + 1, std::memory_order_release);
    if (take(index)) {
      block.size = read_block(file_, base_ + index * block_size_, block.data);
    } else {
      // The thread has the block: meanwhile, fill the next free slots as it does.
      long looks = 0;
      bool late = false;
      wait_until([&] {
        if (slot.filled.load(std::memory_order_acquire) == index + 1) return true;
        const std::uint64_t ahead = next_free_.load(std::memory_order_acquire);
        if (ahead < index + kRing && take(ahead)) fill(file_, ahead);
        return late = ++looks > kPatience;
      });
      if (late && slot.filled.load(std::memory_order_acquire) != index + 1) {
        // Left to finish alone: the rest of the file is read in turn, into slots of its own.
        stop_.store(true, std::memory_order_release);
        threads_ = nullptr;
        in_turn_since_ring_ = true;
        offset_ = base_ + index * block_size_;
        carry = std::string_view(slot.data - carry.size(), carry.size());
        return next(carry);
      }
      if (slot.failure) std::rethrow_exception(std::exchange(slot.failure, nullptr));
      block = slot.found;
    }
    if (block.size < block_size_) at_end_ = true;
  }
  ++handed_;
  return block;
}

bool BlockReader::take(std::uint64_t index) {
  std::uint64_t expected = index;
  return next_free_.compare_exchange_strong(expected, index + 1, std::memory_order_acq_rel);
}

std::size_t BlockReader::read_block(platform::InputFile& file, std::uint64_t offset, char* data) {
  std::size_t got = 0;
  while (got < block_size_) {
    const std::size_t more = file.read_at(offset + got, data + got, block_size_ - got);
    if (more == 0) break;
    got += more;
  }
  return got;
}

void BlockReader::run() {
  for (;;) {
    std::uint64_t index = 0;
    // The caller's block and those up to a ring after it hold a slot each.
    wait_until([&] {
      index = next_free_.load(std::memory_order_acquire);
      return stop_.load(std::memory_order_acquire) ||
             index + 1 < in_use_.load(std::memory_order_acquire) + kRing;
    });
    if (stop_.load(std::memory_order_acquire)) return;
    if (take(index) && !fill(*own_file_, index))
      return;  // the end of the file: nothing behind it to read
  }
}

bool BlockReader::fill(platform::InputFile& file, std::uint64_t index) {
  Slot& slot = ring_slot(index);
  Block block;
  block.data = slot.data;
  try {
    block.size = read_block(file, base_ + index * block_size_, slot.data);
    block.searched = true;
    block.holds_term =
        term_->find(std::string_view(block.data, block.size), 0) != std::string_view::npos;
  } catch (...) {
    slot.failure = std::current_exception();
  }
  slot.found = block;
  slot.filled.store(index + 1, std::memory_order_release);
  return block.size == block_size_;
}

template <typename Ready>
void BlockReader::wait_until(Ready ready) {
  // A block is read, or searched, in some tens of microseconds: spinning that long costs less
  // than sleeping and waking, and the other thread has a processor of its own. A caller that
  // publishes a match may take much longer; then the thread rests.
  for (long looks = 0; !ready(); ++looks) {
    if (looks >= 100000) {
      candidate_threads_->rest();
    } else if (looks >= 4096) {
      candidate_threads_->yield();
    }
  }
}

}  // namespace tavo
