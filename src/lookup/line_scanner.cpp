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
// Reads land on a multiple of this, or of the block when it is smaller.
constexpr std::size_t kPage = 4096;

}  // namespace

LineScanner::LineScanner(platform::InputFile& file, std::size_t block_size)
    : file_(file),
      block_size_(std::max<std::size_t>(block_size, 1)),
      align_(std::min(block_size_, kPage)) {}

bool LineScanner::fill() {
  if (at_end_) return false;
  // Drop the lines before the current one and keep the rest just below an aligned place, where
  // the next read then lands: the system copies into a page-aligned buffer fastest. Only once a
  // whole page (or block, when smaller) is passed over, so a line's bytes are moved at most once.
  if (begin_ >= align_) {
    const std::size_t held = end_ - begin_;
    const std::size_t to = (align_ - held % align_) % align_;
    std::memmove(data_ + to, data_ + begin_, held);
    const auto moved = [&](std::size_t place) { return place > begin_ ? place - begin_ + to : to; };
    end_ = to + held;
    searched_ = moved(searched_);
    cr_free_ = moved(cr_free_);
    walked_ = moved(walked_);
    begin_ = to;
  }
  // The buffer only grows, and by doubling, so a long line costs linear time. It starts at two
  // blocks, room for a block behind the rest of a line of up to one block.
  if (capacity_ < end_ + block_size_) {
    const std::size_t capacity = std::max({capacity_ * 2, end_ + block_size_, 2 * block_size_});
    auto grown = std::make_unique_for_overwrite<char[]>(capacity + kPage - 1);
    char* const data =
        grown.get() + (kPage - reinterpret_cast<std::uintptr_t>(grown.get()) % kPage) % kPage;
    if (end_ > 0) std::memcpy(data, data_, end_);
    buffer_ = std::move(grown);
    data_ = data;
    capacity_ = capacity;
  }
  const std::size_t got = file_.read(data_ + end_, block_size_);
  if (got == 0) {
    at_end_ = true;
    return false;
  }
  end_ += got;
  return true;
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
    }
    const Term& search = tuned_ ? *tuned_ : term;
    if (!hit) {
      const std::size_t at = search.find(held, searched_);
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
