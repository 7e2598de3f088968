// Lines of an 8-bit text file and the lines that hold a search term.
#include "lookup/line_scanner.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace tavo {

namespace {

constexpr char kCr = '\r';
constexpr char kLf = '\n';
constexpr std::size_t kNone = std::string_view::npos;
constexpr std::size_t kPage = 4096;

}  // namespace

LineScanner::LineScanner(platform::InputFile& file, std::size_t block_size,
                         platform::Threads* threads)
    // A quarter block of room, in whole pages, holds the rest of any line of a listing.
    : block_size_(std::max<std::size_t>(block_size, 1)),
      room_(block_size_ >= kPage ? (block_size_ / 4 + kPage - 1) / kPage * kPage : block_size_),
      reader_(file, block_size_, room_, threads) {}

void LineScanner::carry(char* region, std::size_t to, bool moved_already) {
  const std::size_t held = end_ - begin_;
  if (held > 0 && !moved_already) std::memmove(region + to, data_ + begin_, held);
  const auto moved = [&](std::size_t place) { return place > begin_ ? place - begin_ + to : to; };
  searched_ = moved(searched_);
  cr_free_ = moved(cr_free_);
  walked_ = moved(walked_);
  begin_ = to;
  end_ = to + held;
  data_ = region;
}

bool LineScanner::fill() {
  if (at_end_) return false;
  const std::size_t held = end_ - begin_;
  BlockReader::Block block;
  if (held <= room_) {
    // The reader puts the rest of the line just before the block, and the two are one text.
    block = reader_.next(std::string_view(data_ + begin_, held));
    carry(block.data - room_, room_ - held, true);
  } else {
    // A longer line and the blocks behind it gather in a buffer that grows by doubling, so a
    // long line costs linear time.
    const std::size_t wanted = held + block_size_;
    if (long_capacity_ < wanted) {
      const std::size_t capacity = std::max(2 * long_capacity_, wanted);
      auto grown = std::make_unique_for_overwrite<char[]>(capacity);
      carry(grown.get(), 0);  // before the old buffer, which may hold the line, goes
      long_ = std::move(grown);
      long_capacity_ = capacity;
    } else {
      carry(long_.get(), 0);
    }
    block = reader_.next({});
    std::memcpy(data_ + end_, block.data, block.size);
  }
  block_start_ = end_;
  block_clear_ = block.searched && !block.holds_term;
  end_ += block.size;
  if (block.size == 0) at_end_ = true;
  return block.size > 0;
}

bool LineScanner::drop_line_feed() {
  if (!after_cr_) return true;
  if (begin_ == end_ && !fill()) return false;
  after_cr_ = false;
  if (data_[begin_] == kLf) ++begin_;
  searched_ = std::max(searched_, begin_);
  return true;
}

std::string_view LineScanner::take_line(std::size_t end) {
  const std::string_view line(data_ + begin_, end - begin_);
  if (end < end_) {
    begin_ = end + 1;  // past the CR
    after_cr_ = true;
  } else {
    begin_ = end;  // the end of the file
  }
  searched_ = begin_;
  return line;
}

std::optional<std::string_view> LineScanner::next_line() {
  for (;;) {
    if (!drop_line_feed()) return std::nullopt;
    const std::string_view held(data_, end_);
    const std::size_t cr = held.find(kCr, searched_);
    if (cr != kNone) return take_line(cr);
    searched_ = end_;
    if (!fill()) {
      if (begin_ == end_) return std::nullopt;
      return take_line(end_);
    }
  }
}

std::optional<std::string_view> LineScanner::next_match(const Term& term) {
  const std::string& bytes = term.bytes();
  if (bytes.find(kCr) != kNone) return std::nullopt;
  if (bytes.empty()) {
    while (const auto line = next_line()) {
      if (!line->empty()) return line;
    }
    return std::nullopt;
  }
  bool hit = false;  // the current line holds the term; its end is still to be found
  for (;;) {
    if (!drop_line_feed()) return std::nullopt;
    const std::string_view held(data_, end_);
    if (!tuned_ && end_ > begin_) {
      tuned_.emplace(term);
      tuned_->tune(held.substr(begin_));
      reader_.search_for(*tuned_);
    }
    const Term& search = tuned_ ? *tuned_ : term;
    if (!hit) {
      // In a block that holds no whole match, one may only begin before it and end in it.
      const std::size_t limit =
          block_clear_ ? std::min(end_, block_start_ + bytes.size() - 1) : end_;
      const std::size_t at = search.find(held.substr(0, limit), searched_);
      if (at == kNone) {
        // Every whole line held is passed over; a hit may still begin in the last term-length
        // bytes. Only the bytes read since the last look can hold a CR, so a long line costs
        // linear time.
        const std::size_t fresh = std::max(begin_, cr_free_);
        const std::size_t last_cr = held.substr(fresh).rfind(kCr);
        if (last_cr != kNone) {
          begin_ = fresh + last_cr + 1;
          after_cr_ = true;
        }
        cr_free_ = end_;
        const std::size_t tail = end_ >= bytes.size() ? end_ - bytes.size() + 1 : 0;
        searched_ = std::max(begin_, tail);
        if (!fill()) return std::nullopt;
        continue;
      }
      // The line that holds the hit begins after the last CR before it, and after its LF.
      const std::size_t cr = held.rfind(kCr, at);
      if (cr != kNone && cr >= begin_) {
        begin_ = cr + 1;
        if (begin_ < end_ && held[begin_] == kLf) ++begin_;
        if (at < begin_) {  // the hit began with the LF of a line end
          searched_ = begin_;
          continue;
        }
      }
      if (term.multibyte()) {
        // A hit that begins on the second byte of a two-byte character is none. Characters
        // are counted from the line's start, or from where the last look left off.
        if (walked_ < begin_ || walked_ > at) walked_ = begin_;
        walked_ = term.character_start(held, walked_, at);
        if (walked_ != at) {
          searched_ = at + 1;
          continue;
        }
      }
      hit = true;
      searched_ = at + bytes.size();
    }
    const std::size_t line_end = held.find(kCr, searched_);
    if (line_end != kNone) return take_line(line_end);
    searched_ = end_;
    if (!fill()) return take_line(end_);
  }
}

}  // namespace tavo
