// Lines of an 8-bit text file and the lines that hold a search term.
#include "lookup/line_scanner.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace tavo {

namespace {

constexpr char kCr = '\r';
constexpr char kLf = '\n';

constexpr std::uint64_t kNone = std::numeric_limits<std::uint64_t>::max();

}  // namespace

LineScanner::LineScanner(ByteReader& reader, const Term* term) : reader_(reader), term_(term) {}

std::uint64_t LineScanner::first_cr(std::uint64_t from) const {
  from = std::max(from, memory_begin());
  if (from >= memory_end()) return kNone;
  const void* cr = std::memchr(place(from), kCr, static_cast<std::size_t>(memory_end() - from));
  return cr == nullptr ? kNone : offset_of(static_cast<const char*>(cr));
}

std::uint64_t LineScanner::last_cr(std::uint64_t from, std::uint64_t to) const {
  // Eight bytes at a time, as a long line needs.
  using Word = std::uint64_t;
  constexpr Word kOnes = ~Word{0} / 0xFF;
  constexpr Word kHighs = kOnes * 0x80;
  constexpr Word kCrs = kOnes * static_cast<unsigned char>(kCr);
  const char* begin = place(from);
  const char* end = place(to);
  while (end - begin >= 8) {
    Word word = 0;
    std::memcpy(&word, end - 8, sizeof word);
    word ^= kCrs;
    if (((word - kOnes) & ~word & kHighs) != 0) break;  // a byte of it is a CR
    end -= 8;
  }
  while (end > begin) {
    if (*--end == kCr) return offset_of(end);
  }
  return kNone;
}

std::optional<std::string_view> LineScanner::next_line() {
  return next(true);
}

std::optional<std::string_view> LineScanner::next_match() {
  return next(false);
}

bool LineScanner::advance(std::uint64_t keep_from) {
  const std::uint64_t end = memory_end();
  window_ = reader_.next(
      keep_from < end ? static_cast<std::size_t>(std::min<std::uint64_t>(end - keep_from, SIZE_MAX))
                      : 0);
  if (window_.size > 0) return true;
  file_end_ = window_.offset;
  return false;
}

void LineScanner::settle() {
  if (!after_cr_ || line_ >= memory_end()) return;
  if (at(line_) == kLf) ++line_;
  after_cr_ = false;
}

void LineScanner::line_after(std::uint64_t cr) {
  line_ = cr + 1;
  after_cr_ = true;
  settle();
}

bool LineScanner::start() {
  if (started_) return !done_;
  started_ = true;
  window_ = reader_.next(2);  // where it begins inside the file, the two bytes before too
  if (window_.size == 0) {
    file_end_ = window_.offset;
    done_ = true;
    return false;
  }
  const std::uint64_t from = window_.offset;
  line_ = searched_ = from;
  if (from == 0) return true;
  // The first line that begins at `from` or after: after the first CR at from - 2 or later
  // whose line does, passing over the LF of a CR LF.
  std::uint64_t look = from - std::min<std::uint64_t>(from, 2);
  if (look < memory_begin()) {
    // Fewer than two bytes before are held (a room that small, or a file cut meanwhile): they
    // are read again to tell.
    std::string before;
    reader_.read_again(look, from, before);
    if (!before.empty() && before.back() == kCr) {
      line_after(from - 1);
      searched_ = line_;
      return true;
    }
    if (before == "\r\n") return true;
    look = from;
  }
  for (;;) {
    const std::uint64_t at_cr = first_cr(look);
    if (at_cr == kNone) {
      look = memory_end();
      if (!advance(look)) {
        done_ = true;
        return false;
      }
      continue;
    }
    if (at_cr + 1 >= from || at(from - 1) == kLf) {
      line_after(at_cr);
      break;
    }
    look = at_cr + 1;
  }
  searched_ = line_;
  return true;
}

std::optional<std::string_view> LineScanner::next(bool every_line) {
  const std::string empty;
  const std::string& bytes = term_ != nullptr ? term_->bytes() : empty;
  const bool lines = every_line || bytes.empty();
  if (!lines && bytes.find(kCr) != std::string::npos) return std::nullopt;
  if (!start()) return std::nullopt;
  while (!done_) {
    settle();
    if (line_ == memory_end() && (after_cr_ || lines)) {
      // Nothing of the line is held yet, or the LF that may follow its CR.
      if (!advance(line_)) break;
      continue;
    }
    if (line_ >= stop_) break;
    std::uint64_t hit = line_;
    if (!lines) {
      const std::string_view held(memory(), window_.before + window_.size);
      const std::uint64_t from = std::max({searched_, line_, memory_begin()});
      const std::size_t found = term_->find(held, static_cast<std::size_t>(from - memory_begin()));
      if (found == std::string_view::npos) {
        // Every whole line held is passed over; only the bytes new in this window can hold its
        // last CR. A hit may still begin in the last term-length bytes.
        const std::uint64_t cr = last_cr(std::max(line_, window_.offset), memory_end());
        if (cr != kNone) line_after(cr);
        searched_ =
            std::max(line_, memory_end() - std::min<std::uint64_t>(memory_end(), bytes.size() - 1));
        if (!advance(std::min(searched_, line_))) break;
        continue;
      }
      hit = memory_begin() + found;
      // The line that holds the hit begins after the last CR before it.
      const std::uint64_t cr = last_cr(std::max(line_, memory_begin()), hit);
      if (cr != kNone) {
        line_after(cr);
        if (hit < line_) {  // it began with the LF of a CR LF
          searched_ = line_;
          continue;
        }
        if (line_ >= stop_) break;
      }
    }
    if (!take_line(hit + bytes.size())) break;
    if (lines && !every_line && line_copy_.empty()) continue;
    // A line read again short is what the file holds now; on a code page with two-byte
    // characters, a hit may have begun on a second byte.
    if (!lines && (reread_ || term_->multibyte()) && !term_->held_by(line_copy_)) continue;
    return line_copy_;
  }
  done_ = true;
  return std::nullopt;
}

bool LineScanner::take_line(std::uint64_t from) {
  const std::uint64_t begin = line_;
  std::uint64_t end = 0;
  bool at_cr = true;
  for (;;) {
    end = first_cr(from);
    if (end != kNone) break;
    from = memory_end();
    if (!advance(begin)) {
      end = file_end_;
      at_cr = false;
      break;
    }
  }
  reread_ = false;
  if (begin >= memory_begin() && end <= memory_end()) {
    line_copy_.assign(place(begin), static_cast<std::size_t>(end - begin));
  } else {
    // Longer than what is held: read again from its start. A file cut shorter meanwhile gives
    // the line up to the cut, and ends there.
    reader_.read_again(begin, end, line_copy_);
    if (line_copy_.size() < end - begin) {
      if (line_copy_.empty()) return false;
      end = begin + line_copy_.size();
      file_end_ = end;
      at_cr = false;
      reread_ = true;
    }
  }
  line_ = at_cr ? end + 1 : end;
  after_cr_ = at_cr;
  searched_ = line_;
  if (!at_cr) done_ = true;
  return true;
}

}  // namespace tavo
