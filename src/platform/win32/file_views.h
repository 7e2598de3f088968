// Views of files mapped for reading, which outlive the file being cut shorter meanwhile.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/files.h"

namespace tavo::platform::win32 {

// The allocation granularity: the offsets given to map_view are multiples of it.
std::size_t allocation_granularity();

// [offset, offset + size) of `file` mapped for reading; nullptr where it cannot be mapped, and on
// every Windows before XP, which lacks the vectored exception handler that this needs, and on
// 95, 98 and ME, whose views would all share one small arena. Where the file is cut shorter
// while the view is read (a file on a network or removable drive that goes away, or one that a
// program truncates under Wine), the view reads as zeros from then on and its cut() says where,
// instead of the in-page error ending tavo.
std::unique_ptr<FileView> map_view(HANDLE file, std::uint64_t offset, std::size_t size);

}  // namespace tavo::platform::win32
