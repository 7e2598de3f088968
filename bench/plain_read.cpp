// plain_read INDEX: opens, reads whole and closes each file that INDEX names, one a line, as the
// least that a lookup over them costs under Wine; the benchmark's yardstick for tavo.exe.
#include <windows.h>

#include <string>

namespace {

// The whole of the file at `path` into `buffer`; false when it cannot be opened.
bool read_whole(const std::string& path, std::string& buffer) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  buffer.clear();
  char block[256 * 1024];
  DWORD got = 0;
  while (ReadFile(file, block, sizeof block, &got, nullptr) && got > 0) buffer.append(block, got);
  CloseHandle(file);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  std::string index;
  if (argc != 2 || !read_whole(argv[1], index)) return 2;
  std::string listing;
  std::size_t bytes = 0;
  for (std::size_t at = 0; at < index.size();) {
    std::size_t end = index.find('\r', at);
    if (end == std::string::npos) end = index.size();
    if (end > at && !read_whole(index.substr(at, end - at), listing)) return 1;
    bytes += listing.size();
    at = end + 2;
  }
  return bytes > 0 ? 0 : 1;
}
