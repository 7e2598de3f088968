// Views of files mapped for reading, which outlive the file being cut shorter meanwhile.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/files.h"

namespace tavo::platform::posix {

// The page size: the offsets given to map_view are multiples of it.
std::size_t page_size();

// [offset, offset + size) of the file open as `descriptor`, mapped for reading; nullptr when it
// cannot be mapped. Where the file is cut shorter while the view is read, the bytes it no longer
// has read as zeros and the view's cut() says from where, instead of SIGBUS ending tavo.
std::unique_ptr<FileView> map_view(int descriptor, std::uint64_t offset, std::size_t size);

}  // namespace tavo::platform::posix
