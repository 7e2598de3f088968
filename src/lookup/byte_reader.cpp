// A file's bytes in file order, a block at a time.
#include "lookup/byte_reader.h"

#include <algorithm>
#include <cstring>

namespace tavo {

namespace {

constexpr std::size_t kPage = 4096;

}  // namespace

ReadBuffer::ReadBuffer(const ReadSizes& sizes) : sizes_(sizes) {
  // The block begins on a page boundary, where the system copies fastest.
  const std::size_t room = (sizes_.room + kPage - 1) / kPage * kPage;
  memory_ = std::make_unique_for_overwrite<char[]>(room + sizes_.block + kPage);
  char* at = memory_.get() + room;
  room_end_ = at + (kPage - reinterpret_cast<std::uintptr_t>(at) % kPage) % kPage;
}

ByteReader::ByteReader(platform::InputFile& file, std::uint64_t from, std::uint64_t to,
                       ReadBuffer& buffer)
    : file_(file), buffer_(buffer), end_(to), next_(std::min(from, to)) {}

ByteReader::Window ByteReader::next(std::size_t keep) {
  const ReadSizes& sizes = buffer_.sizes();
  char* const block = buffer_.room_end();
  // The bytes to keep before the next block: moved from the last one, or, before the first,
  // read from before where the reading begins.
  std::size_t held = static_cast<std::size_t>(std::min<std::uint64_t>({keep, sizes.room, next_}));
  if (window_.data == block && window_.before + window_.size >= held) {
    std::memmove(block - held, window_.data + window_.size - held, held);
  } else if (held > 0) {
    std::string kept;
    read_again(next_ - held, next_, kept);
    if (kept.size() < held) held = 0;  // cut shorter meanwhile: nothing before is known
    kept.copy(block - held, held);
  }
  std::size_t got = 0;
  const std::size_t wanted =
      static_cast<std::size_t>(std::min<std::uint64_t>(sizes.block, end_ - std::min(next_, end_)));
  while (got < wanted) {
    const std::size_t more = file_.read_at(next_ + got, block + got, wanted - got);
    if (more == 0) {
      end_ = next_ + got;  // cut shorter since it was opened
      break;
    }
    got += more;
  }
  window_ = Window{block, got, next_, held};
  next_ += got;
  return window_;
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
