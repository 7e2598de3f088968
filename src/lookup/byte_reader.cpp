// A file's bytes in file order, a window at a time.
#include "lookup/byte_reader.h"

#include <algorithm>
#include <cstring>

namespace tavo {

namespace {

constexpr std::size_t kPage = 4096;

std::uint64_t round_down(std::uint64_t value, std::size_t unit) {
  return value / unit * unit;
}

}  // namespace

ReadBuffer::ReadBuffer(const ReadSizes& sizes) : sizes_(sizes) {
  // The block begins on a page boundary, where the system copies fastest.
  const std::size_t room = (sizes_.room + kPage - 1) / kPage * kPage;
  memory_ = std::make_unique_for_overwrite<char[]>(room + sizes_.block + kPage);
  char* at = memory_.get() + room;
  room_end_ = at + (kPage - reinterpret_cast<std::uintptr_t>(at) % kPage) % kPage;
}

ByteReader::ByteReader(platform::InputFile& file, std::uint64_t from, ReadBuffer& buffer)
    : file_(file), buffer_(buffer), size_(file.size()), next_(std::min(from, file.size())) {
  mapped_ = size_ > buffer_.sizes().block;
}

ByteReader::Window ByteReader::next(std::size_t keep) {
  if (mapped_) {
    const Window window = next_view();
    if (mapped_) return window;  // else the system maps no more, and the rest is read
  }
  return next_block(keep);
}

ByteReader::Window ByteReader::next_view() {
  view_.reset();
  window_ = Window{nullptr, 0, next_, 0};
  if (next_ >= size_) return window_;
  const ReadSizes& sizes = buffer_.sizes();
  const std::size_t unit = file_.map_granularity();
  // Each view holds the room before its window, and ends on a multiple of the view size.
  const std::uint64_t first = round_down(next_ - std::min<std::uint64_t>(next_, sizes.room), unit);
  const std::size_t view = std::max(sizes.view / unit * unit, unit);
  const std::uint64_t end = std::min(round_down(next_, view) + view, size_);
  view_ = file_.map(first, static_cast<std::size_t>(end - first));
  if (view_ == nullptr) {
    mapped_ = false;
    return window_;
  }
  window_ = Window{view_->data() + (next_ - first), static_cast<std::size_t>(end - next_), next_,
                   static_cast<std::size_t>(next_ - first)};
  next_ = end;
  return window_;
}

ByteReader::Window ByteReader::next_block(std::size_t keep) {
  const ReadSizes& sizes = buffer_.sizes();
  char* const block = buffer_.room_end();
  // The bytes to keep before the block: moved from the last block, or read again after a view.
  std::size_t held =
      static_cast<std::size_t>(std::min<std::uint64_t>({keep, sizes.room, std::min(next_, size_)}));
  const bool from_block = window_.data == block && window_.offset + window_.size == next_ &&
                          window_.before + window_.size >= held;
  view_.reset();
  if (from_block) {
    std::memmove(block - held, window_.data + window_.size - held, held);
  } else if (held > 0) {
    std::string kept;
    read_again(next_ - held, next_, kept);
    if (kept.size() < held) held = 0;  // cut shorter meanwhile: nothing before is known
    kept.copy(block - held, held);
  }
  std::size_t got = 0;
  const std::size_t wanted = static_cast<std::size_t>(
      std::min<std::uint64_t>(sizes.block, size_ - std::min(next_, size_)));
  while (got < wanted) {
    const std::size_t more = file_.read_at(next_ + got, block + got, wanted - got);
    if (more == 0) {
      size_ = next_ + got;  // cut shorter since it was opened
      break;
    }
    got += more;
  }
  window_ = Window{block, got, next_, held};
  next_ += got;
  return window_;
}

std::uint64_t ByteReader::end(bool ask_system) {
  if (view_ != nullptr) {
    const std::optional<std::uint64_t> cut = view_->cut();
    if (cut) size_ = std::min(size_, *cut);
    if (cut || ask_system) size_ = std::min(size_, file_.size_now());
  }
  return size_;
}

void ByteReader::read_again(std::uint64_t from, std::uint64_t to, std::string& out) {
  out.resize(static_cast<std::size_t>(to - from));
  std::size_t got = 0;
  while (got < out.size()) {
    const std::size_t more = file_.read_at(from + got, out.data() + got, out.size() - got);
    if (more == 0) break;
    got += more;
  }
  out.resize(got);
}

}  // namespace tavo
